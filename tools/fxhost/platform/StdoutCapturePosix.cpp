#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "tools/fxhost/StdoutCapture.h"

namespace fxhost {

struct StdoutCapture::Impl {
  int savedDescriptor = -1;
  std::FILE* file = nullptr;
};

StdoutCapture::StdoutCapture() : impl(new Impl) {
  std::cout.flush();
  std::fflush(stdout);
  impl->file = std::tmpfile();
  if (impl->file == nullptr) return;
  impl->savedDescriptor = dup(STDOUT_FILENO);
  if (impl->savedDescriptor < 0 || dup2(fileno(impl->file), STDOUT_FILENO) < 0) {
    if (impl->savedDescriptor >= 0) close(impl->savedDescriptor);
    impl->savedDescriptor = -1;
  }
}

StdoutCapture::~StdoutCapture() {
  Finish();
  if (impl->file != nullptr) std::fclose(impl->file);
  delete impl;
}

std::string StdoutCapture::Finish() {
  if (impl->savedDescriptor < 0) return {};
  std::cout.flush();
  std::fflush(stdout);
  dup2(impl->savedDescriptor, STDOUT_FILENO);
  close(impl->savedDescriptor);
  impl->savedDescriptor = -1;
  std::string text;
  std::rewind(impl->file);
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, impl->file)) > 0) text.append(buffer, got);
  return text;
}

}  // namespace fxhost

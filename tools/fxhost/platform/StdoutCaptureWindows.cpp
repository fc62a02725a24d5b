#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>

#include "tools/fxhost/StdoutCapture.h"

namespace fxhost {
namespace {

// A scratch file in the user's temporary folder, removed when closed ("D").
// The C runtime's own tmpfile() writes to the drive's root, which ordinary
// users may not write to.
std::FILE* OpenScratchFile() {
  char folder[MAX_PATH + 1];
  char name[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length > MAX_PATH || GetTempFileNameA(folder, "fxh", 0, name) == 0) return nullptr;
  return std::fopen(name, "w+bD");
}

}  // namespace

// The module shares the C runtime (msvcrt.dll) and so its descriptor table
// with fxhost: moving descriptor 1 moves the module's standard output too.
struct StdoutCapture::Impl {
  int savedDescriptor = -1;
  std::FILE* file = nullptr;
};

StdoutCapture::StdoutCapture() : impl(new Impl) {
  std::cout.flush();
  std::fflush(stdout);
  impl->file = OpenScratchFile();
  if (impl->file == nullptr) return;
  const int standardOutput = _fileno(stdout);
  impl->savedDescriptor = standardOutput >= 0 ? _dup(standardOutput) : -1;
  if (impl->savedDescriptor < 0 || _dup2(_fileno(impl->file), standardOutput) < 0) {
    if (impl->savedDescriptor >= 0) _close(impl->savedDescriptor);
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
  _dup2(impl->savedDescriptor, _fileno(stdout));
  _close(impl->savedDescriptor);
  impl->savedDescriptor = -1;
  std::string text;
  std::rewind(impl->file);
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, impl->file)) > 0) text.append(buffer, got);
  return text;
}

}  // namespace fxhost

#include "host/LogChannels.h"

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

#include "host/Exports.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

// The whole state of the host log: no buffer, no history.
HostLogCallback hostLogCallback = nullptr;

void WriteDebuggerOutput(const char* text) {
#if defined(_WIN32)
  OutputDebugStringA(text);
#else
  // No debugger channel on this platform: standard error is where a host's
  // console or a developer's terminal shows it, apart from standard output.
  std::fputs(text, stderr);
#endif
}

}  // namespace

extern "C" QVX_EXPORT void SetLogCallback(HostLogCallback callback) { hostLogCallback = callback; }

namespace qvx {

void SendHostLog(const char* text) {
  if (hostLogCallback == nullptr || text == nullptr) return;
  hostLogCallback(text);
}

void LogShaderError(std::initializer_list<const char*> texts) {
  std::ostringstream stream;
  for (const char* text : texts) stream << text;
  const std::string line = stream.str();

  WriteDebuggerOutput(line.c_str());
  WriteDebuggerOutput("\n");

  std::cout.write(line.data(), static_cast<std::streamsize>(line.size()));
  std::cout << std::endl;  // end of line and flush
  std::cout.clear();       // a closed or failing stdout loses the line silently
}

}  // namespace qvx

#include <windows.h>

#include <string>

#include "tools/fxhost/ChildProcess.h"
#include "tools/fxhost/platform/WindowsCommandLine.h"
#include "tools/fxhost/Error.h"

namespace fxhost {
namespace {

std::string ErrorText(DWORD code) { return "Windows error " + std::to_string(code); }

}  // namespace

struct ChildProcess::Impl {
  HANDLE process = nullptr;
  HANDLE input = nullptr;   // our end of the child's standard input
  HANDLE output = nullptr;  // our reading handle on the file the child prints into
  bool reaped = false;
  DWORD exitCode = 1;

  void CloseAll() {
    for (HANDLE* handle : {&process, &input, &output}) {
      if (*handle != nullptr) CloseHandle(*handle);
      *handle = nullptr;
    }
  }
};

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) : impl(new Impl) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE childInput = nullptr;
  // Only the child's end is inherited: were ours, the child would never see
  // its input end.
  if (!CreatePipe(&childInput, &impl->input, &inheritable, 0) ||
      !SetHandleInformation(impl->input, HANDLE_FLAG_INHERIT, 0)) {
    const DWORD code = GetLastError();
    if (childInput != nullptr) CloseHandle(childInput);
    impl->CloseAll();
    delete impl;
    throw Error("cannot make a pipe: " + ErrorText(code));
  }

  // The child's output: a temporary file that goes away with its last handle.
  char folder[MAX_PATH + 1];
  char name[MAX_PATH + 1];
  HANDLE childOutput = INVALID_HANDLE_VALUE;
  const DWORD folderLength = GetTempPathA(sizeof folder, folder);
  if (folderLength > 0 && folderLength <= MAX_PATH && GetTempFileNameA(folder, "fxc", 0, name) != 0) {
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    childOutput = CreateFileA(name, GENERIC_WRITE, share, &inheritable, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (childOutput != INVALID_HANDLE_VALUE) {
      impl->output = CreateFileA(name, GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
      if (impl->output == INVALID_HANDLE_VALUE) impl->output = nullptr;
    }
  }

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = childInput;
  const bool haveOutput = childOutput != INVALID_HANDLE_VALUE;
  startup.hStdOutput = haveOutput ? childOutput : GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = haveOutput ? childOutput : GetStdHandle(STD_ERROR_HANDLE);

  std::string commandLine = QuoteArgument(program);
  for (const std::string& argument : arguments) commandLine += " " + QuoteArgument(argument);
  PROCESS_INFORMATION started{};
  const BOOL created = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                     CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started);
  const DWORD code = GetLastError();
  CloseHandle(childInput);
  if (haveOutput) CloseHandle(childOutput);
  if (!created) {
    impl->CloseAll();
    delete impl;
    throw Error("cannot start '" + program + "': " + ErrorText(code));
  }
  CloseHandle(started.hThread);
  impl->process = started.hProcess;
}

ChildProcess::~ChildProcess() {
  if (!impl->reaped) Kill();
  impl->CloseAll();
  delete impl;
}

bool ChildProcess::Write(const void* data, size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    if (impl->input == nullptr) return false;
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    // Fails with ERROR_NO_DATA or ERROR_BROKEN_PIPE once the child is gone.
    if (!WriteFile(impl->input, bytes, chunk, &written, nullptr)) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

bool ChildProcess::Finish() {
  if (impl->input != nullptr) {
    CloseHandle(impl->input);
    impl->input = nullptr;
  }
  if (!impl->reaped) {
    WaitForSingleObject(impl->process, INFINITE);
    if (!GetExitCodeProcess(impl->process, &impl->exitCode)) impl->exitCode = 1;
    impl->reaped = true;
  }
  return impl->exitCode == 0;
}

void ChildProcess::Kill() {
  if (impl->reaped) return;
  TerminateProcess(impl->process, 1);
  // The input stays open: a thread may still be writing into it, and now
  // fails. The destructor closes it.
  WaitForSingleObject(impl->process, INFINITE);
  impl->exitCode = 1;
  impl->reaped = true;
}

std::string ChildProcess::LastOutputLine() const {
  if (impl->output == nullptr) return {};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(impl->output, &size) || size.QuadPart <= 0) return {};
  const LONGLONG start = size.QuadPart > 4096 ? size.QuadPart - 4096 : 0;
  std::string text(static_cast<size_t>(size.QuadPart - start), '\0');
  LARGE_INTEGER position{};
  position.QuadPart = start;
  DWORD got = 0;
  // Our own handle, with its own file position: the child's is untouched.
  if (!SetFilePointerEx(impl->output, position, nullptr, FILE_BEGIN) ||
      !ReadFile(impl->output, text.data(), static_cast<DWORD>(text.size()), &got, nullptr)) {
    return {};
  }
  text.resize(got);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  const size_t lineStart = text.find_last_of('\n');
  return lineStart == std::string::npos ? text : text.substr(lineStart + 1);
}

}  // namespace fxhost

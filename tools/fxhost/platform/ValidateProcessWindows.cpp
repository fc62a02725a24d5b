#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/fxhost/ValidateProcess.h"
#include "tools/fxhost/platform/WindowsCommandLine.h"

namespace fxhost {
namespace {

// Exit codes from 0xC0000000 up are the system's exception codes: a crash.
std::string DescribeException(DWORD code) {
  const char* name = "unhandled exception";
  switch (code) {
    case 0xC0000005: name = "access violation"; break;
    case 0xC00000FD: name = "stack overflow"; break;
    case 0xC0000094: name = "integer division by zero"; break;
    case 0xC000001D: name = "illegal instruction"; break;
    case 0xC0000409: name = "stack buffer overrun"; break;
    case 0x80000003: name = "breakpoint"; break;
    default: break;
  }
  char text[64];
  std::snprintf(text, sizeof text, "exception 0x%08lX, %s", static_cast<unsigned long>(code), name);
  return text;
}

std::string ReadTail(HANDLE file) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0) return {};
  const LONGLONG start = size.QuadPart > 4096 ? size.QuadPart - 4096 : 0;
  std::string text(static_cast<size_t>(size.QuadPart - start), '\0');
  LARGE_INTEGER position{};
  position.QuadPart = start;
  DWORD got = 0;
  if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN) ||
      !ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr)) {
    return {};
  }
  text.resize(got);
  return text;
}

}  // namespace

ChildOutcome RunChildWithTimeLimit(const std::string& program, const std::vector<std::string>& arguments,
                                   double timeLimitSeconds) {
  ChildOutcome outcome;
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  char folder[MAX_PATH + 1];
  char name[MAX_PATH + 1];
  const DWORD folderLength = GetTempPathA(sizeof folder, folder);
  if (folderLength == 0 || folderLength > MAX_PATH || GetTempFileNameA(folder, "fxv", 0, name) == 0) {
    outcome.problem = "cannot make a temporary file";
    return outcome;
  }
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE childOutput = CreateFileA(name, GENERIC_WRITE, share, &inheritable, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (childOutput == INVALID_HANDLE_VALUE) {
    outcome.problem = "cannot make a temporary file";
    return outcome;
  }
  HANDLE ourOutput = CreateFileA(name, GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = childOutput;
  startup.hStdError = childOutput;
  std::string commandLine = QuoteArgument(program);
  for (const std::string& argument : arguments) commandLine += " " + QuoteArgument(argument);
  PROCESS_INFORMATION started{};
  // No error dialog when the module crashes the child: the parent reports it.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  const BOOL created = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                     nullptr, nullptr, &startup, &started);
  SetErrorMode(previousMode);
  CloseHandle(childOutput);
  if (!created) {
    outcome.problem = "cannot start '" + program + "': Windows error " + std::to_string(GetLastError());
    if (ourOutput != INVALID_HANDLE_VALUE) CloseHandle(ourOutput);
    return outcome;
  }
  CloseHandle(started.hThread);

  const DWORD waited = WaitForSingleObject(started.hProcess, static_cast<DWORD>(timeLimitSeconds * 1000.0));
  if (waited != WAIT_OBJECT_0) {
    TerminateProcess(started.hProcess, 1);
    WaitForSingleObject(started.hProcess, INFINITE);
    outcome.ending = ChildOutcome::Ending::kTimedOut;
  } else {
    DWORD code = 1;
    GetExitCodeProcess(started.hProcess, &code);
    if (code >= 0xC0000000 || code == 0x80000003) {
      outcome.ending = ChildOutcome::Ending::kCrashed;
      outcome.crash = DescribeException(code);
    } else {
      outcome.ending = ChildOutcome::Ending::kExited;
      outcome.exitCode = static_cast<int>(code);
    }
  }
  CloseHandle(started.hProcess);
  if (ourOutput != INVALID_HANDLE_VALUE) {
    outcome.output = ReadTail(ourOutput);
    CloseHandle(ourOutput);
  }
  return outcome;
}

void PrepareGroupChild() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  // Ends the process with the exception's code before the system offers it
  // to a debugger; the parent reads the code as the crash.
  SetUnhandledExceptionFilter([](EXCEPTION_POINTERS* exception) -> LONG {
    TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
  });
}

}  // namespace fxhost

#include <windows.h>

#include <string>

#include "tools/fxhost/DynamicLibrary.h"

namespace fxhost {
namespace {

class WindowsLibrary : public DynamicLibrary {
 public:
  explicit WindowsLibrary(HMODULE libraryHandle) : handle(libraryHandle) {}
  ~WindowsLibrary() override { FreeLibrary(handle); }
  void* Symbol(const char* name) const override { return reinterpret_cast<void*>(GetProcAddress(handle, name)); }

 private:
  HMODULE handle;
};

// The system's own text for a Win32 error code, without its line end.
std::string SystemMessage(DWORD code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length > 0 ? std::string(text, length) : "unknown loader error";
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  return message + " (error " + std::to_string(code) + ")";
}

}  // namespace

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::string& path, std::string* error) {
  // A name without a folder would be searched for in the system folders and
  // on PATH; the user means the file in the current folder.
  const bool hasFolder = path.find_first_of("/\\") != std::string::npos;
  const std::string loadPath = hasFolder ? path : ".\\" + path;
  // Errors are answered here, not shown by the system in a message box.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // Altered search path: DLLs the module needs are looked for beside it.
  HMODULE handle = LoadLibraryExA(loadPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  const DWORD code = GetLastError();
  SetErrorMode(previousMode);
  if (handle == nullptr) {
    *error = SystemMessage(code);
    return nullptr;
  }
  return std::make_unique<WindowsLibrary>(handle);
}

}  // namespace fxhost

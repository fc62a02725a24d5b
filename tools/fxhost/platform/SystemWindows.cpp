#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "tools/fxhost/System.h"

namespace fxhost {

std::string ExecutablePath() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);  // truncated: ask again with more room
  }
}

bool StandardErrorIsTerminal() {
  // A console answers GetConsoleMode; a pipe, a file or NUL does not.
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

int TerminalColumns() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info)) {
    const int columns = info.srWindow.Right - info.srWindow.Left + 1;
    if (columns > 0) return columns;
  }
  return 80;
}

namespace {

bool IsFile(const std::filesystem::path& candidate) {
  std::error_code error;
  return std::filesystem::is_regular_file(candidate, error);
}

// The candidate itself, or with one of the executable extensions (PATHEXT)
// when it has none: "ffmpeg" names ffmpeg.exe.
std::string ExistingProgram(const std::filesystem::path& candidate) {
  if (candidate.has_extension() && IsFile(candidate)) return candidate.string();
  const char* extensions = std::getenv("PATHEXT");
  std::stringstream list(extensions != nullptr ? extensions : ".COM;.EXE;.BAT;.CMD");
  std::string extension;
  while (std::getline(list, extension, ';')) {
    if (extension.empty()) continue;
    std::filesystem::path withExtension = candidate;
    withExtension += extension;
    if (IsFile(withExtension)) return withExtension.string();
  }
  return {};
}

}  // namespace

std::string FindProgram(const std::string& program) {
  if (program.empty()) return {};
  if (program.find_first_of("/\\:") != std::string::npos) return ExistingProgram(program);
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  std::stringstream folders(path);
  std::string folder;
  while (std::getline(folders, folder, ';')) {
    if (folder.empty()) continue;
    const std::string found = ExistingProgram(std::filesystem::path(folder) / program);
    if (!found.empty()) return found;
  }
  return {};
}

// Windows raises no signal for a pipe whose reader died: the write itself
// fails, which is the answer fxhost wants.
void IgnoreBrokenPipes() {}

}  // namespace fxhost

#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tools/fxhost/System.h"

namespace fxhost {

std::string ExecutablePath() {
  std::error_code error;
  const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

int TerminalColumns() {
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

std::string FindProgram(const std::string& program) {
  if (program.empty()) return {};
  if (program.find('/') != std::string::npos) {
    return access(program.c_str(), X_OK) == 0 && std::filesystem::is_regular_file(program) ? program : std::string();
  }
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  std::stringstream folders(path);
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (folder.empty()) folder = ".";
    const std::string candidate = folder + "/" + program;
    std::error_code error;
    if (access(candidate.c_str(), X_OK) == 0 && std::filesystem::is_regular_file(candidate, error)) return candidate;
  }
  return {};
}

void IgnoreBrokenPipes() { signal(SIGPIPE, SIG_IGN); }

}  // namespace fxhost

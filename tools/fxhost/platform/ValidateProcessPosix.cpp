#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "tools/fxhost/ValidateProcess.h"

extern char** environ;

namespace fxhost {
namespace {

constexpr off_t kOutputTail = 4096;

std::string ReadTail(int file) {
  const off_t size = lseek(file, 0, SEEK_END);
  if (size <= 0) return {};
  const off_t start = size > kOutputTail ? size - kOutputTail : 0;
  std::string text(static_cast<size_t>(size - start), '\0');
  const ssize_t got = pread(file, text.data(), text.size(), start);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

}  // namespace

ChildOutcome RunChildWithTimeLimit(const std::string& program, const std::vector<std::string>& arguments,
                                   double timeLimitSeconds) {
  ChildOutcome outcome;
  char outputName[] = "/tmp/fxhost-validate-XXXXXX";
  const int output = mkostemp(outputName, O_CLOEXEC);
  if (output < 0) {
    outcome.problem = std::string("cannot make a temporary file: ") + std::strerror(errno);
    return outcome;
  }
  unlink(outputName);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output, STDERR_FILENO);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = -1;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    close(output);
    outcome.problem = "cannot start '" + program + "': " + std::strerror(spawned);
    return outcome;
  }

  // Polled, not waited on with a signal: fxhost has no other children to mix up.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeLimitSeconds);
  int status = 0;
  for (;;) {
    const pid_t ended = waitpid(child, &status, WNOHANG);
    if (ended == child) break;
    if (ended < 0 && errno != EINTR) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(child, SIGKILL);
      while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
      }
      outcome.ending = ChildOutcome::Ending::kTimedOut;
      break;
    }
    const timespec pause{0, 5 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }

  if (outcome.ending != ChildOutcome::Ending::kTimedOut) {
    if (WIFSIGNALED(status)) {
      const int signal = WTERMSIG(status);
      outcome.ending = ChildOutcome::Ending::kCrashed;
      outcome.crash = "signal " + std::to_string(signal) + ", " + strsignal(signal);
    } else {
      outcome.ending = ChildOutcome::Ending::kExited;
      outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    }
  }
  outcome.output = ReadTail(output);
  close(output);
  return outcome;
}

void PrepareGroupChild() {
  const rlimit noCoreFiles{0, 0};
  setrlimit(RLIMIT_CORE, &noCoreFiles);
}

}  // namespace fxhost

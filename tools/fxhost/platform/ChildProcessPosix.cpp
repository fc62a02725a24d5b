#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/fxhost/ChildProcess.h"
#include "tools/fxhost/Error.h"

extern char** environ;

namespace fxhost {

struct ChildProcess::Impl {
  pid_t pid = -1;
  int input = -1;   // our end of the child's standard input
  int output = -1;  // the (unlinked) file the child prints into
  bool reaped = false;
  int status = 0;
};

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) : impl(new Impl) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
    delete impl;
    throw Error(std::string("cannot make a pipe: ") + std::strerror(errno));
  }
  char outputName[] = "/tmp/fxhost-child-XXXXXX";
  impl->output = mkostemp(outputName, O_CLOEXEC);
  if (impl->output >= 0) unlink(outputName);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
  if (impl->output >= 0) {
    posix_spawn_file_actions_adddup2(&actions, impl->output, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, impl->output, STDERR_FILENO);
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const int spawned = posix_spawn(&impl->pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[0]);
  if (spawned != 0) {
    close(pipeEnds[1]);
    if (impl->output >= 0) close(impl->output);
    delete impl;
    throw Error("cannot start '" + program + "': " + std::strerror(spawned));
  }
  impl->input = pipeEnds[1];
}

ChildProcess::~ChildProcess() {
  if (!impl->reaped) Kill();
  if (impl->input >= 0) close(impl->input);
  if (impl->output >= 0) close(impl->output);
  delete impl;
}

bool ChildProcess::Write(const void* data, size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    if (impl->input < 0) return false;
    const ssize_t written = write(impl->input, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;  // EPIPE: the child is gone (SIGPIPE is ignored, see IgnoreBrokenPipes)
    }
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool ChildProcess::Finish() {
  if (impl->input >= 0) {
    close(impl->input);
    impl->input = -1;
  }
  if (!impl->reaped) {
    while (waitpid(impl->pid, &impl->status, 0) < 0 && errno == EINTR) {
    }
    impl->reaped = true;
  }
  return WIFEXITED(impl->status) && WEXITSTATUS(impl->status) == 0;
}

void ChildProcess::Kill() {
  if (impl->reaped) return;
  kill(impl->pid, SIGKILL);
  // The input stays open: a thread may still be writing into it, and now
  // gets EPIPE. The destructor closes it.
  while (waitpid(impl->pid, &impl->status, 0) < 0 && errno == EINTR) {
  }
  impl->reaped = true;
}

std::string ChildProcess::LastOutputLine() const {
  if (impl->output < 0) return {};
  const off_t size = lseek(impl->output, 0, SEEK_END);
  if (size <= 0) return {};
  const off_t start = size > 4096 ? size - 4096 : 0;
  std::string text(static_cast<size_t>(size - start), '\0');
  const ssize_t got = pread(impl->output, text.data(), text.size(), start);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  const size_t lineStart = text.find_last_of('\n');
  return lineStart == std::string::npos ? text : text.substr(lineStart + 1);
}

}  // namespace fxhost

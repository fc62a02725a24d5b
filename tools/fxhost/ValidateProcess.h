// Runs one validation group in a child process of its own, so that a module
// that crashes or hangs ends the child, not fxhost validate. Implemented per
// platform (platform/ValidateProcess<Platform>.cpp).
#pragma once

#include <string>
#include <vector>

namespace fxhost {

struct ChildOutcome {
  enum class Ending { kExited, kCrashed, kTimedOut, kNotStarted };
  Ending ending = Ending::kNotStarted;
  int exitCode = 0;     // kExited
  std::string crash;    // kCrashed: "signal 11, Segmentation fault" or "exception 0xC0000005, access violation"
  std::string problem;  // kNotStarted: why
  std::string output;   // the end of what the child printed (at most 4 KiB)
};

// Starts the program with the arguments, its output going to a temporary
// file, and waits at most timeLimitSeconds; a child still running then is
// killed.
ChildOutcome RunChildWithTimeLimit(const std::string& program, const std::vector<std::string>& arguments,
                                   double timeLimitSeconds);

// Called first in the child: a crash must end it at once with a status the
// parent can read, not wait for a debugger (Windows, Wine) or write a core
// file (POSIX).
void PrepareGroupChild();

}  // namespace fxhost

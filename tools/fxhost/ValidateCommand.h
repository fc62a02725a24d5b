// fxhost validate: a conformance and stress run of any module of this
// interface, through plugMain alone. Each group of checks (ValidateGroups.h)
// runs in a child process of fxhost's own with a time limit, so a module that
// crashes or hangs is reported as a failed check, not a crashed validator.
// Every check prints one line, PASS or FAIL; a summary closes the run, and
// the exit status is 1 when any check failed.
#pragma once

#include <cstdint>
#include <string>

namespace CLI {
class App;
}

namespace fxhost {

struct ValidateOptions {
  std::string module;   // empty: the default module
  int strictness = 5;   // 1..10
  uint64_t seed = 1;
  std::string gl;       // context kind; empty: the default
  double timeLimit = 0; // seconds per group; 0: 60 + 12 per strictness level
  // Set by fxhost for the child that runs one group.
  std::string group;
  std::string report;
};

void RegisterValidateOptions(CLI::App& command, ValidateOptions& options);
// The exit status: 0 when every check passed, 1 otherwise.
int RunValidate(const ValidateOptions& options);

}  // namespace fxhost

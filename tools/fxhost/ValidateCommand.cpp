#include "tools/fxhost/ValidateCommand.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include "tools/fxhost/Error.h"
#include "tools/fxhost/GLContext.h"
#include "tools/fxhost/ModuleLocator.h"
#include "tools/fxhost/System.h"
#include "tools/fxhost/ValidateGroups.h"
#include "tools/fxhost/ValidateHost.h"
#include "tools/fxhost/ValidateProcess.h"
#include "tools/fxhost/ValidateReport.h"

namespace fxhost {
namespace {

const ValidateGroup* FindGroup(const std::string& name) {
  for (const ValidateGroup& group : ValidateGroups())
    if (name == group.name) return &group;
  return nullptr;
}

// The child's side: run one group, every outcome into the report file.
int RunGroup(const ValidateOptions& options) {
  const ValidateGroup* group = FindGroup(options.group);
  if (group == nullptr) throw Error("unknown validation group '" + options.group + "'");
  PrepareGroupChild();
  ValidateReport report(options.report);
  ValidateSettings settings{options.module, options.strictness, options.seed, options.gl};
  const std::string setUp = std::string("set-up: the module loads, exports plugMain and initialises (code 34)") +
                            (group->needsGL ? "; a GL 4.1 context is made" : "");
  report.Begin(setUp);
  try {
    ValidateHost host(settings, group->name, report, group->needsGL);
    if (group == &ValidateGroups().front()) report.Pass(setUp);  // said once, not by every group
    group->run(host);
  } catch (const Error& error) {
    report.Fail(setUp, error.what());
  }
  return 0;
}

std::string LastLine(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  const size_t start = text.find_last_of('\n');
  return start == std::string::npos ? text : text.substr(start + 1);
}

// A sanitizer's report in the child's output ("==12==ERROR: AddressSanitizer:
// SEGV on unknown address ..." or "...: runtime error: ..."), shortened; empty
// when there is none. A sanitizer build ends the child with a status instead
// of a signal.
std::string SanitizerReport(const std::string& output) {
  for (const char* marker : {"ERROR: ", "runtime error: "}) {
    const size_t found = output.find(marker);
    if (found == std::string::npos) continue;
    const size_t start = marker[0] == 'E' ? found + std::strlen(marker) : output.rfind('\n', found) + 1;
    std::string line = output.substr(start, output.find('\n', start) - start);
    if (line.size() > 160) line = line.substr(0, 160) + "...";
    return line;
  }
  return {};
}

// What went wrong with a child that did not finish its group, in one line.
std::string Ending(const ChildOutcome& outcome, double timeLimit) {
  switch (outcome.ending) {
    case ChildOutcome::Ending::kCrashed:
      return "the module crashed (" + outcome.crash + ")";
    case ChildOutcome::Ending::kTimedOut:
      return "no answer within the time limit of " + std::to_string(static_cast<int>(timeLimit)) +
             " s; the group was stopped";
    case ChildOutcome::Ending::kExited: {
      const std::string report = SanitizerReport(outcome.output);
      if (!report.empty()) {
        const bool crash = report.find("SEGV") != std::string::npos || report.find("null pointer") != std::string::npos;
        return (crash ? "the module crashed (" : "a sanitizer stopped the group (") + report + ")";
      }
      const std::string last = LastLine(outcome.output);
      return "the group's process ended with status " + std::to_string(outcome.exitCode) +
             (last.empty() ? "" : " (" + last + ")");
    }
    case ChildOutcome::Ending::kNotStarted:
      break;
  }
  return "the group could not be run: " + outcome.problem;
}

struct Tally {
  int passed = 0;
  int failed = 0;

  void Print(bool passedCheck, const std::string& group, const std::string& check, const std::string& why) {
    (passedCheck ? passed : failed)++;
    std::printf("%s  %s: %s%s\n", passedCheck ? "PASS" : "FAIL", group.c_str(), check.c_str(),
                why.empty() ? "" : (": " + why).c_str());
    std::fflush(stdout);
  }
};

std::string ReportPath(const std::string& group) {
  std::random_device entropy;
  return (std::filesystem::temp_directory_path() /
          ("fxhost-validate-" + group + "-" + std::to_string(entropy()) + ".txt"))
      .string();
}

}  // namespace

void RegisterValidateOptions(CLI::App& command, ValidateOptions& options) {
  command.add_option("module", options.module,
                     "The module to validate (default: the Quorvalentix module built or installed with fxhost)");
  command.add_option("--strictness", options.strictness,
                     "1 to 10: how often lifecycles, parameter rounds and bad inputs are repeated (default 5)")
      ->check(CLI::Range(1, 10));
  command.add_option("--seed", options.seed, "Seed of the random values and codes, to repeat a run (default 1)");
  command.add_option("--gl", options.gl, "How to make the OpenGL 4.1 core context: egl (default), egl-device, "
                                         "egl-surfaceless, or glx")
      ->check(CLI::IsMember(ContextKinds()));
  command.add_option("--time-limit", options.timeLimit,
                     "Seconds each group may take before it counts as hung (default 60 + 12 per strictness level)")
      ->check(CLI::PositiveNumber);
  // The child's options, set by fxhost itself.
  command.add_option("--group", options.group)->group("");
  command.add_option("--report", options.report)->group("");
}

int RunValidate(const ValidateOptions& options) {
  if (!options.group.empty()) return RunGroup(options);

  const std::string module = ResolveModulePath(options.module);
  const std::string self = ExecutablePath();
  if (self.empty()) throw Error("cannot find fxhost's own executable to run the validation groups");
  const double timeLimit = options.timeLimit > 0 ? options.timeLimit : 60.0 + 12.0 * options.strictness;
  std::printf("validate: %s at strictness %d, seed %llu\n", module.c_str(), options.strictness,
              static_cast<unsigned long long>(options.seed));
  std::fflush(stdout);

  Tally tally;
  const auto start = std::chrono::steady_clock::now();
  for (const ValidateGroup& group : ValidateGroups()) {
    const std::string report = ReportPath(group.name);
    std::vector<std::string> arguments = {"validate", module, "--strictness", std::to_string(options.strictness),
                                          "--seed", std::to_string(options.seed), "--group", group.name,
                                          "--report", report};
    if (!options.gl.empty()) arguments.insert(arguments.end(), {"--gl", options.gl});
    const ChildOutcome outcome = RunChildWithTimeLimit(self, arguments, timeLimit);
    const GroupResult result = ReadGroupReport(report);
    std::error_code ignored;
    std::filesystem::remove(report, ignored);

    for (const GroupResult::Outcome& check : result.outcomes) tally.Print(check.passed, group.name, check.check, check.why);
    const bool finished = outcome.ending == ChildOutcome::Ending::kExited && outcome.exitCode == 0;
    if (!finished) {
      const std::string where = !result.unfinishedCheck.empty() ? result.unfinishedCheck
                                : result.outcomes.empty()          ? "the group"
                                                                   : "after its last check (ending, the module unloaded)";
      tally.Print(false, group.name, where,
                  Ending(outcome, timeLimit) + (result.lastStep.empty() ? "" : " during " + result.lastStep));
    } else if (result.outcomes.empty()) {
      tally.Print(false, group.name, "the group", "it reported no check");
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("validate: %d checks, %d passed, %d failed (%.1f s)\n", tally.passed + tally.failed, tally.passed,
              tally.failed, seconds);
  return tally.failed == 0 ? 0 : 1;
}

}  // namespace fxhost

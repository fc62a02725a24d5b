// fxhost validate run as a user runs it: on the module this build made, on a
// correct module written without the framework, and on modules with one
// fault each, which must fail with a line that names the fault, while the
// validator itself finishes and says so.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct ValidateRun {
  int exitCode = -1;
  std::string output;
};

std::string Quote(const std::string& argument) {
  std::string quoted = "'";
  for (char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

ValidateRun Validate(const std::string& module, const std::vector<std::string>& options) {
  std::string command = Quote(QVX_FXHOST_PATH) + " validate " + Quote(module);
  for (const std::string& option : options) command += " " + Quote(option);
  ValidateRun run;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return run;
  char chunk[4096];
  size_t got = 0;
  while ((got = fread(chunk, 1, sizeof chunk, pipe)) > 0) run.output.append(chunk, got);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string TestModule(const std::string& variant) {
  return std::string(QVX_VALIDATE_MODULE_DIR) + "/validate_module_" + variant + ".so";
}

std::vector<std::string> FailLines(const std::string& output) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < output.size()) {
    const size_t end = output.find('\n', start);
    const std::string line = output.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (line.rfind("FAIL  ", 0) == 0) lines.push_back(line);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

// True when one line holds every piece, in order, the first at its start.
bool AnyLineHas(const std::vector<std::string>& lines, const std::vector<std::string>& pieces) {
  for (const std::string& line : lines) {
    size_t at = 0;
    bool found = line.rfind(pieces.front(), 0) == 0;
    for (const std::string& piece : pieces) {
      if (!found) break;
      at = line.find(piece, at);
      found = at != std::string::npos;
      if (found) at += piece.size();
    }
    if (found) return true;
  }
  return false;
}

TEST(Validate, QuorvalentixPassesAtStrictnessFive) {
  const ValidateRun run = Validate(QVX_MODULE_PATH, {"--strictness", "5"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(FailLines(run.output).empty()) << run.output;
  EXPECT_NE(run.output.find(" 0 failed"), std::string::npos) << run.output;
  // Every group reported checks of its own.
  for (const char* group : {"records", "lifecycle", "parameters", "bad-input", "gl-hygiene"})
    EXPECT_NE(run.output.find(std::string("PASS  ") + group + ": "), std::string::npos) << group << "\n" << run.output;
}

TEST(Validate, ACorrectModuleWithoutTheFrameworkPasses) {
  const ValidateRun run = Validate(TestModule("correct"), {"--strictness", "5", "--seed", "7"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(FailLines(run.output).empty()) << run.output;
}

struct Fault {
  const char* variant;
  const char* timeLimit;            // seconds per group: short where the module hangs every group
  std::vector<std::string> pieces;  // one FAIL line must hold these, in order
};

void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.variant; }

class ValidateFault : public ::testing::TestWithParam<Fault> {};

TEST_P(ValidateFault, FailsWithALineNamingTheFault) {
  const ValidateRun run = Validate(TestModule(GetParam().variant), {"--strictness", "1", "--time-limit", GetParam().timeLimit});
  EXPECT_EQ(run.exitCode, 1) << run.output;
  const std::vector<std::string> failures = FailLines(run.output);
  EXPECT_TRUE(AnyLineHas(failures, GetParam().pieces)) << run.output;
  // The validator finished every group and summed up.
  EXPECT_NE(run.output.find("validate: "), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find(" 0 failed"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("PASS  gl-hygiene: "), std::string::npos) << "later groups still ran\n" << run.output;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ValidateFault,
    ::testing::Values(
        Fault{"program_left_bound", "120",
              {"FAIL  lifecycle: create, render and destroy", ": code 17 in cycle 1: program ", " left in use"}},
        Fault{"crash_on_null_record", "120",
              {"FAIL  bad-input: null records are refused", ": the module crashed (",
               ") during code 41 with a null record"}},
        Fault{"hangs_in_frame", "4",
              {"FAIL  lifecycle: create, render and destroy",
               ": no answer within the time limit of 4 s; the group was stopped during code 17 in cycle 1"}},
        Fault{"leaks_gl_objects", "120",
              {"FAIL  lifecycle: every instance destroyed leaves no GL object behind: ", " programs, ",
               " vertex arrays more than before"}}),
    [](const ::testing::TestParamInfo<Fault>& fault) { return std::string(fault.param.variant); });

}  // namespace

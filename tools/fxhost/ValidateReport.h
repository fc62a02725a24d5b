// How a validation group, running in a child process, tells fxhost validate
// what it checked. Each line of the report file is written and flushed before
// the next module call, so when the module crashes or hangs the child, the
// parent still knows which check and which step were running:
//
//   BEGIN <check>          a check starts
//   STEP <what>            the module call about to be made
//   PASS <check>
//   FAIL <check>\t<why>
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace fxhost {

class ValidateReport {
 public:
  explicit ValidateReport(const std::string& path);  // throws Error when it cannot be written
  ~ValidateReport();
  ValidateReport(const ValidateReport&) = delete;
  ValidateReport& operator=(const ValidateReport&) = delete;

  void Begin(const std::string& check);
  void Step(const std::string& what);
  void Pass(const std::string& check);
  void Fail(const std::string& check, const std::string& why);

 private:
  void Line(const std::string& line);
  std::FILE* file = nullptr;
};

// One named check made of many steps: it passes when no expectation failed
// and reports the first failure, with how many steps failed in all.
class Check {
 public:
  Check(ValidateReport& report, std::string name);
  ~Check();  // reports the outcome
  Check(const Check&) = delete;
  Check& operator=(const Check&) = delete;

  void Step(const std::string& what) { report.Step(what); }
  // Records a failure (the first one's text is kept) unless `holds`.
  bool Expect(bool holds, const std::string& why);
  bool Failed() const { return failures > 0; }

 private:
  ValidateReport& report;
  std::string name;
  std::string firstFailure;
  int failures = 0;
};

// The parent's reading of a finished group's report.
struct GroupResult {
  struct Outcome {
    std::string check;
    bool passed = false;
    std::string why;
  };
  std::vector<Outcome> outcomes;
  std::string unfinishedCheck;  // begun but never reported: where the child stopped
  std::string lastStep;         // the last step announced in it
};

GroupResult ReadGroupReport(const std::string& path);

}  // namespace fxhost

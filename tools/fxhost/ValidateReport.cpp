#include "tools/fxhost/ValidateReport.h"

#include <fstream>
#include <utility>

#include "tools/fxhost/Error.h"

namespace fxhost {
namespace {

// Report lines are tab-separated; keep tabs and line ends out of the fields.
std::string Field(const std::string& text) {
  std::string clean = Error::OneLine(text);
  for (char& c : clean)
    if (c == '\t') c = ' ';
  return clean;
}

}  // namespace

// Binary: the lines end in "\n" on every system.
ValidateReport::ValidateReport(const std::string& path) : file(std::fopen(path.c_str(), "wb")) {
  if (file == nullptr) throw Error("cannot write the validation report '" + path + "'");
}

ValidateReport::~ValidateReport() { std::fclose(file); }

void ValidateReport::Line(const std::string& line) {
  std::fputs(line.c_str(), file);
  std::fputc('\n', file);
  std::fflush(file);  // before the next module call, which may never return
}

void ValidateReport::Begin(const std::string& check) { Line("BEGIN\t" + Field(check)); }
void ValidateReport::Step(const std::string& what) { Line("STEP\t" + Field(what)); }
void ValidateReport::Pass(const std::string& check) { Line("PASS\t" + Field(check)); }
void ValidateReport::Fail(const std::string& check, const std::string& why) {
  Line("FAIL\t" + Field(check) + "\t" + Field(why));
}

Check::Check(ValidateReport& checkReport, std::string checkName) : report(checkReport), name(std::move(checkName)) {
  report.Begin(name);
}

Check::~Check() {
  if (failures == 0) {
    report.Pass(name);
  } else {
    report.Fail(name, failures == 1 ? firstFailure
                                    : firstFailure + " (and " + std::to_string(failures - 1) + " more failures)");
  }
}

bool Check::Expect(bool holds, const std::string& why) {
  if (holds) return true;
  if (failures++ == 0) firstFailure = why;
  return false;
}

GroupResult ReadGroupReport(const std::string& path) {
  GroupResult result;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    const std::string kind = line.substr(0, tab);
    std::string rest = line.substr(tab + 1);
    if (kind == "BEGIN") {
      result.unfinishedCheck = rest;
      result.lastStep.clear();
    } else if (kind == "STEP") {
      result.lastStep = rest;
    } else if (kind == "PASS" || kind == "FAIL") {
      GroupResult::Outcome outcome;
      outcome.passed = kind == "PASS";
      const size_t why = rest.find('\t');
      outcome.check = rest.substr(0, why);
      if (why != std::string::npos) outcome.why = rest.substr(why + 1);
      result.outcomes.push_back(outcome);
      result.unfinishedCheck.clear();
      result.lastStep.clear();
    }
  }
  return result;
}

}  // namespace fxhost

#include "tools/fxhost/HostLog.h"

#include <cstdio>
#include <mutex>
#include <set>

namespace fxhost {
namespace {

struct LogState {
  std::mutex mutex;
  bool echo = true;
  std::vector<std::string> texts;
  std::set<std::string> echoed;
};

LogState& State() {
  static LogState state;
  return state;
}

constexpr size_t kKeptTexts = 64;  // a module that logs every frame must not grow us without end

}  // namespace

void HostLog::Receive(const char* text) {
  if (text == nullptr) return;
  LogState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (state.echo && state.echoed.insert(text).second) std::fprintf(stderr, "module log: %s\n", text);
  if (state.texts.size() == kKeptTexts) state.texts.erase(state.texts.begin());
  state.texts.emplace_back(text);
}

void HostLog::SetEcho(bool echo) {
  LogState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.echo = echo;
}

std::vector<std::string> HostLog::Received() {
  LogState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.texts;
}

std::string HostLog::Summary() {
  std::string summary;
  for (const std::string& text : Received()) {
    if (!summary.empty()) summary += " | ";
    summary += text;
  }
  return summary;
}

void HostLog::Clear() {
  LogState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.texts.clear();
}

}  // namespace fxhost

// A one-line progress bar on standard error, drawn only when that is a
// terminal and there is more than one frame; redrawn at most ten times a second.
#pragma once

#include <chrono>
#include <cstdint>

namespace fxhost {

class ProgressBar {
 public:
  ProgressBar(uint64_t total, bool wanted);
  ~ProgressBar();  // clears the line if still drawn

  void Update(uint64_t done);
  void Finish();

 private:
  void Draw(uint64_t done);

  uint64_t total;
  bool enabled;
  bool drawn = false;
  std::chrono::steady_clock::time_point start;
  std::chrono::steady_clock::time_point lastDraw;
};

}  // namespace fxhost

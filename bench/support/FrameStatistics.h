// Per-frame samples of one benchmark run, summarised as a median: a frame on
// a shared machine is now and then preempted, and the median ignores that
// where the mean would not.
#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

namespace qvx::bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point start, Clock::time_point end) {
  return std::chrono::duration<double>(end - start).count();
}

// CPU time of the whole process, every thread (the GL driver's included).
inline double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

class FrameSamples {
 public:
  FrameSamples() { samples.reserve(1 << 16); }  // no allocation while timing
  void Add(double seconds) { samples.push_back(seconds); }
  double Median() {
    if (samples.empty()) return 0.0;
    auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
  }

 private:
  std::vector<double> samples;
};

}  // namespace qvx::bench

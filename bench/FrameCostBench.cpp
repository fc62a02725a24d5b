// Frame cost of the effect against the pass-through limit, at three
// resolutions, at the parameter defaults and with every effect on.
//
// Each iteration draws one pass-through frame and one effect frame into the
// same framebuffer from the same input, each followed by glFinish inside its
// own timed interval, so both include all the GPU (or software rasteriser)
// work and both see the same machine load. Which of the two goes first
// alternates. The benchmark's time is the effect's; the counters give the
// medians of both and their ratio, in wall-clock time and in process CPU time.
//
// Also: the CPU time a frame costs the host (code 17 submitted, not waited
// for), and the heap allocations made during code 17: all of them, and those
// not made inside the GL driver (the module's own).
#include <GL/glew.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/AllocationCounter.h"
#include "bench/support/BenchGL.h"
#include "bench/support/EffectUnderTest.h"
#include "bench/support/FrameScene.h"
#include "bench/support/FrameStatistics.h"
#include "bench/support/PassThrough.h"

namespace qvx::bench {
namespace {

struct Resolution {
  uint32_t width;
  uint32_t height;
};

constexpr Resolution kResolutions[] = {{1280, 720}, {1920, 1080}, {3840, 2160}};
constexpr int kWarmUpFrames = 3;  // the driver compiles program variants on first use
constexpr int kSubmitFrames = 400;

// Made once, after the context: every benchmark shares them.
struct Fixture {
  PassThrough passThrough;
  PassThrough fiveReads{PassThrough::Reads::kFive};
  EffectUnderTest effect{1920, 1080};
  std::vector<std::unique_ptr<FrameScene>> scenes;

  FrameScene& SceneFor(Resolution resolution) {
    for (auto& scene : scenes)
      if (scene->Width() == resolution.width && scene->Height() == resolution.height) return *scene;
    scenes.push_back(std::make_unique<FrameScene>(resolution.width, resolution.height));
    return *scenes.back();
  }
};
Fixture* fixture = nullptr;

// Wall-clock and process CPU seconds of one frame. The CPU time counts the
// driver's rasteriser threads too: on a machine shared with other work it
// measures the frame's cost where the wall clock also measures the sharing.
struct FrameTime {
  double wall;
  double cpu;
};

template <typename Draw>
FrameTime TimedFrame(Draw draw) {
  const double cpuStart = ProcessCpuSeconds();
  const Clock::time_point start = Clock::now();
  draw();
  glFinish();
  const Clock::time_point end = Clock::now();
  return {Seconds(start, end), ProcessCpuSeconds() - cpuStart};
}

FrameTime TimedPassThroughFrame(FrameScene& scene) {
  return TimedFrame([&] { fixture->passThrough.Draw(scene); });
}

FrameTime TimedEffectFrame(FrameScene& scene) {
  return TimedFrame([&] { fixture->effect.Render(scene.Request()); });
}

FrameTime TimedFiveReadsFrame(FrameScene& scene) {
  return TimedFrame([&] { fixture->fiveReads.Draw(scene); });
}

// settings null: the five-reads program instead of the effect.
void FrameAgainstPassThrough(benchmark::State& state, const EffectSettings* settings, Resolution resolution) {
  FrameScene& scene = fixture->SceneFor(resolution);
  if (settings != nullptr) fixture->effect.Apply(*settings);
  auto subjectFrame = settings != nullptr ? TimedEffectFrame : TimedFiveReadsFrame;
  for (int frame = 0; frame < kWarmUpFrames; ++frame) {
    TimedPassThroughFrame(scene);
    subjectFrame(scene);
  }

  FrameSamples effectFrames, passThroughFrames, effectCpu, passThroughCpu;
  bool passThroughFirst = true;
  for (auto _ : state) {
    FrameTime effect{}, passThrough{};
    if (passThroughFirst) {
      passThrough = TimedPassThroughFrame(scene);
      effect = subjectFrame(scene);
    } else {
      effect = subjectFrame(scene);
      passThrough = TimedPassThroughFrame(scene);
    }
    passThroughFirst = !passThroughFirst;
    effectFrames.Add(effect.wall);
    passThroughFrames.Add(passThrough.wall);
    effectCpu.Add(effect.cpu);
    passThroughCpu.Add(passThrough.cpu);
    state.SetIterationTime(effect.wall);
  }
  const double effectMedian = effectFrames.Median();
  const double passThroughMedian = passThroughFrames.Median();
  const double effectCpuMedian = effectCpu.Median();
  const double passThroughCpuMedian = passThroughCpu.Median();
  state.counters["effect_ms"] = effectMedian * 1e3;
  state.counters["pass_ms"] = passThroughMedian * 1e3;
  state.counters["ratio"] = passThroughMedian > 0.0 ? effectMedian / passThroughMedian : 0.0;
  state.counters["effect_cpu_ms"] = effectCpuMedian * 1e3;
  state.counters["pass_cpu_ms"] = passThroughCpuMedian * 1e3;
  state.counters["cpu_ratio"] = passThroughCpuMedian > 0.0 ? effectCpuMedian / passThroughCpuMedian : 0.0;
}

// What code 17 costs the calling thread when the GL work is only queued. The
// wait for the frame happens outside the timed interval.
void HostSubmit(benchmark::State& state, const EffectSettings* settings) {
  FrameScene& scene = fixture->SceneFor(kResolutions[0]);
  fixture->effect.Apply(*settings);
  for (int frame = 0; frame < kWarmUpFrames; ++frame) fixture->effect.Render(scene.Request());
  glFinish();

  FrameSamples submits;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    fixture->effect.Render(scene.Request());
    const Clock::time_point end = Clock::now();
    glFinish();
    submits.Add(Seconds(start, end));
    state.SetIterationTime(Seconds(start, end));
  }
  state.counters["submit_us"] = submits.Median() * 1e6;

  // Then, untimed, who allocates during a frame: the stack walks would
  // dominate the time.
  constexpr int kAttributedFrames = 20;
  SetAllocationAttribution(true);
  AllocationCounts counted;
  for (int frame = 0; frame < kAttributedFrames; ++frame) {
    const AllocationCounts before = HeapAllocations();
    fixture->effect.Render(scene.Request());
    const AllocationCounts after = HeapAllocations();
    counted.total += after.total - before.total;
    counted.outsideDriver += after.outsideDriver - before.outsideDriver;
    glFinish();
  }
  SetAllocationAttribution(false);
  state.counters["allocs_per_frame"] = static_cast<double>(counted.total) / kAttributedFrames;
  state.counters["module_allocs_per_frame"] = static_cast<double>(counted.outsideDriver) / kAttributedFrames;
}

// The same for the pass-through: the floor of binding a program, setting two
// uniforms and drawing.
void PassThroughSubmit(benchmark::State& state) {
  FrameScene& scene = fixture->SceneFor(kResolutions[0]);
  fixture->passThrough.Draw(scene);
  glFinish();
  FrameSamples submits;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    fixture->passThrough.Draw(scene);
    const Clock::time_point end = Clock::now();
    glFinish();
    submits.Add(Seconds(start, end));
    state.SetIterationTime(Seconds(start, end));
  }
  state.counters["submit_us"] = submits.Median() * 1e6;
}

void RegisterAll() {
  for (const EffectSettings* settings : {&kDefaultSettings, &kAllEffectsSettings}) {
    for (Resolution resolution : kResolutions) {
      const std::string name = std::string("Frame/") + settings->name + "/" + std::to_string(resolution.width) +
                               "x" + std::to_string(resolution.height);
      benchmark::RegisterBenchmark(name.c_str(), FrameAgainstPassThrough, settings, resolution)
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond);
    }
  }
  // A fixed count: the timed part is microseconds, the untimed wait for each
  // frame milliseconds, so a minimum time would run for minutes.
  // The floor for a renderer that runs every step on every pixel.
  benchmark::RegisterBenchmark("Frame/five_reads_floor/1920x1080", FrameAgainstPassThrough,
                               static_cast<const EffectSettings*>(nullptr), Resolution{1920, 1080})
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("HostSubmit/pass_through", PassThroughSubmit)
      ->UseManualTime()
      ->Iterations(kSubmitFrames)
      ->Unit(benchmark::kMicrosecond);
  for (const EffectSettings* settings : {&kDefaultSettings, &kAllEffectsSettings}) {
    const std::string name = std::string("HostSubmit/") + settings->name;
    benchmark::RegisterBenchmark(name.c_str(), HostSubmit, settings)
        ->UseManualTime()
        ->Iterations(kSubmitFrames)
        ->Unit(benchmark::kMicrosecond);
  }
}

}  // namespace
}  // namespace qvx::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  qvx::bench::BenchGL gl;
  qvx::bench::DescribeMachine(gl);
  qvx::bench::Fixture fixture;
  qvx::bench::fixture = &fixture;
  qvx::bench::RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  qvx::bench::fixture = nullptr;
  return 0;
}

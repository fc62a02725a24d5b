// Instance creation (code 18: factory, defaults, InitGL with the shader
// build) and destruction (code 19: ReleaseGL, deletion), and the first frame
// after creation, in which a driver that compiles program variants lazily
// (Mesa does) finishes the program's machine code.
#include <GL/glew.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "bench/support/BenchGL.h"
#include "bench/support/FrameScene.h"
#include "bench/support/FrameStatistics.h"
#include "host/Exports.h"
#include "host/FunctionCodes.h"

namespace qvx::bench {
namespace {

// Fixed counts: the untimed part of each iteration (making or drawing with an
// instance) costs far more than the timed part, so a minimum time would run
// for minutes.
constexpr int kCreations = 40;
constexpr int kFirstFrames = 8;

FrameScene* fullHd = nullptr;  // the first frame's
FrameScene* small = nullptr;   // the frame drawn before destruction

void* Create() {
  Viewport viewport{0, 0, 1920, 1080};
  const uint64_t answer = plugMain(kCreateInstance, reinterpret_cast<uintptr_t>(&viewport), nullptr);
  return answer == kFailure ? nullptr : reinterpret_cast<void*>(static_cast<uintptr_t>(answer));
}

void Destroy(void* handle) { plugMain(kDestroyInstance, 0, handle); }

void DrawFrame(void* handle, FrameScene& scene) {
  plugMain(kRenderFrame, reinterpret_cast<uintptr_t>(scene.Request()), handle);
  glFinish();
}

void CreateInstance(benchmark::State& state) {
  FrameSamples samples;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    void* handle = Create();
    glFinish();
    const Clock::time_point end = Clock::now();
    if (handle == nullptr) {
      state.SkipWithError("code 18 failed");
      break;
    }
    Destroy(handle);
    glFinish();
    samples.Add(Seconds(start, end));
    state.SetIterationTime(Seconds(start, end));
  }
  state.counters["median_ms"] = samples.Median() * 1e3;
}

void DestroyInstance(benchmark::State& state) {
  FrameSamples samples;
  for (auto _ : state) {
    void* handle = Create();
    if (handle == nullptr) {
      state.SkipWithError("code 18 failed");
      break;
    }
    DrawFrame(handle, *small);  // destroy an instance that has drawn, as a host does
    const Clock::time_point start = Clock::now();
    Destroy(handle);
    glFinish();
    const Clock::time_point end = Clock::now();
    samples.Add(Seconds(start, end));
    state.SetIterationTime(Seconds(start, end));
  }
  state.counters["median_ms"] = samples.Median() * 1e3;
}

void FirstFrameAfterCreation(benchmark::State& state) {
  FrameSamples samples;
  for (auto _ : state) {
    void* handle = Create();
    if (handle == nullptr) {
      state.SkipWithError("code 18 failed");
      break;
    }
    glFinish();
    const Clock::time_point start = Clock::now();
    DrawFrame(handle, *fullHd);
    const Clock::time_point end = Clock::now();
    Destroy(handle);
    samples.Add(Seconds(start, end));
    state.SetIterationTime(Seconds(start, end));
  }
  state.counters["median_ms"] = samples.Median() * 1e3;
}

}  // namespace
}  // namespace qvx::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  qvx::bench::BenchGL gl;
  qvx::bench::DescribeMachine(gl);
  // Mesa keeps compiled programs in an on-disk cache: with it a repeated
  // creation skips the compiler. scripts/bench runs this program both ways.
  const char* cacheSwitch = std::getenv("MESA_SHADER_CACHE_DISABLE");
  benchmark::AddCustomContext("mesa_shader_cache",
                              cacheSwitch != nullptr && std::string(cacheSwitch) == "true" ? "disabled" : "enabled");
  qvx::bench::FrameScene fullHdScene(1920, 1080);
  qvx::bench::FrameScene smallScene(64, 64);
  qvx::bench::fullHd = &fullHdScene;
  qvx::bench::small = &smallScene;
  plugMain(qvx::kInitialise, 0, nullptr);
  benchmark::RegisterBenchmark("Lifecycle/create_18", qvx::bench::CreateInstance)
      ->UseManualTime()
      ->Iterations(qvx::bench::kCreations)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Lifecycle/destroy_19", qvx::bench::DestroyInstance)
      ->UseManualTime()
      ->Iterations(qvx::bench::kCreations)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Lifecycle/first_frame_1080p", qvx::bench::FirstFrameAfterCreation)
      ->UseManualTime()
      ->Iterations(qvx::bench::kFirstFrames)
      ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  qvx::bench::fullHd = nullptr;
  qvx::bench::small = nullptr;
  return 0;
}

// fxhost's render loop at 1920x1080 on its built-in scene, in frames per
// second: the full pipeline (asynchronous read-back ring, then the sink) into
// the null sink, a numbered PNG sequence and an H.264 video piped to ffmpeg,
// each against rendering alone (fxhost's --render-only: the same loop with
// no read-back) measured beside it. The loop and the sinks are fxhost's own code (fxhost_core); the
// module is the built one, loaded by path as fxhost loads it.
#include <GL/glew.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "bench/support/FrameStatistics.h"
#include "tools/fxhost/FramePipeline.h"
#include "tools/fxhost/FrameSink.h"
#include "tools/fxhost/HostSession.h"
#include "tools/fxhost/InputSource.h"
#include "tools/fxhost/InputTexture.h"
#include "tools/fxhost/OutputTarget.h"
#include "tools/fxhost/PluginInstance.h"
#include "tools/fxhost/ProgressBar.h"
#include "tools/fxhost/RenderTarget.h"

namespace qvx::bench {
namespace {

constexpr uint32_t kWidth = 1920;
constexpr uint32_t kHeight = 1080;
constexpr double kFramesPerSecond = 60.0;
// Frames per measured run: enough that the ring's fill and drain and the
// sink's final flush are a small part.
constexpr uint64_t kFrames = 24;
// Paired runs per sink.
constexpr int kRounds = 8;

// The scene, texture, target and instance every run shares, made as
// `fxhost render` makes them.
struct Fixture {
  fxhost::HostSession session{QVX_BENCH_MODULE_PATH, "egl"};
  fxhost::InputSource input{fxhost::InputOptions{"", kWidth, kHeight, {}}};
  fxhost::InputTexture texture{input.Picture(0), false, false};
  fxhost::RenderTarget target{texture.HardwareWidth(), texture.HardwareHeight()};
  fxhost::PluginInstance instance{session.Module(), Viewport{0, 0, target.Width(), target.Height()}};
  std::filesystem::path scratch = std::filesystem::temp_directory_path() / "qvx-bench-fxhost";
};
Fixture* fixture = nullptr;

// fxhost's own yardstick (render --render-only): the same loop without
// read-back, every frame flushed, one glFinish at the end; the seconds it took.
double RenderAlone() {
  std::unique_ptr<fxhost::FrameSink> none = fxhost::MakeFrameSink(
      fxhost::ParseOutputTarget("null"), fixture->target.Width(), fixture->target.Height(), fxhost::VideoSettings{});
  fxhost::ProgressBar progress(kFrames, false);
  return fxhost::RunFramePipeline({fixture->instance, fixture->input, fixture->texture, fixture->target, *none},
                                  kFrames, kFramesPerSecond, progress, false)
      .seconds;
}

// The whole pipeline into the sink; the seconds it took and the frames delivered.
double ThroughPipeline(const fxhost::OutputTarget& target, uint64_t* frames) {
  std::unique_ptr<fxhost::FrameSink> sink = fxhost::MakeFrameSink(
      target, fixture->target.Width(), fixture->target.Height(), fxhost::VideoSettings{kFramesPerSecond, "ffmpeg"});
  fxhost::ProgressBar progress(kFrames, false);
  const fxhost::PipelineResult result = fxhost::RunFramePipeline(
      {fixture->instance, fixture->input, fixture->texture, fixture->target, *sink}, kFrames, kFramesPerSecond,
      progress);
  *frames += result.frames;
  return result.seconds;
}

// Each iteration times a run of rendering alone and a run through the sink,
// the order alternating, so both see the same machine load; "of_alone" is the
// median over the iterations of the pair's ratio, which a load change between
// iterations does not move. The benchmark's time is the sink run's.
void SinkAgainstRenderingAlone(benchmark::State& state, fxhost::OutputTarget target) {
  std::filesystem::create_directories(fixture->scratch);
  double aloneSeconds = 0.0;
  double sinkSeconds = 0.0;
  uint64_t sinkFrames = 0;
  FrameSamples pairRatios;
  bool aloneFirst = true;
  for (auto _ : state) {
    const uint64_t framesBefore = sinkFrames;
    double alone;
    double seconds;
    if (aloneFirst) {
      alone = RenderAlone();
      seconds = ThroughPipeline(target, &sinkFrames);
    } else {
      seconds = ThroughPipeline(target, &sinkFrames);
      alone = RenderAlone();
    }
    aloneFirst = !aloneFirst;
    aloneSeconds += alone;
    sinkSeconds += seconds;
    // Rates, not times: a failed sink delivers fewer frames.
    const double sinkRate = static_cast<double>(sinkFrames - framesBefore) / seconds;
    pairRatios.Add(sinkRate / (static_cast<double>(kFrames) / alone));
    state.SetIterationTime(seconds);
  }
  const double aloneFrames = static_cast<double>(kFrames) * static_cast<double>(state.iterations());
  state.counters["fps"] = sinkSeconds > 0.0 ? static_cast<double>(sinkFrames) / sinkSeconds : 0.0;
  state.counters["alone_fps"] = aloneSeconds > 0.0 ? aloneFrames / aloneSeconds : 0.0;
  state.counters["of_alone"] = pairRatios.Median();
  std::filesystem::remove_all(fixture->scratch);
}

void RegisterAll() {
  const std::string scratch = fixture->scratch.string();
  const std::pair<const char*, std::string> outputs[] = {
      {"Fxhost1080p/null_sink", "null"},
      {"Fxhost1080p/png_sequence", scratch + "/frame_%04d.png"},
      {"Fxhost1080p/video_mp4", scratch + "/frames.mp4"},
  };
  for (const auto& [name, output] : outputs) {
    benchmark::RegisterBenchmark(name, SinkAgainstRenderingAlone, fxhost::ParseOutputTarget(output))
        ->UseManualTime()
        ->Iterations(kRounds)
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace
}  // namespace qvx::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::unique_ptr<qvx::bench::Fixture> fixture;
  try {
    fixture = std::make_unique<qvx::bench::Fixture>();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "benchmark: %s\n", error.what());
    return 2;
  }
  qvx::bench::fixture = fixture.get();
  benchmark::AddCustomContext("gl_driver", fixture->session.DescribeGL());
  qvx::bench::RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  qvx::bench::fixture = nullptr;
  return 0;
}

// fxhost render, end to end: the executable renders through the real module
// (headless EGL, or GLX on the test's X server) and every pixel it writes is
// compared with the CPU reference of the effect for the input the module got.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/fxhost/FxhostTestSupport.h"

namespace qvx::test {
namespace {

// One unit of 8-bit rounding, plus one for the GPU's own rounding of
// single-precision arithmetic on the way to an 8-bit framebuffer.
constexpr int kTolerance = 2;

enum class Source {
  kScene,    // the built-in scene; the module's input is read back through --save-input
  kFixture,  // data/depth16.png; the input is computed here from its known values
};

struct RenderCase {
  const char* name;
  Source source;
  std::vector<std::string> arguments;
  DepthUniforms uniforms;  // time is filled from frames and speed
  int frames = 1;
  float speed = 0.5f;
  // Fixture only: the mapping the test expects, written out independently of fxhost.
  double rangeMinimum = 0.0;
  double rangeMaximum = 0.0;
  bool automaticRange = false;
  bool invert = false;
  double noDepthValue = 0.0;
  bool pad = false;
  bool glx = false;
};

DepthUniforms Uniforms(int32_t colormap, float showEdges, float depthSweep, float lumaPulse, float colormapCycle,
                       float isolateBand, float blend = 1.0f) {
  DepthUniforms uniforms;
  uniforms.colormap = colormap;
  uniforms.showEdges = showEdges;
  uniforms.depthSweep = depthSweep;
  uniforms.lumaPulse = lumaPulse;
  uniforms.colormapCycle = colormapCycle;
  uniforms.isolateBand = isolateBand;
  uniforms.blend = blend;
  return uniforms;
}

const RenderCase kCases[] = {
    // The scene's depth is arbitrary, so only settings whose result is
    // continuous in depth are compared on it (no edge or cycle thresholds).
    {"SceneThroughTurboWithSweepAndPulse", Source::kScene,
     {"--size", "160x90", "--frames", "5", "--param", "Colormap=Turbo", "--param", "Depth Sweep=0.6", "--param",
      "Luma Pulse=0.8"},
     Uniforms(4, 0, 0.6f, 0.8f, 0, 0), 5},
    {"SceneThroughTheEglDevicePlatform", Source::kScene,
     {"--gl", "egl-device", "--size", "96x54", "--param", "Colormap=Viridis"},
     Uniforms(1, 0, 0, 0, 0, 0)},
    {"SceneThroughGlx", Source::kScene,
     {"--glx", "--size", "120x80", "--frames", "3", "--param", "Colormap=plasma", "--param", "Speed=0.9",
      "--param", "Blend=0.7"},
     Uniforms(3, 0, 0, 0, 0, 0, 0.7f), 3, 0.9f, 0, 0, false, false, 0, false, true},
    {"FixtureRangeEdgesAndBand", Source::kFixture,
     {"--range", "1000:4000", "--param", "Colormap=Viridis", "--param", "Show Edges=on", "--param",
      "Isolate Band=1", "--frames", "40"},
     Uniforms(1, 1, 0, 0, 0, 1), 40, 0.5f, 1000, 4000},
    {"FixtureAutoRangeInvertedWithNoDepthValue", Source::kFixture,
     {"--invert", "--no-depth", "0.25", "--param", "0=2", "--param", "Colormap Cycle=0.5", "--frames", "12"},
     Uniforms(2, 0, 0, 0, 0.5f, 0), 12, 0.5f, 0, 0, true, true, 0.25},
    {"FixturePaddedIntoPowerOfTwoTexture", Source::kFixture,
     {"--pad", "--range", "1000:4000", "--param", "Colormap=Inferno", "--param", "Show Edges=1", "--param",
      "Depth Sweep=0.5", "--frames", "20"},
     Uniforms(0, 1, 0.5f, 0, 0, 0), 20, 0.5f, 1000, 4000, false, false, 0, true},
    {"FixturePaddedThroughGlx", Source::kFixture,
     {"--glx", "--pad", "--range", "1500:3500", "--param", "Colormap=Turbo", "--param", "Luma Pulse=0.5",
      "--frames", "7"},
     Uniforms(4, 0, 0, 0.5f, 0, 0), 7, 0.5f, 1500, 3500, false, false, 0, true, true},
};

// The fixture's depth as the module should receive it, from its known raw
// values: stretched, clamped, optionally inverted, zeros kept apart.
std::vector<uint16_t> ExpectedFixtureInput(const RenderCase& c) {
  std::vector<uint16_t> raw;
  for (uint32_t y = 0; y < kFixtureHeight; ++y) {
    for (uint32_t x = 0; x < kFixtureWidth; ++x) raw.push_back(ExpectedRawDepth(x, y));
  }
  double minimum = c.rangeMinimum;
  double maximum = c.rangeMaximum;
  if (c.automaticRange) {  // 1st and 99th percentile of the measured (non-zero) values
    std::vector<uint16_t> valid;
    for (uint16_t value : raw) {
      if (value != 0) valid.push_back(value);
    }
    std::sort(valid.begin(), valid.end());
    minimum = valid[static_cast<size_t>(std::floor(0.01 * static_cast<double>(valid.size() - 1)))];
    maximum = valid[static_cast<size_t>(std::floor(0.99 * static_cast<double>(valid.size() - 1)))];
  }
  std::vector<uint16_t> mapped;
  for (uint16_t value : raw) {
    double depth = c.noDepthValue;
    if (value != 0) {
      depth = std::clamp((value - minimum) / (maximum - minimum), 0.0, 1.0);
      if (c.invert) depth = 1.0 - depth;
    }
    mapped.push_back(static_cast<uint16_t>(std::lround(depth * 65535.0)));
  }
  return mapped;
}

uint32_t NextPowerOfTwo(uint32_t value) {
  uint32_t power = 1;
  while (power < value) power <<= 1;
  return power;
}

// Test names say which case it is; the raw bytes gtest would print say nothing.
void PrintTo(const RenderCase& c, std::ostream* out) { *out << c.name; }

class FxhostRender : public ::testing::TestWithParam<RenderCase> {};

TEST_P(FxhostRender, WritesWhatTheReferenceComputes) {
  const RenderCase& c = GetParam();
  if (c.glx && std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "--glx needs an X server (run under xvfb-run)";
  WorkFolder folder;
  std::vector<std::string> arguments = {"render", QVX_MODULE_PATH, "--nearest", "--save-input", "input.png", "-o",
                                        "out.png"};
  if (c.source == Source::kFixture) arguments.insert(arguments.end(), {"-i", DepthFixturePath()});
  arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
  const RunResult run = RunFxhost(arguments, folder.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;

  const Picture saved = ReadPicture(folder / "input.png");
  ASSERT_EQ(saved.channels, 1u);
  ASSERT_EQ(saved.bitDepth, 16u) << "16-bit depth must reach the module at full precision";
  if (c.source == Source::kFixture) {
    ASSERT_EQ(saved.width, kFixtureWidth);
    ASSERT_EQ(saved.height, kFixtureHeight);
    EXPECT_EQ(saved.samples, ExpectedFixtureInput(c)) << "the range mapping differs from the expected one";
  }

  const uint32_t hardwareWidth = c.pad ? NextPowerOfTwo(saved.width) : saved.width;
  const uint32_t hardwareHeight = c.pad ? NextPowerOfTwo(saved.height) : saved.height;
  if (c.pad) {
    ASSERT_NE(hardwareWidth, saved.width) << "the case must really pad";
  }
  const ReferenceTexture texture = GreyTexture(saved.samples, saved.width, saved.height, hardwareWidth, hardwareHeight);
  DepthUniforms uniforms = c.uniforms;
  const auto maxUV = ReferenceMaxUV(saved.width, saved.height, hardwareWidth, hardwareHeight);
  uniforms.maxU = maxUV[0];
  uniforms.maxV = maxUV[1];
  uniforms.time = EffectTime(c.frames, c.speed);
  const DepthReferenceResult expected = RenderDepthReference(texture, uniforms);
  ASSERT_GT(expected.texelBoundaryMargin, 0.01);
  ASSERT_GT(expected.cycleWrapMargin, 1e-4);
  ASSERT_GT(expected.edgeThresholdMargin, 1e-4);

  const Picture output = ReadPicture(folder / "out.png");
  ASSERT_EQ(output.width, hardwareWidth) << "the module fills, and fxhost writes, the whole allocated texture";
  ASSERT_EQ(output.height, hardwareHeight);
  EXPECT_EQ(CompareWithReference(output, expected, kTolerance), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, FxhostRender, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<RenderCase>& caseInfo) { return caseInfo.param.name; });

}  // namespace
}  // namespace qvx::test

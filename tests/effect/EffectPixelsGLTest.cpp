// Renders the effect through plugMain into a float framebuffer and compares
// every pixel with the CPU reference of the fragment stage.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <memory>
#include <vector>

#include "tests/effect/EffectHarness.h"
#include "tests/support/GLContext.h"
#include "tests/support/PlugMainCalls.h"

namespace qvx::test {
namespace {

// Tight enough that a wrong constant anywhere in the step list shows, loose
// enough for single-precision sin and interpolation.
constexpr float kTolerance = 2e-5f;

enum Parameter : uint32_t {
  kColormap = 0, kBlend, kShowEdges, kDepthSweep, kLumaPulse, kColormapCycle, kIsolateBand, kSpeed
};
constexpr float kDefaults[8] = {5.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f};

struct Setting {
  uint32_t index;
  float value;
};

enum class Input {
  kSquareClamp,      // 32 x 32 picture filling its texture, clamp to edge
  kSquareRepeat,     // the same with repeat
  kSquareMirrored,   // the same with mirrored repeat
  kPictureInLarger,  // a 40 x 24 picture in a 64 x 32 texture, clamp to edge
};

struct PixelCase {
  const char* name;
  std::vector<Setting> settings = {};  // applied before the first frame
  int frames = 1;                 // good frames rendered
  int expectedColormap = 5;       // the "Colormap" integer the settings must give
  Input input = Input::kSquareClamp;
  std::vector<Setting> laterSettings = {};  // then applied
  int failedFrames = 0;                // then this many refused requests
  int laterFrames = 0;                 // then this many good frames
};

const PixelCase kCases[] = {
    {"DefaultsShowLuminanceAsGrey", {}, 1, 5},
    {"Inferno", {{kColormap, 0.0f}}, 1, 0},
    {"Viridis", {{kColormap, 1.0f}}, 1, 1},
    {"Magma", {{kColormap, 2.0f}}, 1, 2},
    {"Plasma", {{kColormap, 3.0f}}, 1, 3},
    {"Turbo", {{kColormap, 4.0f}}, 1, 4},
    {"Colormap2_4RoundsToMagma", {{kColormap, 2.4f}}, 1, 2},
    {"Colormap2_5RoundsToPlasma", {{kColormap, 2.5f}}, 1, 3},
    {"ColormapMinus0_4RoundsToInferno", {{kColormap, -0.4f}}, 1, 0},
    {"Colormap7IsGrey", {{kColormap, 7.0f}}, 1, 7},
    {"ColormapMinus2IsGrey", {{kColormap, -2.0f}}, 1, -1},
    {"Blend0GivesTheInputWithAlpha1", {{kColormap, 4.0f}, {kBlend, 0.0f}}, 1, 4},
    {"BlendAbove1Extrapolates", {{kColormap, 4.0f}, {kBlend, 1.5f}}, 1, 4},
    {"BlendBelow0Extrapolates", {{kColormap, 1.0f}, {kBlend, -0.5f}}, 1, 1},
    {"BlendHalf", {{kColormap, 3.0f}, {kBlend, 0.5f}}, 1, 3},
    {"ShowEdgesExactlyHalfShowsNone", {{kColormap, 0.0f}, {kShowEdges, 0.5f}}, 1, 0},
    {"ShowEdgesJustAboveHalf", {{kColormap, 0.0f}, {kShowEdges, 0.51f}}, 1, 0},
    {"EdgesFlickerWithLumaPulse", {{kColormap, 2.0f}, {kShowEdges, 1.0f}, {kLumaPulse, 0.7f}}, 40, 2},
    {"EdgesWithRepeatWrap", {{kColormap, 1.0f}, {kShowEdges, 1.0f}}, 1, 1, Input::kSquareRepeat},
    {"EdgesWithMirroredWrap", {{kColormap, 1.0f}, {kShowEdges, 1.0f}}, 1, 1, Input::kSquareMirrored},
    {"DepthSweep", {{kColormap, 4.0f}, {kDepthSweep, 1.0f}}, 37, 4},
    {"DepthSweepWeakAndFast", {{kColormap, 0.0f}, {kDepthSweep, 0.3f}, {kSpeed, 1.7f}}, 23, 0},
    {"LumaPulse", {{kColormap, 3.0f}, {kLumaPulse, 0.8f}}, 50, 3},
    {"IsolateBand", {{kColormap, 2.0f}, {kIsolateBand, 1.0f}}, 70, 2},
    {"IsolateBandHalf", {{kColormap, 4.0f}, {kIsolateBand, 0.5f}}, 130, 4},
    {"ColormapCycle", {{kColormap, 1.0f}, {kColormapCycle, 1.0f}}, 30, 1},
    {"ColormapCycleSlowWithFasterClock", {{kColormap, 0.0f}, {kColormapCycle, 0.35f}, {kSpeed, 1.3f}}, 77, 0},
    {"EverythingTogether",
     {{kColormap, 4.0f}, {kBlend, 0.8f}, {kShowEdges, 1.0f}, {kDepthSweep, 0.6f}, {kLumaPulse, 0.5f},
      {kColormapCycle, 0.4f}, {kIsolateBand, 0.7f}, {kSpeed, 0.9f}},
     53, 4},
    // A long run magnifies any wrong rate constant.
    {"LongRunAtHighSpeed",
     {{kColormap, 3.0f}, {kDepthSweep, 0.5f}, {kLumaPulse, 1.0f}, {kColormapCycle, 0.3f}, {kIsolateBand, 0.6f},
      {kShowEdges, 1.0f}, {kSpeed, 3.0f}},
     200, 3},
    {"SpeedZeroFreezesTheClock",
     {{kColormap, 3.0f}, {kColormapCycle, 0.6f}, {kDepthSweep, 0.5f}, {kLumaPulse, 0.4f}}, 25, 3,
     Input::kSquareClamp, {{kSpeed, 0.0f}}, 0, 40},
    {"FailedFramesDoNotAdvanceTheClock",
     {{kColormap, 0.0f}, {kColormapCycle, 1.0f}, {kDepthSweep, 1.0f}, {kIsolateBand, 0.8f}}, 10, 0,
     Input::kSquareClamp, {}, 6, 1},
    {"NegativeSpeedRunsBackwards",
     {{kColormap, 4.0f}, {kColormapCycle, 0.5f}, {kDepthSweep, 0.7f}, {kLumaPulse, 0.6f}, {kSpeed, -0.7f}}, 45, 4},
    {"PictureSmallerThanTexture", {{kColormap, 4.0f}}, 1, 4, Input::kPictureInLarger},
    {"PictureSmallerThanTextureWithEdges", {{kColormap, 0.0f}, {kShowEdges, 1.0f}, {kDepthSweep, 0.4f}}, 12, 0,
     Input::kPictureInLarger},
};

struct InputShape {
  uint32_t pictureWidth, pictureHeight, width, height;
  TextureWrap wrap;
};

InputShape ShapeOf(Input input) {
  switch (input) {
    case Input::kSquareClamp: return {32, 32, 32, 32, TextureWrap::kClampToEdge};
    case Input::kSquareRepeat: return {32, 32, 32, 32, TextureWrap::kRepeat};
    case Input::kSquareMirrored: return {32, 32, 32, 32, TextureWrap::kMirroredRepeat};
    case Input::kPictureInLarger: return {40, 24, 64, 32, TextureWrap::kClampToEdge};
  }
  return {};
}

class EffectPixels : public ::testing::TestWithParam<PixelCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(context.Valid()) << context.Error();
    ASSERT_TRUE(LoadGLForTests());
  }

  GlxContext context;
};

TEST_P(EffectPixels, MatchTheReferenceEverywhere) {
  const PixelCase& c = GetParam();
  const InputShape shape = ShapeOf(c.input);
  const ReferenceTexture texels = MakeDepthTexture(shape.width, shape.height, shape.wrap);
  InputTexture texture(texels);
  const TextureDescriptor input = texture.Describe(shape.pictureWidth, shape.pictureHeight);
  FloatFramebuffer target(shape.width, shape.height);
  EffectInstance effect;
  ASSERT_NE(effect.Handle(), nullptr);

  float values[8];
  std::copy(std::begin(kDefaults), std::end(kDefaults), values);
  ClockModel clock;
  auto apply = [&](const std::vector<Setting>& settings) {
    for (const Setting& s : settings) {
      ASSERT_EQ(effect.SetParameter(s.index, s.value), 0u);
      values[s.index] = s.value;
    }
  };
  auto render = [&](int frames) {
    for (int i = 0; i < frames; ++i) {
      target.Clear();
      ASSERT_EQ(effect.Render(&input, target.Name()), 0u);
      clock.Frame(values[kSpeed]);
    }
  };

  apply(c.settings);
  render(c.frames);
  apply(c.laterSettings);
  for (int i = 0; i < c.failedFrames; ++i) {
    // Alternately no input at all and a null first entry.
    const uint64_t answer = i % 2 == 0 ? effect.RenderWithoutInputs(target.Name()) : effect.Render(nullptr, target.Name());
    ASSERT_EQ(answer, kFailureAnswer);
  }
  render(c.laterFrames);
  const std::vector<ReferenceRGBA> actual = target.Read();

  DepthUniforms uniforms;
  const auto maxUV = ReferenceMaxUV(shape.pictureWidth, shape.pictureHeight, shape.width, shape.height);
  uniforms.maxU = maxUV[0];
  uniforms.maxV = maxUV[1];
  uniforms.blend = values[kBlend];
  uniforms.colormap = c.expectedColormap;
  uniforms.showEdges = values[kShowEdges];
  uniforms.time = clock.Time();
  uniforms.depthSweep = values[kDepthSweep];
  uniforms.lumaPulse = values[kLumaPulse];
  uniforms.colormapCycle = values[kColormapCycle];
  uniforms.isolateBand = values[kIsolateBand];
  const DepthReferenceResult expected = RenderDepthReference(texels, uniforms);

  // The case must not sit on a knife's edge, or a rounding difference would
  // decide it rather than the effect.
  ASSERT_GT(expected.texelBoundaryMargin, 0.01);
  ASSERT_GT(expected.cycleWrapMargin, 1e-5);
  ASSERT_GT(expected.edgeThresholdMargin, 1e-5);

  ASSERT_EQ(actual.size(), expected.pixels.size());
  const PixelDifference difference = ComparePixels(actual, expected.pixels);
  const size_t x = difference.pixel % shape.width, y = difference.pixel / shape.width;
  EXPECT_LE(difference.largest, kTolerance)
      << "pixel (" << x << ", " << y << ") channel " << difference.channel << ": got ("
      << actual[difference.pixel].r << ", " << actual[difference.pixel].g << ", " << actual[difference.pixel].b
      << ", " << actual[difference.pixel].a << "), expected (" << expected.pixels[difference.pixel].r << ", "
      << expected.pixels[difference.pixel].g << ", " << expected.pixels[difference.pixel].b << ", "
      << expected.pixels[difference.pixel].a << "), Time " << uniforms.time;
}

INSTANTIATE_TEST_SUITE_P(Cases, EffectPixels, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<PixelCase>& caseInfo) { return caseInfo.param.name; });

}  // namespace
}  // namespace qvx::test

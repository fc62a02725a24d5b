// What one frame hands the GL: the calls in order, the ten uniforms with
// their exact values, the viewport, and what stays bound afterwards. Uniform
// values are caught on their way to the driver (GLEW's pointers swapped on
// top of the real driver), so floats are compared bit for bit.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "host/FunctionCodes.h"
#include "tests/effect/EffectHarness.h"
#include "tests/support/GLCallRecorder.h"
#include "tests/support/GLContext.h"
#include "tests/support/PlugMainCalls.h"

namespace qvx::test {
namespace {

struct UniformSet {
  std::string name;
  std::vector<float> values;  // one, or two for MaxUV
  bool integer = false;
};

std::vector<UniformSet> uniformSets;
std::string lastLookup;

GLint GLAPIENTRY CatchLookup(GLuint program, const GLchar* name) {
  lastLookup = name;
  return GLCallRecorder::Original<&__glewGetUniformLocation>()(program, name);
}
void GLAPIENTRY CatchInt(GLint location, GLint value) {
  uniformSets.push_back({lastLookup, {static_cast<float>(value)}, true});
  GLCallRecorder::Original<&__glewUniform1i>()(location, value);
}
void GLAPIENTRY CatchFloat(GLint location, GLfloat value) {
  uniformSets.push_back({lastLookup, {value}, false});
  GLCallRecorder::Original<&__glewUniform1f>()(location, value);
}
void GLAPIENTRY CatchVec2(GLint location, GLfloat x, GLfloat y) {
  uniformSets.push_back({lastLookup, {x, y}, false});
  GLCallRecorder::Original<&__glewUniform2f>()(location, x, y);
}

const char* const kUniformOrder[10] = {"InputTexture", "MaxUV",     "Blend",      "Colormap",      "ShowEdges",
                                       "Time",         "DepthSweep", "LumaPulse", "ColormapCycle", "IsolateBand"};

class EffectFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(context.Valid()) << context.Error();
    ASSERT_TRUE(LoadGLForTests());
    texture = std::make_unique<InputTexture>(texels);
    input = texture->Describe(16, 16);
    target = std::make_unique<FloatFramebuffer>(16, 16);
    effect = std::make_unique<EffectInstance>();
    ASSERT_NE(effect->Handle(), nullptr);
    recorder = std::make_unique<GLCallRecorder>();
    recorder->Substitute<&__glewGetUniformLocation>(CatchLookup);
    recorder->Substitute<&__glewUniform1i>(CatchInt);
    recorder->Substitute<&__glewUniform1f>(CatchFloat);
    recorder->Substitute<&__glewUniform2f>(CatchVec2);
  }
  void TearDown() override {
    recorder.reset();
    effect.reset();
    target.reset();
    texture.reset();
  }

  // Renders one good frame and answers the uniforms it set, in order.
  std::vector<UniformSet> Frame() {
    uniformSets.clear();
    recorder->Clear();
    EXPECT_EQ(effect->Render(&input, target->Name()), 0u);
    return uniformSets;
  }
  float FrameValue(const char* name) {
    for (const UniformSet& set : Frame())
      if (set.name == name) return set.values[0];
    ADD_FAILURE() << name << " was not set";
    return NAN;
  }

  GlxContext context;
  ReferenceTexture texels = MakeDepthTexture(16, 16, TextureWrap::kClampToEdge);
  std::unique_ptr<InputTexture> texture;
  TextureDescriptor input{};
  std::unique_ptr<FloatFramebuffer> target;
  std::unique_ptr<EffectInstance> effect;
  std::unique_ptr<GLCallRecorder> recorder;
};

TEST_F(EffectFrame, SetsTheTenUniformsByNameInOrderWithTheDefaults) {
  const std::vector<UniformSet> sets = Frame();
  ASSERT_EQ(sets.size(), 10u);
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(sets[i].name, kUniformOrder[i]);
  const std::vector<std::vector<float>> expected = {{0.0f}, {1.0f, 1.0f}, {1.0f}, {5.0f}, {0.0f},
                                                    {1.0f / 60.0f}, {0.0f}, {0.0f}, {0.0f}, {0.0f}};
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(sets[i].values, expected[i]) << sets[i].name;
  EXPECT_TRUE(sets[0].integer && sets[3].integer) << "InputTexture and Colormap are integers";
  EXPECT_EQ(recorder->Count("glGetUniformLocation"), 10u) << "every location is looked up afresh";
}

TEST_F(EffectFrame, MakesItsCallsInOrderAndLeavesOnlyFramebufferAndViewport) {
  Frame();
  // glBindTexture, glViewport and glDrawArrays are direct exports and not seen here.
  std::vector<std::string> expected = {"glBindFramebuffer", "glUseProgram", "glActiveTexture"};
  for (int i = 0; i < 10; ++i) {
    expected.push_back("glGetUniformLocation");
    expected.push_back(i == 0 || i == 3 ? "glUniform1i" : i == 1 ? "glUniform2f" : "glUniform1f");
  }
  expected.insert(expected.end(), {"glBindVertexArray", "glBindVertexArray", "glActiveTexture", "glUseProgram"});
  EXPECT_EQ(recorder->Names(), expected);
  const std::vector<GLCall>& calls = recorder->Calls();
  ASSERT_EQ(calls.size(), expected.size());
  EXPECT_EQ(calls[0].arguments, (std::vector<std::string>{std::to_string(GL_FRAMEBUFFER), std::to_string(target->Name())}));
  EXPECT_EQ(calls[2].arguments, (std::vector<std::string>{std::to_string(GL_TEXTURE0)}));
  EXPECT_EQ(calls[calls.size() - 1].arguments, (std::vector<std::string>{"0"}));

  GLint value = -1;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &value);
  EXPECT_EQ(value, static_cast<GLint>(target->Name())) << "the host's framebuffer stays bound";
  glGetIntegerv(GL_CURRENT_PROGRAM, &value);
  EXPECT_EQ(value, 0);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
  EXPECT_EQ(value, 0);
  glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
  EXPECT_EQ(value, GL_TEXTURE0);
  glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &value);
  EXPECT_EQ(value, 0);
}

TEST_F(EffectFrame, ViewportAndMaxUVFollowTheAllocatedTexture) {
  // A 1280 x 720 picture in a 2048 x 1024 texture.
  GLuint large = 0;
  glGenTextures(1, &large);
  glBindTexture(GL_TEXTURE_2D, large);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, 2048, 1024, 0, GL_RED, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  input = TextureDescriptor{1280, 720, 2048, 1024, large};
  const std::vector<UniformSet> sets = Frame();
  ASSERT_EQ(sets.size(), 10u);
  EXPECT_EQ(sets[1].values, (std::vector<float>{0.625f, 0.703125f}));
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 0, 2048, 1024}));
  glDeleteTextures(1, &large);
}

TEST_F(EffectFrame, ColormapIsRoundedHalfUpByTruncation) {
  const struct {
    float value;
    float sent;
  } cases[] = {{2.4f, 2.0f}, {2.5f, 3.0f}, {-0.4f, 0.0f}, {5.0f, 5.0f}, {4.49f, 4.0f}, {-1.6f, -1.0f}, {0.0f, 0.0f}};
  for (const auto& c : cases) {
    ASSERT_EQ(effect->SetParameter(0, c.value), 0u);
    EXPECT_EQ(FrameValue("Colormap"), c.sent) << "colormap " << c.value;
    EXPECT_EQ(effect->GetParameter(0), c.value) << "the value itself is kept";
  }
}

TEST_F(EffectFrame, ParametersAreStoredUnchangedAndSentAsGiven) {
  const struct {
    uint32_t index;
    const char* uniform;
    float value;
  } cases[] = {{1, "Blend", 1.5f},        {2, "ShowEdges", 0.5f},   {3, "DepthSweep", -0.25f},
               {4, "LumaPulse", 3.0f},    {5, "ColormapCycle", 0.125f}, {6, "IsolateBand", 2.0f}};
  for (const auto& c : cases) {
    ASSERT_EQ(effect->SetParameter(c.index, c.value), 0u);
    EXPECT_EQ(effect->GetParameter(c.index), c.value) << c.uniform;
    EXPECT_EQ(FrameValue(c.uniform), c.value) << c.uniform;
  }
}

TEST_F(EffectFrame, IndexAbove7IsRefusedAndChangesNothing) {
  float before[8];
  for (uint32_t i = 0; i < 8; ++i) before[i] = effect->GetParameter(i);
  EXPECT_EQ(effect->SetParameter(8, 0.75f), kFailureAnswer);
  EXPECT_EQ(effect->SetParameter(1000, 0.75f), kFailureAnswer);
  EXPECT_EQ(effect->GetParameter(8), 0.0f);
  for (uint32_t i = 0; i < 8; ++i) EXPECT_EQ(effect->GetParameter(i), before[i]) << "parameter " << i;
}

TEST_F(EffectFrame, ClockStepsBySpeedTimesTwoSixtiethsPerFrame) {
  EXPECT_EQ(FrameValue("Time"), static_cast<float>(1.0 / 60.0)) << "the first frame already counts";
  EXPECT_EQ(FrameValue("Time"), static_cast<float>(2.0 / 60.0));
  ASSERT_EQ(effect->SetParameter(7, 1.5f), 0u);
  EXPECT_FLOAT_EQ(FrameValue("Time"), static_cast<float>(2.0 / 60.0 + 3.0 / 60.0));
  ASSERT_EQ(effect->SetParameter(7, 0.0f), 0u);
  const float frozen = FrameValue("Time");
  EXPECT_EQ(FrameValue("Time"), frozen) << "speed 0 freezes the clock";
  EXPECT_EQ(FrameValue("Time"), frozen);
}

TEST_F(EffectFrame, NegativeSpeedRunsTheClockBelowZero) {
  ASSERT_EQ(effect->SetParameter(7, -0.5f), 0u);
  EXPECT_EQ(effect->GetParameter(7), -0.5f);
  EXPECT_FLOAT_EQ(FrameValue("Time"), -1.0f / 60.0f);
  Frame();
  EXPECT_FLOAT_EQ(FrameValue("Time"), -3.0f / 60.0f);
}

TEST_F(EffectFrame, TimeWrapsAt100000WhileTheClockKeepsGrowing) {
  // One step of speed x 2/60 = 100001 time units.
  ASSERT_EQ(effect->SetParameter(7, 3000030.0f), 0u);
  EXPECT_EQ(effect->GetParameter(7), 3000030.0f);
  EXPECT_NEAR(FrameValue("Time"), 1.0f, 1e-4);
  EXPECT_NEAR(FrameValue("Time"), 2.0f, 1e-4);
  ASSERT_EQ(effect->SetParameter(7, 0.5f), 0u);
  EXPECT_NEAR(FrameValue("Time"), 2.0f + 1.0f / 60.0f, 1e-4) << "the clock was not reset by the wrap";
}

TEST_F(EffectFrame, TimeIsTheWrappedDoubleClockConvertedToFloat) {
  // After many small steps the float "Time" must equal the double clock
  // rounded once, not a float sum of the steps.
  ClockModel clock;
  ASSERT_EQ(effect->SetParameter(7, 0.3f), 0u);
  float time = 0.0f;
  for (int i = 0; i < 500; ++i) {
    time = FrameValue("Time");
    clock.Frame(0.3f);
  }
  EXPECT_EQ(time, clock.Time());
}

TEST_F(EffectFrame, RefusedFramesMakeNoGLCallAndDoNotAdvanceTheClock) {
  EXPECT_EQ(FrameValue("Time"), static_cast<float>(1.0 / 60.0));
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  recorder->Clear();
  EXPECT_EQ(effect->RenderWithoutInputs(target->Name()), kFailureAnswer);
  EXPECT_EQ(effect->Render(nullptr, target->Name()), kFailureAnswer);
  FrameRenderRequest countWithoutArray{};
  countWithoutArray.inputTextureCount = 1;
  countWithoutArray.hostFramebuffer = target->Name();
  EXPECT_EQ(CallWith(kRenderFrame, &countWithoutArray, effect->Handle()), kFailureAnswer);
  EXPECT_EQ(recorder->Total(), 0u);
  GLint framebuffer = -1;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
  EXPECT_EQ(framebuffer, 0) << "the host's framebuffer was not bound";
  EXPECT_EQ(FrameValue("Time"), static_cast<float>(2.0 / 60.0)) << "one step, not three";
}

}  // namespace
}  // namespace qvx::test

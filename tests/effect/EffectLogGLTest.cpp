// The three texts InitGL sends to the host's log callback. Shader and quad
// failures are forced by swapping GLEW's entry points on top of the real
// driver: a broken fragment text for the compiler, a vertex array name of 0.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/Exports.h"
#include "host/FunctionCodes.h"
#include "host/HostRecords.h"
#include "tests/support/GLCallRecorder.h"
#include "tests/support/GLContext.h"
#include "tests/support/PlugMainCalls.h"

namespace qvx::test {
namespace {

std::vector<std::string> received;
void Receive(const char* text) { received.push_back(text); }

const char* const kBrokenFragment = "#version 410 core\nout vec4 fragColor;\nvoid main() { fragColor = nope; }\n";

// Hands the compiler a broken text in place of the fragment stage.
void GLAPIENTRY BreakFragmentSource(GLuint shader, GLsizei count, const GLchar* const* sources, const GLint* lengths) {
  GLint type = 0;
  glGetShaderiv(shader, GL_SHADER_TYPE, &type);
  const GLchar* const broken[1] = {kBrokenFragment};
  GLCallRecorder::Original<&__glewShaderSource>()(shader, type == GL_FRAGMENT_SHADER ? 1 : count,
                                                   type == GL_FRAGMENT_SHADER ? broken : sources,
                                                   type == GL_FRAGMENT_SHADER ? nullptr : lengths);
}

void GLAPIENTRY NoVertexArrays(GLsizei count, GLuint* arrays) {
  for (GLsizei i = 0; i < count; ++i) arrays[i] = 0;
}

class EffectLog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(context.Valid()) << context.Error();
    ASSERT_TRUE(LoadGLForTests());
    // The module loads GLEW's pointers at its first instance and would
    // overwrite a swap made earlier, so let that happen first (unheard).
    SetLogCallback(nullptr);
    ASSERT_TRUE(Create());
    received.clear();
  }
  void TearDown() override { SetLogCallback(nullptr); }

  // Code 18; destroys a made instance at once. Answers whether one was made.
  bool Create() {
    Viewport viewport{0, 0, 32, 32};
    const uint64_t answer = CallWith(kCreateInstance, &viewport);
    if (answer == kFailureAnswer) return false;
    Call(kDestroyInstance, 0, AsHandle(answer));
    return true;
  }

  GlxContext context;
};

TEST_F(EffectLog, SuccessfulInitGLSaysSo) {
  SetLogCallback(Receive);
  EXPECT_TRUE(Create());
  EXPECT_EQ(received, (std::vector<std::string>{"Quorvalentix v3.0: InitGL OK"}));
}

TEST_F(EffectLog, ShaderFailureIsReportedAndCreationFails) {
  SetLogCallback(Receive);
  GLCallRecorder recorder;
  recorder.Substitute<&__glewShaderSource>(BreakFragmentSource);
  EXPECT_FALSE(Create());
  EXPECT_EQ(received, (std::vector<std::string>{"Quorvalentix: shader compile failed"}));
  EXPECT_EQ(recorder.Count("glGenVertexArrays"), 0u) << "no quad after a failed program";
  EXPECT_EQ(recorder.Count("glCreateShader"), recorder.Count("glDeleteShader"));
}

TEST_F(EffectLog, QuadFailureIsReportedAndTheBuiltProgramIsDeleted) {
  SetLogCallback(Receive);
  GLCallRecorder recorder;
  recorder.Substitute<&__glewGenVertexArrays>(NoVertexArrays);
  EXPECT_FALSE(Create());
  EXPECT_EQ(received, (std::vector<std::string>{"Quorvalentix: quad init failed"}));
  EXPECT_EQ(recorder.Count("glCreateProgram"), 1u);
  EXPECT_EQ(recorder.Count("glDeleteProgram"), 1u) << "ReleaseGL deletes the program InitGL left";
  EXPECT_EQ(recorder.Count("glDeleteShader"), 2u);
}

TEST_F(EffectLog, NothingIsSentOrWrittenWithoutACallback) {
  SetLogCallback(Receive);
  SetLogCallback(nullptr);
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(Create());
  {
    GLCallRecorder recorder;
    recorder.Substitute<&__glewGenVertexArrays>(NoVertexArrays);
    EXPECT_FALSE(Create());
  }
  {
    GLCallRecorder recorder;
    recorder.Substitute<&__glewShaderSource>(BreakFragmentSource);
    EXPECT_FALSE(Create());
  }
  const std::string output = ::testing::internal::GetCapturedStdout() + ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(received.empty());
  EXPECT_EQ(output.find("Quorvalentix"), std::string::npos) << output;
  // The compiler's message still goes to the shader-error log, never to the host.
  EXPECT_NE(output.find("Fragment Shader error: "), std::string::npos) << output;
}

}  // namespace
}  // namespace qvx::test

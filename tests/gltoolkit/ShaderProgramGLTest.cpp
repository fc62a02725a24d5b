// The shader program against Mesa's real compiler and linker. Messages are
// read from standard output, where the shader-error log writes each as one
// line; expected logs come from compiling the same texts with plain GL calls.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "ffglex/ScopedBindings.h"
#include "ffglex/ShaderProgram.h"
#include "tests/gltoolkit/ToolkitTestSupport.h"
#include "tests/support/GLCallRecorder.h"

namespace qvx::test {
namespace {

constexpr const char* kVertexPrefix = "Vertex Shader error: ";
constexpr const char* kFragmentPrefix = "Fragment Shader error: ";
constexpr size_t kLinkLogLimit = 1022;

template <typename Action>
std::string StdoutOf(Action&& action) {
  ::testing::internal::CaptureStdout();
  action();
  return ::testing::internal::GetCapturedStdout();
}

const char* const kBrokenVertexShader = R"(#version 410 core
void main() { gl_Position = undeclaredPosition; }
)";

const char* const kBrokenFragmentShader = R"(#version 410 core
out vec4 colour;
void main() { colour = vec3(1.0); }
)";

// Each compiles; the interface between them does not match.
const char* const kMismatchedVertexShader = R"(#version 410 core
out float shade;
void main() { gl_Position = vec4(0.0); shade = 1.0; }
)";
const char* const kMismatchedFragmentShader = R"(#version 410 core
in vec2 shade;
out vec4 colour;
void main() { colour = vec4(shade, 0.0, 1.0); }
)";

// Forty mismatched varyings: the linker reports each, which makes a log of
// several thousand characters.
std::string ManyMismatchesVertexShader() {
  std::string text = "#version 410 core\n";
  std::string body = "void main() {\n  gl_Position = vec4(0.0);\n";
  for (int i = 0; i < 40; ++i) {
    const std::string name = "mismatchedVaryingWithARatherLongName" + std::to_string(i);
    text += "out float " + name + ";\n";
    body += "  " + name + " = 1.0;\n";
  }
  return text + body + "}\n";
}
std::string ManyMismatchesFragmentShader() {
  std::string text = "#version 410 core\nout vec4 colour;\n";
  std::string sum = "vec2(0.0)";
  for (int i = 0; i < 40; ++i) {
    const std::string name = "mismatchedVaryingWithARatherLongName" + std::to_string(i);
    text += "in vec2 " + name + ";\n";
    sum += " + " + name;
  }
  return text + "void main() { colour = vec4(" + sum + ", 0.0, 1.0); }\n";
}

const char* const kUniformFragmentShader = R"(#version 410 core
uniform int frameIndex;
uniform float amount;
uniform vec2 offset;
out vec4 colour;
void main() { colour = vec4(float(frameIndex), amount, offset); }
)";

std::vector<GLuint> ResultsOf(const GLCallRecorder& recorder, const std::string& name) {
  std::vector<GLuint> names;
  for (const GLCall& call : recorder.Calls())
    if (call.name == name) names.push_back(static_cast<GLuint>(std::stoul(call.result)));
  return names;
}

std::vector<GLuint> FirstArgumentsOf(const GLCallRecorder& recorder, const std::string& name) {
  std::vector<GLuint> names;
  for (const GLCall& call : recorder.Calls())
    if (call.name == name) names.push_back(static_cast<GLuint>(std::stoul(call.arguments[0])));
  return names;
}

bool CalledWithName(const GLCallRecorder& recorder, const std::string& call, const std::string& firstArgument) {
  const std::vector<GLCall>& calls = recorder.Calls();
  return std::any_of(calls.begin(), calls.end(),
                     [&](const GLCall& c) { return c.name == call && c.arguments[0] == firstArgument; });
}

using Names = std::vector<std::string>;

class ShaderProgramTest : public GLToolkitTest {
 protected:
  // Every shader and program the recorder saw made was deleted, and the GL
  // knows none of them any more.
  static void ExpectEverythingCreatedDeleted(const GLCallRecorder& recorder) {
    std::vector<GLuint> created = ResultsOf(recorder, "glCreateShader");
    std::vector<GLuint> deleted = FirstArgumentsOf(recorder, "glDeleteShader");
    created.erase(std::remove(created.begin(), created.end(), 0u), created.end());
    EXPECT_EQ(std::multiset<GLuint>(created.begin(), created.end()),
              std::multiset<GLuint>(deleted.begin(), deleted.end()));
    for (GLuint shader : created) EXPECT_FALSE(glIsShader(shader)) << "shader " << shader << " left behind";

    std::vector<GLuint> programs = ResultsOf(recorder, "glCreateProgram");
    programs.erase(std::remove(programs.begin(), programs.end(), 0u), programs.end());
    EXPECT_EQ(programs, FirstArgumentsOf(recorder, "glDeleteProgram"));
    for (GLuint program : programs) EXPECT_FALSE(glIsProgram(program)) << "program " << program << " left behind";
  }

  // Release makes a call for every nonzero name, so a silent one shows that
  // all four are 0. Clears the recorder.
  static void ExpectAllNamesZero(ffglex::ShaderProgram& program, GLCallRecorder& recorder) {
    EXPECT_EQ(program.GetProgramName(), 0u);
    recorder.Clear();
    program.Release();
    EXPECT_EQ(recorder.Names(), Names{}) << "a name was left nonzero";
  }
};

TEST_F(ShaderProgramTest, BuildLinksBothStagesAndReleaseDeletesShadersThenProgram) {
  ffglex::ShaderProgram program;
  GLCallRecorder recorder;
  const std::string output = StdoutOf([&] {
    EXPECT_TRUE(program.Build(kPassThroughVertexShader, kTexCoordFragmentShader));
  });
  EXPECT_EQ(output, "");

  const GLuint name = program.GetProgramName();
  ASSERT_NE(name, 0u);
  GLint linked = GL_FALSE, attached = 0;
  glGetProgramiv(name, GL_LINK_STATUS, &linked);
  glGetProgramiv(name, GL_ATTACHED_SHADERS, &attached);
  EXPECT_EQ(linked, GL_TRUE);
  EXPECT_EQ(attached, 2);
  const std::vector<GLuint> shaders = ResultsOf(recorder, "glCreateShader");
  ASSERT_EQ(shaders.size(), 2u);  // vertex, then fragment

  recorder.Clear();
  program.Release();
  ASSERT_EQ(recorder.Names(), (Names{"glDeleteShader", "glDeleteShader", "glDeleteProgram"}));
  EXPECT_EQ(recorder.Calls()[0].arguments[0], std::to_string(shaders[0]));
  EXPECT_EQ(recorder.Calls()[1].arguments[0], std::to_string(shaders[1]));
  EXPECT_EQ(recorder.Calls()[2].arguments[0], std::to_string(name));
  EXPECT_FALSE(glIsProgram(name));
  EXPECT_FALSE(glIsShader(shaders[0]));
  EXPECT_FALSE(glIsShader(shaders[1]));

  recorder.Clear();
  program.Release();
  EXPECT_EQ(recorder.Total(), 0u) << "a second Release made GL calls";
  EXPECT_EQ(program.GetProgramName(), 0u);
}

struct MissingSourceCase {
  const char* name;
  const char* vertexSource;
  const char* fragmentSource;
};

void PrintTo(const MissingSourceCase& row, std::ostream* out) { *out << row.name; }

class ShaderProgramMissingSourceTest : public ShaderProgramTest,
                                       public ::testing::WithParamInterface<MissingSourceCase> {};

TEST_P(ShaderProgramMissingSourceTest, AnswersFalseWithNoGLCallAndNoMessage) {
  ffglex::ShaderProgram program;
  GLCallRecorder recorder;
  const std::string output = StdoutOf([&] {
    EXPECT_FALSE(program.Build(GetParam().vertexSource, GetParam().fragmentSource));
  });
  EXPECT_EQ(recorder.Names(), Names{});
  EXPECT_EQ(output, "");
  EXPECT_EQ(program.GetProgramName(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    NullOrEmpty, ShaderProgramMissingSourceTest,
    ::testing::Values(MissingSourceCase{"NullVertex", nullptr, kTexCoordFragmentShader},
                      MissingSourceCase{"EmptyVertex", "", kTexCoordFragmentShader},
                      MissingSourceCase{"NullFragment", kPassThroughVertexShader, nullptr},
                      MissingSourceCase{"EmptyFragment", kPassThroughVertexShader, ""},
                      MissingSourceCase{"BothNull", nullptr, nullptr}),
    CaseName<MissingSourceCase>);

TEST_F(ShaderProgramTest, AFailedSourceCheckLeavesABuiltProgramAsItWas) {
  ffglex::ShaderProgram program;
  ASSERT_TRUE(program.Build(kPassThroughVertexShader, kTexCoordFragmentShader));
  const GLuint name = program.GetProgramName();

  EXPECT_FALSE(program.Build("", kTexCoordFragmentShader));

  EXPECT_EQ(program.GetProgramName(), name);
  EXPECT_TRUE(glIsProgram(name));
  program.Release();
}

struct BuildFailureCase {
  const char* name;
  std::string vertexSource;
  std::string fragmentSource;
  const char* prefix;
  // The log the message must carry, found independently of the toolkit.
  std::string (*expectedLog)(const std::string& vertex, const std::string& fragment);
  size_t shadersCreated;
};

std::string VertexLog(const std::string& vertex, const std::string&) {
  return CompileLogOf(GL_VERTEX_SHADER, vertex.c_str());
}
std::string FragmentLog(const std::string&, const std::string& fragment) {
  return CompileLogOf(GL_FRAGMENT_SHADER, fragment.c_str());
}
std::string LinkLog(const std::string& vertex, const std::string& fragment) {
  return LinkLogOf(vertex.c_str(), fragment.c_str());
}

void PrintTo(const BuildFailureCase& row, std::ostream* out) { *out << row.name; }

class ShaderProgramFailureTest : public ShaderProgramTest, public ::testing::WithParamInterface<BuildFailureCase> {};

TEST_P(ShaderProgramFailureTest, SendsOneMessageWithThePrefixAndLeavesNothingBehind) {
  const BuildFailureCase& failure = GetParam();
  const std::string fullLog = failure.expectedLog(failure.vertexSource, failure.fragmentSource);
  ASSERT_FALSE(fullLog.empty()) << "the driver gave no log to compare with";
  const std::string expectedLog = fullLog.substr(0, kLinkLogLimit);

  ffglex::ShaderProgram program;
  GLCallRecorder recorder;
  const std::string output = StdoutOf([&] {
    EXPECT_FALSE(program.Build(failure.vertexSource.c_str(), failure.fragmentSource.c_str()));
  });

  EXPECT_EQ(output, failure.prefix + expectedLog + "\n");
  EXPECT_EQ(recorder.Count("glCreateShader"), failure.shadersCreated);
  EXPECT_EQ(recorder.Count("glDetachShader"), 0u);
  ExpectEverythingCreatedDeleted(recorder);
  ExpectAllNamesZero(program, recorder);
}

INSTANTIATE_TEST_SUITE_P(
    CompileAndLink, ShaderProgramFailureTest,
    ::testing::Values(
        // The fragment stage is never compiled after a vertex failure.
        BuildFailureCase{"VertexCompileError", kBrokenVertexShader, kTexCoordFragmentShader, kVertexPrefix,
                         VertexLog, 1},
        BuildFailureCase{"FragmentCompileError", kPassThroughVertexShader, kBrokenFragmentShader, kFragmentPrefix,
                         FragmentLog, 2},
        // Link failures carry the fragment prefix.
        BuildFailureCase{"LinkError", kMismatchedVertexShader, kMismatchedFragmentShader, kFragmentPrefix,
                         LinkLog, 2},
        BuildFailureCase{"LongLinkLogIsCut", ManyMismatchesVertexShader(), ManyMismatchesFragmentShader(),
                         kFragmentPrefix, LinkLog, 2}),
    CaseName<BuildFailureCase>);

// The premise of the cut: Mesa's log for the short case fits, the long one
// does not, so the table above tests both sides of the 1022-character limit.
TEST_F(ShaderProgramTest, LinkLogsOnBothSidesOfTheLimit) {
  EXPECT_LT(LinkLogOf(kMismatchedVertexShader, kMismatchedFragmentShader).size(), kLinkLogLimit);
  EXPECT_GT(LinkLogOf(ManyMismatchesVertexShader().c_str(), ManyMismatchesFragmentShader().c_str()).size(),
            kLinkLogLimit);
}

// A driver with no log for a failed compile: the answer is the prefix alone.
void GLAPIENTRY GetShaderivWithoutLog(GLuint shader, GLenum parameter, GLint* value) {
  GLCallRecorder::Original<&__glewGetShaderiv>()(shader, parameter, value);
  if (parameter == GL_INFO_LOG_LENGTH) *value = 0;
}

TEST_F(ShaderProgramTest, ACompileFailureWithAnEmptyLogSendsThePrefixAlone) {
  ffglex::ShaderProgram program;
  GLCallRecorder recorder;
  recorder.Substitute<&__glewGetShaderiv>(GetShaderivWithoutLog);

  const std::string output = StdoutOf([&] {
    EXPECT_FALSE(program.Build(kBrokenVertexShader, kTexCoordFragmentShader));
  });

  EXPECT_EQ(output, std::string(kVertexPrefix) + "\n");
  ExpectEverythingCreatedDeleted(recorder);
}

// A GL that hands back name 0 (no current context, resources exhausted).
GLenum refusedShaderType = 0;
GLuint GLAPIENTRY CreateShaderRefusing(GLenum type) {
  return type == refusedShaderType ? 0 : GLCallRecorder::Original<&__glewCreateShader>()(type);
}
GLuint GLAPIENTRY CreateProgramRefusing() { return 0; }

struct NoObjectCase {
  const char* name;
  GLenum refusedShader;  // 0: the program is refused instead
  std::string expectedOutput;
  size_t shadersDeleted;
};

void PrintTo(const NoObjectCase& row, std::ostream* out) { *out << row.name; }

class ShaderProgramNoObjectTest : public ShaderProgramTest, public ::testing::WithParamInterface<NoObjectCase> {};

TEST_P(ShaderProgramNoObjectTest, TheStageFailsWithoutQueryingNameZero) {
  const NoObjectCase& refusal = GetParam();
  ffglex::ShaderProgram program;
  GLCallRecorder recorder;
  if (refusal.refusedShader != 0) {
    refusedShaderType = refusal.refusedShader;
    recorder.Substitute<&__glewCreateShader>(CreateShaderRefusing);
  } else {
    recorder.Substitute<&__glewCreateProgram>(CreateProgramRefusing);
  }

  const std::string output = StdoutOf([&] {
    EXPECT_FALSE(program.Build(kPassThroughVertexShader, kTexCoordFragmentShader));
  });

  EXPECT_EQ(output, refusal.expectedOutput);
  for (const char* call : {"glShaderSource", "glCompileShader", "glGetShaderiv", "glGetShaderInfoLog",
                           "glAttachShader", "glLinkProgram", "glGetProgramiv", "glGetProgramInfoLog",
                           "glDeleteShader", "glDeleteProgram"})
    EXPECT_FALSE(CalledWithName(recorder, call, "0")) << call << " was given name 0";
  if (refusal.refusedShader == 0) {
    EXPECT_EQ(recorder.Count("glAttachShader"), 0u);
    EXPECT_EQ(recorder.Count("glLinkProgram"), 0u);
  }
  EXPECT_EQ(recorder.Count("glDeleteShader"), refusal.shadersDeleted);
  ExpectEverythingCreatedDeleted(recorder);
  ExpectAllNamesZero(program, recorder);
}

INSTANTIATE_TEST_SUITE_P(
    NameZero, ShaderProgramNoObjectTest,
    ::testing::Values(
        NoObjectCase{"VertexShader", GL_VERTEX_SHADER,
                     std::string(kVertexPrefix) + "glCreateShader returned no shader object\n", 0},
        NoObjectCase{"FragmentShader", GL_FRAGMENT_SHADER,
                     std::string(kFragmentPrefix) + "glCreateShader returned no shader object\n", 1},
        NoObjectCase{"Program", 0, std::string(kFragmentPrefix) + "glCreateProgram returned no program object\n",
                     2}),
    CaseName<NoObjectCase>);

class ShaderProgramUniformTest : public ShaderProgramTest {
 protected:
  void SetUp() override {
    ShaderProgramTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(program.Build(kPassThroughVertexShader, kUniformFragmentShader));
  }
  void TearDown() override {
    glUseProgram(0);
    program.Release();
    ShaderProgramTest::TearDown();
  }

  GLint IntUniform(GLuint name, const char* uniform) const {
    GLint value = -1;
    glGetUniformiv(name, glGetUniformLocation(name, uniform), &value);
    return value;
  }
  std::vector<float> FloatUniform(GLuint name, const char* uniform, size_t count) const {
    std::vector<float> values(count, -1.0f);
    glGetUniformfv(name, glGetUniformLocation(name, uniform), values.data());
    return values;
  }

  ffglex::ShaderProgram program;
};

TEST_F(ShaderProgramUniformTest, SettersWriteByNameLookingTheLocationUpEveryCall) {
  const GLuint name = program.GetProgramName();
  ffglex::ScopedProgramBinding inUse(name);
  GLCallRecorder recorder;

  program.SetUniformInt("frameIndex", 7);
  program.SetUniformFloat("amount", 0.25f);
  program.SetUniformVec2("offset", 1.5f, -2.0f);
  program.SetUniformFloat("amount", 0.75f);

  ASSERT_EQ(recorder.Names(), (Names{"glGetUniformLocation", "glUniform1i", "glGetUniformLocation", "glUniform1f",
                                     "glGetUniformLocation", "glUniform2f", "glGetUniformLocation", "glUniform1f"}));
  EXPECT_EQ(recorder.Calls()[6].arguments, (std::vector<std::string>{std::to_string(name), "amount"}));
  EXPECT_EQ(IntUniform(name, "frameIndex"), 7);
  EXPECT_EQ(FloatUniform(name, "amount", 1), std::vector<float>{0.75f});
  EXPECT_EQ(FloatUniform(name, "offset", 2), (std::vector<float>{1.5f, -2.0f}));
}

TEST_F(ShaderProgramUniformTest, AMissingNameChangesNothingAndReportsNothing) {
  const GLuint name = program.GetProgramName();
  ffglex::ScopedProgramBinding inUse(name);
  program.SetUniformInt("frameIndex", 3);
  program.SetUniformFloat("amount", 0.5f);
  program.SetUniformVec2("offset", 0.125f, 0.25f);

  const std::string output = StdoutOf([&] {
    program.SetUniformInt("absent", 99);
    program.SetUniformFloat("absent", 9.0f);
    program.SetUniformVec2("absent", 9.0f, 9.0f);
  });

  EXPECT_EQ(output, "");
  EXPECT_EQ(IntUniform(name, "frameIndex"), 3);
  EXPECT_EQ(FloatUniform(name, "amount", 1), std::vector<float>{0.5f});
  EXPECT_EQ(FloatUniform(name, "offset", 2), (std::vector<float>{0.125f, 0.25f}));
  // TearDown checks that the GL raised no error either.
}

TEST_F(ShaderProgramUniformTest, ASetterWritesIntoWhicheverProgramIsInUse) {
  const char* const otherFragmentShader = R"(#version 410 core
uniform float gain;
out vec4 colour;
void main() { colour = vec4(gain); }
)";
  const char* const ownFragmentShader = R"(#version 410 core
uniform float amount;
out vec4 colour;
void main() { colour = vec4(amount); }
)";
  ffglex::ShaderProgram own;
  ASSERT_TRUE(own.Build(kPassThroughVertexShader, ownFragmentShader));
  const GLuint other = LinkProgram(kPassThroughVertexShader, otherFragmentShader);
  ASSERT_EQ(glGetUniformLocation(own.GetProgramName(), "amount"), glGetUniformLocation(other, "gain"))
      << "premise: the two uniforms share a location";

  {
    ffglex::ScopedProgramBinding inUse(other);
    own.SetUniformFloat("amount", 2.5f);
  }

  EXPECT_EQ(FloatUniform(other, "gain", 1), std::vector<float>{2.5f});
  EXPECT_EQ(FloatUniform(own.GetProgramName(), "amount", 1), std::vector<float>{0.0f});
  own.Release();
  glDeleteProgram(other);
}

}  // namespace
}  // namespace qvx::test

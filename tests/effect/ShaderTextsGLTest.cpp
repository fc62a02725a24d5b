// The two shader texts compile and link as GLSL 4.10 core under the
// reference front end (glslangValidator) and under Mesa, and show the
// interface the effect relies on: attribute locations, the ten uniforms with
// their types, the one output.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "effect/DepthShaders.h"
#include "tests/support/GLContext.h"

namespace qvx::test {
namespace {

TEST(DepthShaderTexts, BeginWithTheVersionLine) {
  const std::string version = "#version 410 core\n";
  EXPECT_EQ(std::string(depthVertexShaderText).rfind(version, 0), 0u);
  EXPECT_EQ(std::string(depthFragmentShaderText).rfind(version, 0), 0u);
}

TEST(DepthShaderTexts, CompileAndLinkUnderGlslangValidator) {
  const std::string validator = QVX_GLSLANG_VALIDATOR;
  ASSERT_FALSE(validator.empty()) << "glslangValidator was not found: run scripts/bootstrap (glslang-tools)";
  const std::string directory = ::testing::TempDir();
  const std::string vertexPath = directory + "qvx_depth.vert";
  const std::string fragmentPath = directory + "qvx_depth.frag";
  std::ofstream(vertexPath) << depthVertexShaderText;
  std::ofstream(fragmentPath) << depthFragmentShaderText;
  // -l links the two stages, so the varying and the outputs must match too.
  const std::string command = "'" + validator + "' -l '" + vertexPath + "' '" + fragmentPath + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

GLuint CompileStage(GLenum type, const char* text) {
  const GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint status = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
  if (status != GL_TRUE) {
    char log[2048] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    ADD_FAILURE() << log;
  }
  return shader;
}

TEST(DepthShaderTexts, CompileUnderMesaWithTheDocumentedInterface) {
  GlxContext context;
  ASSERT_TRUE(context.Valid()) << context.Error();
  ASSERT_TRUE(LoadGLForTests());
  const GLuint vertex = CompileStage(GL_VERTEX_SHADER, depthVertexShaderText);
  const GLuint fragment = CompileStage(GL_FRAGMENT_SHADER, depthFragmentShaderText);
  const GLuint program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  GLint linked = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &linked);
  ASSERT_EQ(linked, GL_TRUE);

  EXPECT_EQ(glGetAttribLocation(program, "vPosition"), 0);
  EXPECT_EQ(glGetAttribLocation(program, "vUV"), 1);
  EXPECT_EQ(glGetFragDataLocation(program, "fragColor"), 0);

  std::map<std::string, GLenum> uniforms;
  GLint count = 0;
  glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
  for (GLint i = 0; i < count; ++i) {
    char name[64] = {};
    GLint size = 0;
    GLenum type = 0;
    glGetActiveUniform(program, static_cast<GLuint>(i), sizeof name, nullptr, &size, &type, name);
    uniforms[name] = type;
  }
  const std::map<std::string, GLenum> expected = {
      {"InputTexture", GL_SAMPLER_2D}, {"MaxUV", GL_FLOAT_VEC2},    {"Blend", GL_FLOAT},
      {"Colormap", GL_INT},            {"ShowEdges", GL_FLOAT},     {"Time", GL_FLOAT},
      {"DepthSweep", GL_FLOAT},        {"LumaPulse", GL_FLOAT},     {"ColormapCycle", GL_FLOAT},
      {"IsolateBand", GL_FLOAT}};
  EXPECT_EQ(uniforms, expected) << "every uniform is used, so none may be optimised away";

  glDeleteShader(vertex);
  glDeleteShader(fragment);
  glDeleteProgram(program);
}

}  // namespace
}  // namespace qvx::test

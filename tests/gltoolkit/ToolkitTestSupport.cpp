#include "tests/gltoolkit/ToolkitTestSupport.h"

#include <X11/Xlib.h>

namespace qvx::test {

const char* const kPassThroughVertexShader = R"(#version 410 core
layout(location = 0) in vec4 position;
layout(location = 1) in vec2 texCoord;
out vec2 uv;
void main() {
  gl_Position = position;
  uv = texCoord;
}
)";

const char* const kTexCoordFragmentShader = R"(#version 410 core
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(uv, 0.0, 1.0); }
)";

GLToolkitTest::XServerKeepAlive::XServerKeepAlive() {
  static Display* const connection = XOpenDisplay(nullptr);
  (void)connection;
}

void GLToolkitTest::SetUp() {
  ASSERT_TRUE(context.Valid()) << context.Error();
  ASSERT_TRUE(LoadGLForTests()) << "GLEW could not load the OpenGL entry points";
  while (glGetError() != GL_NO_ERROR) {
  }
}

void GLToolkitTest::TearDown() {
  if (context.Valid()) {
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}

GLint GetInteger(GLenum state) {
  GLint value = -1;
  glGetIntegerv(state, &value);
  return value;
}

GLint TextureBindingOnUnit(GLuint unit) {
  const GLint active = GetInteger(GL_ACTIVE_TEXTURE);
  glActiveTexture(GL_TEXTURE0 + unit);
  const GLint binding = GetInteger(GL_TEXTURE_BINDING_2D);
  glActiveTexture(static_cast<GLenum>(active));
  return binding;
}

FloatTarget::FloatTarget(int width_, int height_) : width(width_), height(height_) {
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glBindTexture(GL_TEXTURE_2D, 0);
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
  EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
  glViewport(0, 0, width, height);
}

FloatTarget::~FloatTarget() {
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glDeleteFramebuffers(1, &framebuffer);
  glDeleteTextures(1, &texture);
}

void FloatTarget::Clear(float r, float g, float b, float a) {
  glClearColor(r, g, b, a);
  glClear(GL_COLOR_BUFFER_BIT);
}

std::vector<float> FloatTarget::Read() const {
  std::vector<float> pixels(static_cast<size_t>(width) * height * 4, 0.0f);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_FLOAT, pixels.data());
  return pixels;
}

namespace {

GLuint CompileShader(GLenum type, const char* source) {
  const GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  return shader;
}

std::string ShaderLog(GLuint shader) {
  GLint length = 0;
  glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
  std::string log(static_cast<size_t>(length) + 1, '\0');
  glGetShaderInfoLog(shader, length + 1, nullptr, log.data());
  return log.c_str();
}

std::string ProgramLog(GLuint program) {
  GLint length = 0;
  glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
  std::string log(static_cast<size_t>(length) + 1, '\0');
  glGetProgramInfoLog(program, length + 1, nullptr, log.data());
  return log.c_str();
}

GLuint LinkStages(const char* vertexSource, const char* fragmentSource, std::string& log) {
  const GLuint vertex = CompileShader(GL_VERTEX_SHADER, vertexSource);
  const GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, fragmentSource);
  const GLuint program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  log = ProgramLog(program);
  return program;
}

}  // namespace

std::string CompileLogOf(GLenum type, const char* source) {
  const GLuint shader = CompileShader(type, source);
  std::string log = ShaderLog(shader);
  glDeleteShader(shader);
  return log;
}

std::string LinkLogOf(const char* vertexSource, const char* fragmentSource) {
  std::string log;
  glDeleteProgram(LinkStages(vertexSource, fragmentSource, log));
  return log;
}

GLuint LinkProgram(const char* vertexSource, const char* fragmentSource) {
  std::string log;
  const GLuint program = LinkStages(vertexSource, fragmentSource, log);
  GLint status = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &status);
  if (status != GL_TRUE) {
    ADD_FAILURE() << "test program does not link: " << log;
    glDeleteProgram(program);
    return 0;
  }
  return program;
}

}  // namespace qvx::test

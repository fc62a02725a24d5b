// What the toolkit's GL tests share: a fixture with its own 4.1 core context,
// GL-state queries, a float colour target to read pixels from, shader texts
// and an independent way to compile and link them.
#pragma once

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/GLContext.h"

namespace qvx::test {

// A fresh context per test, so no binding or object leaks from one case into
// the next. Every case must leave no GL error behind.
class GLToolkitTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 private:
  // Xvfb resets itself whenever its last client disconnects, and refuses
  // connections while it does; each test's context closes its connection,
  // so one more stays open for the whole process. Made before the context.
  struct XServerKeepAlive {
    XServerKeepAlive();
  };
  XServerKeepAlive keepAlive;

 protected:
  GlxContext context;
};

GLint GetInteger(GLenum state);

// Texture unit `unit`'s GL_TEXTURE_2D binding; leaves the active unit as found.
GLint TextureBindingOnUnit(GLuint unit);

// A framebuffer whose colour is a GL_RGBA32F texture, so shaders' outputs
// come back unrounded. Construction binds it and sets the viewport to it.
class FloatTarget {
 public:
  FloatTarget(int width, int height);
  ~FloatTarget();
  FloatTarget(const FloatTarget&) = delete;
  FloatTarget& operator=(const FloatTarget&) = delete;

  void Clear(float r, float g, float b, float a);
  // RGBA per pixel, bottom row first (the GL's order).
  std::vector<float> Read() const;
  int Width() const { return width; }
  int Height() const { return height; }

 private:
  int width;
  int height;
  GLuint texture = 0;
  GLuint framebuffer = 0;
};

// Compiles one stage with plain GL calls; answers the info log ("" on success).
std::string CompileLogOf(GLenum type, const char* source);
// Compiles and links two stages with plain GL calls and answers the program's
// whole info log.
std::string LinkLogOf(const char* vertexSource, const char* fragmentSource);
// A linked program made with plain GL calls; 0 (with a test failure) if not.
GLuint LinkProgram(const char* vertexSource, const char* fragmentSource);

// Passes the quad's texture coordinate on; position at location 0, texture
// coordinate at location 1, as the effect's vertex shader takes them.
extern const char* const kPassThroughVertexShader;
// Writes the interpolated texture coordinate as red and green, alpha 1.
extern const char* const kTexCoordFragmentShader;


// Names a table-driven case after its row's `name`.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& row) {
  return row.param.name;
}

}  // namespace qvx::test

// What fxhost validate reads back from the GL around a module call: the
// bindings a module promises to leave, and a census of the GL objects that
// exist, to see whether creating and destroying instances leaves any behind.
#pragma once

#include <GL/glew.h>

#include <string>

namespace fxhost {

struct GLBindings {
  GLint program = 0;
  GLint vertexArray = 0;
  GLint arrayBuffer = 0;
  GLint activeTexture = 0;
  GLint textureOnUnit0 = 0;  // GL_TEXTURE_2D on unit 0
  GLint framebuffer = 0;     // the draw framebuffer
  GLint viewport[4] = {0, 0, 0, 0};

  static GLBindings Read();  // leaves the active unit as it found it
};

// After every module call: no program in use, no vertex array or array
// buffer bound. A binding the module did not touch may keep the host's own
// value from `before`. An empty text when so, else what is wrong.
std::string CheckCallBindings(const GLBindings& before, const GLBindings& after);

// After a successful frame, also: the host's framebuffer bound, the viewport
// at the input's hardware size, texture unit 0 active with no 2D texture on
// it (or, where the module did not touch them, the host's own unit and texture).
std::string CheckFrameBindings(const GLBindings& before, const GLBindings& after, GLuint framebuffer,
                               GLsizei width, GLsizei height);

// Every pending GL error, drained; an empty text when there was none.
std::string TakeGLErrors();

// How many GL objects of each kind exist among the names 1..highest.
struct GLObjectCensus {
  int programs = 0;
  int shaders = 0;
  int buffers = 0;
  int vertexArrays = 0;
  int textures = 0;
  int framebuffers = 0;
  int renderbuffers = 0;
  int samplers = 0;

  static GLObjectCensus Take(GLuint highest);
  // "2 programs, 1 buffer more than before" or an empty text.
  std::string MoreThan(const GLObjectCensus& before) const;
};

}  // namespace fxhost

#include "tools/fxhost/GLFunctions.h"

#include <algorithm>
#include <cstdio>

#include "tools/fxhost/Error.h"

namespace fxhost {

void LoadGLFunctions() {
  glewExperimental = GL_TRUE;  // core profiles list no extensions the old way
  const GLenum answer = glewInit();
  // GLEW built for GLX reports "no GLX display" under an EGL context after it
  // has loaded every core entry point; that is no failure for us.
  bool loaded = answer == GLEW_OK;
#ifdef GLEW_ERROR_NO_GLX_DISPLAY
  loaded = loaded || answer == GLEW_ERROR_NO_GLX_DISPLAY;
#endif
  if (!loaded) throw Error(std::string("cannot load the OpenGL entry points: ") +
                           reinterpret_cast<const char*>(glewGetErrorString(answer)));
  glGetError();  // GLEW's probing may leave an error behind
  if (!GLEW_VERSION_4_1) throw Error("the OpenGL context is older than 4.1: " + DescribeRenderer());
  const bool complete = glGenFramebuffers && glFramebufferTexture2D && glCheckFramebufferStatus && glGenBuffers &&
                        glBufferData && glMapBufferRange && glUnmapBuffer && glFenceSync && glClientWaitSync &&
                        glDeleteSync && glBindFramebuffer;
  if (!complete) throw Error("the OpenGL context lacks entry points fxhost needs: " + DescribeRenderer());
}

std::string DescribeRenderer() {
  const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  return std::string(renderer != nullptr ? renderer : "unknown renderer") + ", OpenGL " +
         (version != nullptr ? version : "of unknown version");
}

int MaximumTextureSide() {
  GLint textureSide = 0;
  GLint renderbufferSide = 0;
  GLint viewport[2] = {0, 0};
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &textureSide);
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbufferSide);
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
  return std::min({textureSide, renderbufferSide, viewport[0], viewport[1]});
}

void CheckGLError(const char* what) {
  const GLenum error = glGetError();
  if (error == GL_NO_ERROR) return;
  char code[16];
  std::snprintf(code, sizeof code, "0x%04X", error);
  throw Error(std::string(what) + " failed with OpenGL error " + code);
}

}  // namespace fxhost

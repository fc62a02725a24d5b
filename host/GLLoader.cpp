#include "host/GLLoader.h"

#include <GL/glew.h>

namespace qvx {
namespace {

// The calls the module makes beyond what the system's OpenGL library exports.
bool CoreEntryPointsLoaded() {
  return GLEW_VERSION_4_1 && glCreateShader && glShaderSource && glCompileShader && glGetShaderiv &&
         glGetShaderInfoLog && glCreateProgram && glAttachShader && glLinkProgram && glGetProgramiv &&
         glGetProgramInfoLog && glDeleteShader && glDeleteProgram && glUseProgram && glGetUniformLocation &&
         glUniform1i && glUniform1f && glUniform2f && glGenVertexArrays && glBindVertexArray &&
         glDeleteVertexArrays && glGenBuffers && glBindBuffer && glBufferData && glDeleteBuffers &&
         glEnableVertexAttribArray && glVertexAttribPointer && glActiveTexture && glBindFramebuffer;
}

}  // namespace

bool LoadGLEntryPoints() {
  glewExperimental = GL_TRUE;  // core profiles list no extensions the old way
  const GLenum answer = glewInit();
  if (answer == GLEW_OK) return true;
#ifdef GLEW_ERROR_NO_GLX_DISPLAY
  if (answer == GLEW_ERROR_NO_GLX_DISPLAY) return CoreEntryPointsLoaded();
#endif
  return false;
}

}  // namespace qvx

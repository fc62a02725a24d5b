#include "tools/fxhost/ValidateGLState.h"

#include <cstdio>

namespace fxhost {
namespace {

GLint Integer(GLenum state) {
  GLint value = 0;
  glGetIntegerv(state, &value);
  return value;
}

std::string Hex(GLint value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(value));
  return text;
}

// The documented value, or the host's own where the module left it alone.
bool DefaultOrKept(GLint after, GLint before, GLint documented) { return after == documented || after == before; }

void Append(std::string& list, const std::string& item) { list += (list.empty() ? "" : ", ") + item; }

void Count(std::string& list, int more, const char* singular, const char* plural) {
  if (more > 0) Append(list, std::to_string(more) + " " + (more == 1 ? singular : plural));
}

}  // namespace

GLBindings GLBindings::Read() {
  GLBindings state;
  state.program = Integer(GL_CURRENT_PROGRAM);
  state.vertexArray = Integer(GL_VERTEX_ARRAY_BINDING);
  state.arrayBuffer = Integer(GL_ARRAY_BUFFER_BINDING);
  state.activeTexture = Integer(GL_ACTIVE_TEXTURE);
  glActiveTexture(GL_TEXTURE0);
  state.textureOnUnit0 = Integer(GL_TEXTURE_BINDING_2D);
  glActiveTexture(static_cast<GLenum>(state.activeTexture));
  state.framebuffer = Integer(GL_DRAW_FRAMEBUFFER_BINDING);
  glGetIntegerv(GL_VIEWPORT, state.viewport);
  return state;
}

std::string CheckCallBindings(const GLBindings& before, const GLBindings& after) {
  std::string wrong;
  if (!DefaultOrKept(after.program, before.program, 0))
    Append(wrong, "program " + std::to_string(after.program) + " left in use");
  if (!DefaultOrKept(after.vertexArray, before.vertexArray, 0))
    Append(wrong, "vertex array " + std::to_string(after.vertexArray) + " left bound");
  if (!DefaultOrKept(after.arrayBuffer, before.arrayBuffer, 0))
    Append(wrong, "array buffer " + std::to_string(after.arrayBuffer) + " left bound");
  return wrong;
}

std::string CheckFrameBindings(const GLBindings& before, const GLBindings& after, GLuint framebuffer,
                               GLsizei width, GLsizei height) {
  std::string wrong = CheckCallBindings(before, after);
  if (after.framebuffer != static_cast<GLint>(framebuffer))
    Append(wrong, "framebuffer " + std::to_string(after.framebuffer) + " bound instead of the host's " +
                      std::to_string(framebuffer));
  if (after.viewport[0] != 0 || after.viewport[1] != 0 || after.viewport[2] != width || after.viewport[3] != height)
    Append(wrong, "viewport " + std::to_string(after.viewport[0]) + "," + std::to_string(after.viewport[1]) + " " +
                      std::to_string(after.viewport[2]) + "x" + std::to_string(after.viewport[3]) +
                      " instead of the input's hardware size " + std::to_string(width) + "x" + std::to_string(height));
  if (!DefaultOrKept(after.activeTexture, before.activeTexture, GL_TEXTURE0))
    Append(wrong, "texture unit " + Hex(after.activeTexture) + " left active");
  if (!DefaultOrKept(after.textureOnUnit0, before.textureOnUnit0, 0))
    Append(wrong, "texture " + std::to_string(after.textureOnUnit0) + " left bound on unit 0");
  return wrong;
}

std::string TakeGLErrors() {
  std::string errors;
  for (int taken = 0; taken < 16; ++taken) {
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR) break;
    Append(errors, Hex(static_cast<GLint>(error)));
  }
  return errors.empty() ? errors : "GL error " + errors + " left pending";
}

GLObjectCensus GLObjectCensus::Take(GLuint highest) {
  GLObjectCensus census;
  for (GLuint name = 1; name <= highest; ++name) {
    census.programs += glIsProgram(name) ? 1 : 0;
    census.shaders += glIsShader(name) ? 1 : 0;
    census.buffers += glIsBuffer(name) ? 1 : 0;
    census.vertexArrays += glIsVertexArray(name) ? 1 : 0;
    census.textures += glIsTexture(name) ? 1 : 0;
    census.framebuffers += glIsFramebuffer(name) ? 1 : 0;
    census.renderbuffers += glIsRenderbuffer(name) ? 1 : 0;
    census.samplers += glIsSampler(name) ? 1 : 0;
  }
  return census;
}

std::string GLObjectCensus::MoreThan(const GLObjectCensus& before) const {
  std::string more;
  Count(more, programs - before.programs, "program", "programs");
  Count(more, shaders - before.shaders, "shader", "shaders");
  Count(more, buffers - before.buffers, "buffer", "buffers");
  Count(more, vertexArrays - before.vertexArrays, "vertex array", "vertex arrays");
  Count(more, textures - before.textures, "texture", "textures");
  Count(more, framebuffers - before.framebuffers, "framebuffer", "framebuffers");
  Count(more, renderbuffers - before.renderbuffers, "renderbuffer", "renderbuffers");
  Count(more, samplers - before.samplers, "sampler", "samplers");
  return more.empty() ? more : more + " more than before";
}

}  // namespace fxhost

#include "ffglex/ScopedBindings.h"

#include <GL/glew.h>

namespace ffglex {

ScopedTextureBinding::ScopedTextureBinding(uint32_t target_, uint32_t texture) : target(target_), bound(true) {
  glBindTexture(target, texture);
}

ScopedTextureBinding::~ScopedTextureBinding() {
  if (!bound) return;
  glBindTexture(target, 0);
  bound = false;
}

Scoped2DTextureBinding::Scoped2DTextureBinding(uint32_t texture) : ScopedTextureBinding(GL_TEXTURE_2D, texture) {}

// The base's destructor makes the one exit call.
Scoped2DTextureBinding::~Scoped2DTextureBinding() = default;

ScopedBufferBinding::ScopedBufferBinding(uint32_t target_, uint32_t buffer) : target(target_), bound(true) {
  glBindBuffer(target, buffer);
}

ScopedBufferBinding::~ScopedBufferBinding() {
  if (!bound) return;
  glBindBuffer(target, 0);
  bound = false;
}

ScopedVBOBinding::ScopedVBOBinding(uint32_t buffer) : ScopedBufferBinding(GL_ARRAY_BUFFER, buffer) {}

ScopedVBOBinding::~ScopedVBOBinding() = default;

ScopedProgramBinding::ScopedProgramBinding(uint32_t program) : bound(true) { glUseProgram(program); }

ScopedProgramBinding::~ScopedProgramBinding() {
  if (!bound) return;
  glUseProgram(0);
  bound = false;
}

ScopedActiveTextureUnit::ScopedActiveTextureUnit(uint32_t unit) : bound(true) { glActiveTexture(GL_TEXTURE0 + unit); }

ScopedActiveTextureUnit::~ScopedActiveTextureUnit() {
  if (!bound) return;
  glActiveTexture(GL_TEXTURE0);
  bound = false;
}

ScopedVertexArrayBinding::ScopedVertexArrayBinding(uint32_t vertexArray) : bound(true) {
  glBindVertexArray(vertexArray);
}

ScopedVertexArrayBinding::~ScopedVertexArrayBinding() {
  if (!bound) return;
  glBindVertexArray(0);
  bound = false;
}

}  // namespace ffglex

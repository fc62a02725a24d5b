#include "ffglex/FullscreenQuad.h"

#include <GL/glew.h>

#include <cstddef>

#include "ffglex/ScopedBindings.h"

namespace ffglex {
namespace {

// Per vertex: u, v, then x, y, z. Two clockwise triangles:
// top-left, top-right, bottom-left; bottom-left, top-right, bottom-right.
constexpr float kUprightVertices[30] = {
    0.0f, 1.0f, -1.0f, 1.0f,  0.0f,  //
    1.0f, 1.0f, 1.0f,  1.0f,  0.0f,  //
    0.0f, 0.0f, -1.0f, -1.0f, 0.0f,  //
    0.0f, 0.0f, -1.0f, -1.0f, 0.0f,  //
    1.0f, 1.0f, 1.0f,  1.0f,  0.0f,  //
    1.0f, 0.0f, 1.0f,  -1.0f, 0.0f,  //
};

// The same positions with each v replaced by 1 - v.
constexpr float kFlippedVertices[30] = {
    0.0f, 0.0f, -1.0f, 1.0f,  0.0f,  //
    1.0f, 0.0f, 1.0f,  1.0f,  0.0f,  //
    0.0f, 1.0f, -1.0f, -1.0f, 0.0f,  //
    0.0f, 1.0f, -1.0f, -1.0f, 0.0f,  //
    1.0f, 0.0f, 1.0f,  1.0f,  0.0f,  //
    1.0f, 1.0f, 1.0f,  -1.0f, 0.0f,  //
};

constexpr GLsizei kVertexStride = 5 * sizeof(float);  // 20 bytes
constexpr std::size_t kTexCoordOffset = 0;
constexpr std::size_t kPositionOffset = 2 * sizeof(float);  // 8 bytes
constexpr GLuint kPositionAttribute = 0;
constexpr GLuint kTexCoordAttribute = 1;
constexpr GLsizei kVertexCount = 6;

static_assert(sizeof(kUprightVertices) == 120 && sizeof(kFlippedVertices) == 120, "six 20-byte vertices");

}  // namespace

bool FullscreenQuad::Setup(bool flipVertical) {
  glGenVertexArrays(1, &vertexArray);
  glGenBuffers(1, &vertexBuffer);
  if (vertexArray == 0 || vertexBuffer == 0) {
    Release();
    return false;
  }

  ScopedVertexArrayBinding vertexArrayBinding(vertexArray);
  ScopedVBOBinding bufferBinding(vertexBuffer);
  glBufferData(GL_ARRAY_BUFFER, sizeof(kUprightVertices), flipVertical ? kFlippedVertices : kUprightVertices,
               GL_STATIC_DRAW);

  glEnableVertexAttribArray(kPositionAttribute);
  glVertexAttribPointer(kPositionAttribute, 3, GL_FLOAT, GL_FALSE, kVertexStride,
                        reinterpret_cast<const void*>(kPositionOffset));
  glEnableVertexAttribArray(kTexCoordAttribute);
  glVertexAttribPointer(kTexCoordAttribute, 2, GL_FLOAT, GL_FALSE, kVertexStride,
                        reinterpret_cast<const void*>(kTexCoordOffset));
  return true;  // the buffer scope ends first, then the vertex-array scope
}

void FullscreenQuad::Draw() {
  if (vertexArray == 0 || vertexBuffer == 0) return;
  ScopedVertexArrayBinding vertexArrayBinding(vertexArray);
  glDrawArrays(GL_TRIANGLES, 0, kVertexCount);
}

void FullscreenQuad::Release() {
  // Both calls always: the GL ignores name 0.
  glDeleteBuffers(1, &vertexBuffer);
  vertexBuffer = 0;
  glDeleteVertexArrays(1, &vertexArray);
  vertexArray = 0;
}

}  // namespace ffglex

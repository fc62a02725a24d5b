// A vertex array and an array buffer holding six vertices (two triangles)
// that cover the whole viewport. Per vertex, 20 bytes: u, v (texture
// coordinate, attribute 1) then x, y, z (clip-space position, attribute 0).
// GL objects exist only between a successful Setup and Release; construction
// and destruction make no GL call, so the owner calls Release first.
#pragma once

#include <cstdint>

namespace ffglex {

class FullscreenQuad {
 public:
  FullscreenQuad() = default;
  FullscreenQuad(const FullscreenQuad&) = delete;
  FullscreenQuad& operator=(const FullscreenQuad&) = delete;

  // Makes and fills both objects; the upright table samples v = 1 at the top
  // edge, the flipped one v = 0. False (and nothing left) when the GL hands
  // back name 0. Leaves no vertex array and no array buffer bound.
  bool Setup(bool flipVertical);
  // One glDrawArrays of the six vertices around a vertex-array scope; no GL
  // call at all when the quad is not set up.
  void Draw();
  // Deletes both objects (always both calls; the GL ignores name 0).
  void Release();

 private:
  uint32_t vertexArray = 0;
  uint32_t vertexBuffer = 0;
};

}  // namespace ffglex

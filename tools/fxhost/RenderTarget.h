// The framebuffer fxhost owns and hands to the module: one RGBA8 colour
// texture of the allocated (hardware) size, which the module fills.
#pragma once

#include <GL/glew.h>

#include <cstdint>

namespace fxhost {

class RenderTarget {
 public:
  RenderTarget(uint32_t width, uint32_t height);  // throws Error when incomplete
  ~RenderTarget();
  RenderTarget(const RenderTarget&) = delete;
  RenderTarget& operator=(const RenderTarget&) = delete;

  GLuint Framebuffer() const { return framebuffer; }
  uint32_t Width() const { return width; }
  uint32_t Height() const { return height; }
  // Clears to transparent black (done once at construction).
  void Clear();

 private:
  uint32_t width;
  uint32_t height;
  GLuint framebuffer = 0;
  GLuint colour = 0;
};

}  // namespace fxhost

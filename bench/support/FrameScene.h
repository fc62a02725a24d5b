// The host side of one frame, at one resolution: a depth-map input texture
// (RGBA8, linear filtering, clamped, as hosts usually hand them over), an
// RGBA8 framebuffer to draw into, and the request records plugMain code 17
// reads. The picture fills the whole allocated texture.
#pragma once

#include <GL/glew.h>

#include <cstdint>

#include "host/HostRecords.h"

namespace qvx::bench {

class FrameScene {
 public:
  FrameScene(uint32_t width, uint32_t height);
  ~FrameScene();
  FrameScene(const FrameScene&) = delete;
  FrameScene& operator=(const FrameScene&) = delete;

  uint32_t Width() const { return input.width; }
  uint32_t Height() const { return input.height; }
  GLuint InputTexture() const { return input.textureName; }
  GLuint Framebuffer() const { return framebuffer; }
  // The record for code 17; it points into this scene.
  FrameRenderRequest* Request() { return &request; }

 private:
  TextureDescriptor input{};
  TextureDescriptor* inputs[1] = {&input};
  FrameRenderRequest request{};
  GLuint target = 0;
  GLuint framebuffer = 0;
};

}  // namespace qvx::bench

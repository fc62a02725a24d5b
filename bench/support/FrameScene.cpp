#include "bench/support/FrameScene.h"

#include <cmath>
#include <vector>

namespace qvx::bench {
namespace {

// A depth map with smooth areas and discontinuities: a radial gradient cut
// into 16 x 9 tiles, each tile offset in depth, so the edge step finds edges
// along the tile borders and nowhere else (the cost of a software rasteriser
// does not depend on the content, a GPU's texture cache only a little).
std::vector<uint8_t> MakeDepthPixels(uint32_t width, uint32_t height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const float u = (x + 0.5f) / width - 0.5f;
      const float v = (y + 0.5f) / height - 0.5f;
      const uint32_t tile = (x * 16 / width) + (y * 9 / height) * 16;
      float depth = 1.0f - std::sqrt(u * u + v * v) * 1.2f + (tile % 5) * 0.1f;
      depth = depth - std::floor(depth);
      const auto level = static_cast<uint8_t>(depth * 255.0f + 0.5f);
      uint8_t* pixel = &pixels[(static_cast<size_t>(y) * width + x) * 4];
      pixel[0] = level;
      pixel[1] = level;
      pixel[2] = level;
      pixel[3] = 255;
    }
  }
  return pixels;
}

}  // namespace

FrameScene::FrameScene(uint32_t width, uint32_t height) {
  input.width = width;
  input.height = height;
  input.hardwareWidth = width;
  input.hardwareHeight = height;

  const std::vector<uint8_t> pixels = MakeDepthPixels(width, height);
  glGenTextures(1, &input.textureName);
  glBindTexture(GL_TEXTURE_2D, input.textureName);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

  glGenTextures(1, &target);
  glBindTexture(GL_TEXTURE_2D, target);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);

  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glFinish();  // the upload is not part of any frame

  request.inputTextureCount = 1;
  request.inputTextures = inputs;
  request.hostFramebuffer = framebuffer;
}

FrameScene::~FrameScene() {
  glDeleteFramebuffers(1, &framebuffer);
  glDeleteTextures(1, &target);
  glDeleteTextures(1, &input.textureName);
}

}  // namespace qvx::bench

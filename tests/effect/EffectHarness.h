// What the effect's GL tests share: a depth-map input texture made from a
// ReferenceTexture (so the CPU reference sees exactly the texels the GL
// does), a float framebuffer to render into and read back, an effect instance
// driven through plugMain the way a host drives it, and the host-visible
// clock model.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <vector>

#include "host/HostRecords.h"
#include "tests/support/DepthReference.h"

namespace qvx::test {

// A deterministic depth map of the given allocated size: 8 x 8 patches of
// tinted colour whose luminances spread evenly over 0..1 (so every colour-map
// segment is hit), each with a gentle gradient (neighbour luminance steps far
// below the edge threshold inside a patch, large steps between patches).
ReferenceTexture MakeDepthTexture(uint32_t width, uint32_t height, TextureWrap wrap);

// The texture on the GL side: RGBA32F (alpha 0.25, which the effect must not
// pass on), nearest filtering, the reference's wrap modes.
class InputTexture {
 public:
  explicit InputTexture(const ReferenceTexture& texels);
  ~InputTexture();
  InputTexture(const InputTexture&) = delete;
  InputTexture& operator=(const InputTexture&) = delete;

  // The host's description of a picture of the given size inside this texture.
  TextureDescriptor Describe(uint32_t pictureWidth, uint32_t pictureHeight) const;

 private:
  GLuint name = 0;
  uint32_t width;
  uint32_t height;
};

// A framebuffer with one GL_RGBA32F colour attachment, so values above 1 and
// below 0 survive to be compared.
class FloatFramebuffer {
 public:
  FloatFramebuffer(uint32_t width, uint32_t height);
  ~FloatFramebuffer();
  FloatFramebuffer(const FloatFramebuffer&) = delete;
  FloatFramebuffer& operator=(const FloatFramebuffer&) = delete;

  GLuint Name() const { return framebuffer; }
  // Fills it with a colour no effect pixel has (alpha 0.5).
  void Clear();
  std::vector<ReferenceRGBA> Read() const;

 private:
  GLuint framebuffer = 0;
  GLuint colour = 0;
  uint32_t width;
  uint32_t height;
};

// One effect instance made through code 18 and destroyed through code 19.
class EffectInstance {
 public:
  explicit EffectInstance(uint32_t viewportWidth = 64, uint32_t viewportHeight = 64);
  ~EffectInstance();
  EffectInstance(const EffectInstance&) = delete;
  EffectInstance& operator=(const EffectInstance&) = delete;

  void* Handle() const { return handle; }
  uint64_t SetParameter(uint32_t index, float value);  // code 8
  float GetParameter(uint32_t index);                  // code 9
  // Code 17 with the one input given (null makes a null first entry).
  uint64_t Render(const TextureDescriptor* input, GLuint framebuffer);
  // Code 17 with no input at all.
  uint64_t RenderWithoutInputs(GLuint framebuffer);

 private:
  void* handle = nullptr;
};

// The clock as a host sees it: each successful frame adds speed x 2/60 (in
// double precision); "Time" is that clock modulo 100000, as a float.
class ClockModel {
 public:
  void Frame(float speed) { accumulated += static_cast<double>(speed) * (1.0 / 60.0) * 2.0; }
  float Time() const;

 private:
  double accumulated = 0.0;
};

// Largest absolute difference over all channels, and where it is.
struct PixelDifference {
  float largest = 0.0f;
  size_t pixel = 0;
  int channel = 0;
};
PixelDifference ComparePixels(const std::vector<ReferenceRGBA>& actual, const std::vector<ReferenceRGBA>& expected);

}  // namespace qvx::test

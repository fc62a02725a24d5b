// The module's input: one GL texture holding the picture, described to the
// module by a TextureDescriptor. Grey pictures go into one-channel textures
// (R8, or R16 so 16-bit depth keeps its full precision) that are swizzled to
// read as grey; grey + alpha into two-channel ones swizzled likewise.
//
// With padding the texture is allocated at the next power of two on each side
// and the picture fills its lower-left corner, as some hosts allocate; the
// rest of the texture is zero. Sampling is linear or nearest, clamped to the edge.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <vector>

#include "host/HostRecords.h"
#include "tools/fxhost/Image.h"

namespace fxhost {

class InputTexture {
 public:
  // Allocates for pictures of this one's size and format. Needs the GL context.
  InputTexture(const Image& format, bool pad, bool nearestFiltering);
  ~InputTexture();
  InputTexture(const InputTexture&) = delete;
  InputTexture& operator=(const InputTexture&) = delete;

  // Replaces the picture; it must have the format given at construction.
  void Upload(const Image& picture);

  uint32_t HardwareWidth() const { return descriptor.hardwareWidth; }
  uint32_t HardwareHeight() const { return descriptor.hardwareHeight; }
  // The record handed to the module; its address stays valid for the texture's life.
  TextureDescriptor* Descriptor() { return &descriptor; }

  static uint32_t NextPowerOfTwo(uint32_t value);

 private:
  TextureDescriptor descriptor{};
  GLuint texture = 0;
  GLenum pixelFormat = GL_RED;
  GLenum sampleType = GL_UNSIGNED_BYTE;
  uint32_t channels = 1;
  std::vector<uint8_t> staging;  // 8-bit samples narrowed from the picture's 16-bit storage
};

}  // namespace fxhost

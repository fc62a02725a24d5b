#include "tools/fxhost/InputTexture.h"

#include "tools/fxhost/Error.h"
#include "tools/fxhost/GLFunctions.h"

namespace fxhost {
namespace {

struct TextureFormat {
  GLint internalFormat;
  GLenum pixelFormat;
};

TextureFormat FormatFor(uint32_t channels, uint32_t bitDepth) {
  const bool wide = bitDepth == 16;
  switch (channels) {
    case 1: return {wide ? GL_R16 : GL_R8, GL_RED};
    case 2: return {wide ? GL_RG16 : GL_RG8, GL_RG};
    case 3: return {wide ? GL_RGB16 : GL_RGB8, GL_RGB};
    default: return {wide ? GL_RGBA16 : GL_RGBA8, GL_RGBA};
  }
}

}  // namespace

uint32_t InputTexture::NextPowerOfTwo(uint32_t value) {
  uint32_t power = 1;
  while (power < value) power <<= 1;
  return power;
}

InputTexture::InputTexture(const Image& format, bool pad, bool nearestFiltering) {
  descriptor.width = format.width;
  descriptor.height = format.height;
  descriptor.hardwareWidth = pad ? NextPowerOfTwo(format.width) : format.width;
  descriptor.hardwareHeight = pad ? NextPowerOfTwo(format.height) : format.height;
  channels = format.channels;
  sampleType = format.bitDepth == 16 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_BYTE;
  const TextureFormat textureFormat = FormatFor(format.channels, format.bitDepth);
  pixelFormat = textureFormat.pixelFormat;

  glGenTextures(1, &texture);
  descriptor.textureName = texture;
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, nearestFiltering ? GL_NEAREST : GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, nearestFiltering ? GL_NEAREST : GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  if (format.channels <= 2) {
    // Grey reads as (g, g, g), with alpha from the second channel or 1.
    const GLint swizzle[4] = {GL_RED, GL_RED, GL_RED, format.channels == 2 ? GL_GREEN : GL_ONE};
    glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
  }
  // Zeros everywhere first, so the padding holds defined values.
  const size_t bytesPerSample = format.bitDepth == 16 ? 2 : 1;
  const std::vector<uint8_t> zeros(static_cast<size_t>(descriptor.hardwareWidth) * descriptor.hardwareHeight *
                                   channels * bytesPerSample);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, textureFormat.internalFormat, static_cast<GLsizei>(descriptor.hardwareWidth),
               static_cast<GLsizei>(descriptor.hardwareHeight), 0, pixelFormat, sampleType, zeros.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  CheckGLError("allocating the input texture");
}

InputTexture::~InputTexture() { glDeleteTextures(1, &texture); }

void InputTexture::Upload(const Image& picture) {
  const void* pixels = picture.samples.data();
  if (sampleType == GL_UNSIGNED_BYTE) {
    staging.assign(picture.samples.begin(), picture.samples.end());
    pixels = staging.data();
  }
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  // Picture row 0 (its top) goes to texture row 0, which the module samples at v = 0.
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, static_cast<GLsizei>(picture.width), static_cast<GLsizei>(picture.height),
                  pixelFormat, sampleType, pixels);
  glBindTexture(GL_TEXTURE_2D, 0);
  CheckGLError("uploading the input picture");
}

}  // namespace fxhost

// A picture in memory as read from a PNG or made by fxhost: rows top first,
// channels interleaved, every sample a 16-bit value of which an 8-bit image
// uses the low 8 bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fxhost {

struct Image {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t channels = 1;  // 1 grey, 2 grey + alpha, 3 RGB, 4 RGBA
  uint32_t bitDepth = 8;  // 8 or 16
  std::vector<uint16_t> samples;

  Image() = default;
  Image(uint32_t imageWidth, uint32_t imageHeight, uint32_t imageChannels, uint32_t imageBitDepth);

  uint32_t MaximumSample() const { return bitDepth == 16 ? 65535u : 255u; }
  uint16_t& At(uint32_t x, uint32_t y, uint32_t channel = 0) {
    return samples[(static_cast<size_t>(y) * width + x) * channels + channel];
  }
  uint16_t At(uint32_t x, uint32_t y, uint32_t channel = 0) const {
    return samples[(static_cast<size_t>(y) * width + x) * channels + channel];
  }
  bool SameFormat(const Image& other) const {
    return width == other.width && height == other.height && channels == other.channels && bitDepth == other.bitDepth;
  }
};

// Scales to the given size: an area average where it shrinks, bilinear where
// it grows. Channels and depth stay as they are.
Image ResizeImage(const Image& source, uint32_t width, uint32_t height);

}  // namespace fxhost

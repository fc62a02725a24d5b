#include "tools/fxhost/Image.h"

#include <algorithm>
#include <cmath>

namespace fxhost {

Image::Image(uint32_t imageWidth, uint32_t imageHeight, uint32_t imageChannels, uint32_t imageBitDepth)
    : width(imageWidth),
      height(imageHeight),
      channels(imageChannels),
      bitDepth(imageBitDepth),
      samples(static_cast<size_t>(imageWidth) * imageHeight * imageChannels, 0) {}

namespace {

// One axis of the resampling: for each output position, the source positions
// it reads and their weights (summing to 1).
struct Tap {
  uint32_t position;
  float weight;
};

std::vector<std::vector<Tap>> AxisTaps(uint32_t sourceSize, uint32_t targetSize) {
  std::vector<std::vector<Tap>> taps(targetSize);
  const double scale = static_cast<double>(sourceSize) / targetSize;
  for (uint32_t out = 0; out < targetSize; ++out) {
    if (scale > 1.0) {
      // Shrinking: every source pixel the output pixel covers, by its share.
      const double begin = out * scale;
      const double end = begin + scale;
      for (auto position = static_cast<uint32_t>(begin); position < sourceSize && position < end; ++position) {
        const double covered = std::min<double>(end, position + 1.0) - std::max<double>(begin, position);
        if (covered > 0.0) taps[out].push_back({position, static_cast<float>(covered / scale)});
      }
    } else {
      // Growing (or equal): linear between the two nearest pixel centres.
      const double centre = std::clamp((out + 0.5) * scale - 0.5, 0.0, sourceSize - 1.0);
      const auto low = static_cast<uint32_t>(centre);
      const uint32_t high = std::min(low + 1, sourceSize - 1);
      const auto fraction = static_cast<float>(centre - low);
      taps[out].push_back({low, 1.0f - fraction});
      if (high != low) taps[out].push_back({high, fraction});
    }
  }
  return taps;
}

}  // namespace

Image ResizeImage(const Image& source, uint32_t width, uint32_t height) {
  if (source.width == width && source.height == height) return source;
  const auto columns = AxisTaps(source.width, width);
  const auto rows = AxisTaps(source.height, height);
  Image target(width, height, source.channels, source.bitDepth);
  const float most = static_cast<float>(source.MaximumSample());
  std::vector<float> accumulated(source.channels);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      std::fill(accumulated.begin(), accumulated.end(), 0.0f);
      for (const Tap& row : rows[y]) {
        for (const Tap& column : columns[x]) {
          const float weight = row.weight * column.weight;
          for (uint32_t c = 0; c < source.channels; ++c) {
            accumulated[c] += weight * source.At(column.position, row.position, c);
          }
        }
      }
      for (uint32_t c = 0; c < source.channels; ++c) {
        target.At(x, y, c) = static_cast<uint16_t>(std::clamp(std::lround(accumulated[c]), 0L, static_cast<long>(most)));
      }
    }
  }
  return target;
}

}  // namespace fxhost

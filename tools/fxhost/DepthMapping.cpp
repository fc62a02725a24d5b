#include "tools/fxhost/DepthMapping.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tools/fxhost/Error.h"

namespace fxhost {
namespace {

// One raw value per pixel: grey as it is, colour as its luma; alpha dropped.
double RawValue(const Image& picture, size_t pixel) {
  const uint16_t* sample = picture.samples.data() + pixel * picture.channels;
  if (picture.channels >= 3) return 0.299 * sample[0] + 0.587 * sample[1] + 0.114 * sample[2];
  return sample[0];
}

bool ParseNumber(const std::string& text, double* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  *value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && std::isfinite(*value);
}

void AutomaticRange(const Image& picture, DepthMapping* mapping) {
  const size_t pixels = static_cast<size_t>(picture.width) * picture.height;
  std::vector<uint32_t> histogram(65536, 0);
  size_t valid = 0;
  for (size_t pixel = 0; pixel < pixels; ++pixel) {
    const auto raw = static_cast<uint32_t>(std::lround(RawValue(picture, pixel)));
    if (raw == 0) continue;
    ++histogram[raw];
    ++valid;
  }
  if (valid == 0) {  // nothing measured: any range shows the same all-zero picture
    mapping->minimum = 0.0;
    mapping->maximum = picture.MaximumSample();
    return;
  }
  // The raw value below which lies the given fraction of the valid pixels.
  auto percentile = [&](double fraction) {
    const auto wanted = static_cast<size_t>(std::floor(fraction * static_cast<double>(valid - 1)));
    size_t seen = 0;
    for (uint32_t value = 1; value < histogram.size(); ++value) {
      seen += histogram[value];
      if (seen > wanted) return static_cast<double>(value);
    }
    return 65535.0;
  };
  mapping->minimum = percentile(0.01);
  mapping->maximum = percentile(0.99);
  if (mapping->maximum <= mapping->minimum) mapping->maximum = mapping->minimum + 1.0;
}

}  // namespace

DepthMapping ResolveDepthMapping(const DepthMappingOptions& options, const Image& firstPicture) {
  DepthMapping mapping;
  mapping.invert = options.invert;
  if (options.noDepthValue) {
    if (!(*options.noDepthValue >= 0.0 && *options.noDepthValue <= 1.0)) {
      throw Error("--no-depth must lie between 0 and 1");
    }
    mapping.noDepthValue = *options.noDepthValue;
  }
  const bool sixteenBitGrey = firstPicture.bitDepth == 16 && firstPicture.channels <= 2;
  const bool asked = !options.range.empty() || options.invert || options.noDepthValue.has_value();
  mapping.enabled = sixteenBitGrey || asked;
  if (!mapping.enabled) return mapping;

  const std::string range = options.range.empty() ? (sixteenBitGrey ? "auto" : "full") : options.range;
  if (range == "auto") {
    AutomaticRange(firstPicture, &mapping);
  } else if (range == "full") {  // 8-bit or colour input that asked only for invert or a no-depth value
    mapping.minimum = 0.0;
    mapping.maximum = firstPicture.MaximumSample();
  } else {
    const size_t colon = range.find(':');
    double minimum = 0.0;
    double maximum = 0.0;
    if (colon == std::string::npos || !ParseNumber(range.substr(0, colon), &minimum) ||
        !ParseNumber(range.substr(colon + 1), &maximum)) {
      throw Error("--range must be 'auto' or MIN:MAX (for example 500:4000), not '" + range + "'");
    }
    if (!(maximum > minimum)) throw Error("--range " + range + ": MAX must be greater than MIN");
    mapping.minimum = minimum;
    mapping.maximum = maximum;
  }
  return mapping;
}

Image ApplyDepthMapping(const DepthMapping& mapping, const Image& picture) {
  if (!mapping.enabled) return picture;
  Image mapped(picture.width, picture.height, 1, 16);
  const double span = mapping.maximum - mapping.minimum;
  const auto noDepth = static_cast<uint16_t>(std::lround(mapping.noDepthValue * 65535.0));
  const size_t pixels = static_cast<size_t>(picture.width) * picture.height;
  for (size_t pixel = 0; pixel < pixels; ++pixel) {
    const double raw = RawValue(picture, pixel);
    if (raw == 0.0) {
      mapped.samples[pixel] = noDepth;
      continue;
    }
    double value = std::clamp((raw - mapping.minimum) / span, 0.0, 1.0);
    if (mapping.invert) value = 1.0 - value;
    mapped.samples[pixel] = static_cast<uint16_t>(std::lround(value * 65535.0));
  }
  return mapped;
}

std::string DescribeDepthMapping(const DepthMapping& mapping) {
  if (!mapping.enabled) return "unchanged";
  char text[128];
  std::snprintf(text, sizeof text, "%g to %g%s", mapping.minimum, mapping.maximum, mapping.invert ? ", inverted" : "");
  std::string description = text;
  if (mapping.noDepthValue != 0.0) {
    std::snprintf(text, sizeof text, ", no depth shown as %g", mapping.noDepthValue);
    description += text;
  }
  return description;
}

}  // namespace fxhost

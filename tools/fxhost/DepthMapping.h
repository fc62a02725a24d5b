// Depth as users have it: raw 16-bit depth maps are mostly millimetres and
// look black unless stretched. The mapping turns raw values into 0..1 depth
// (as a 16-bit grey picture) before the module sees them:
//   value = (raw - minimum) / (maximum - minimum), clamped to 0..1,
//   then 1 - value with invert; raw 0 means "no depth measured" and becomes
//   noDepthValue (0 unless chosen), never inverted or stretched.
// Colour pictures are first reduced to their luma (BT.601 weights).
#pragma once

#include <optional>
#include <string>

#include "tools/fxhost/Image.h"

namespace fxhost {

struct DepthMappingOptions {
  // Empty: the default (automatic for 16-bit grey, none otherwise); "auto";
  // or "MIN:MAX" in the picture's raw units.
  std::string range;
  bool invert = false;
  std::optional<double> noDepthValue;  // 0..1; empty keeps 0
};

struct DepthMapping {
  bool enabled = false;
  double minimum = 0.0;
  double maximum = 1.0;
  bool invert = false;
  double noDepthValue = 0.0;
};

// Decides the mapping for a stream of pictures from its first picture.
// "auto" uses the 1st and 99th percentile of the non-zero pixels. Throws
// Error for a malformed range or value.
DepthMapping ResolveDepthMapping(const DepthMappingOptions& options, const Image& firstPicture);

// The mapped picture: 16-bit grey. Pictures pass unchanged when the mapping is off.
Image ApplyDepthMapping(const DepthMapping& mapping, const Image& picture);

// "1000 to 3000 (auto), inverted" for the summary line.
std::string DescribeDepthMapping(const DepthMapping& mapping);

}  // namespace fxhost

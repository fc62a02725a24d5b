// The plugin's 160 x 120 thumbnail, drawn by code at load: a red-to-dark
// vertical gradient crossed by six green lines and two grey slanted lines.
// Pixels are packed red<<24 | green<<16 | blue<<8 | alpha.
#pragma once

#include <cstdint>
#include <vector>

namespace qvx {

constexpr uint32_t kThumbnailWidth = 160;
constexpr uint32_t kThumbnailHeight = 120;

uint32_t PackPixel(int red, int green, int blue, int alpha);

// Bresenham line, both end points included; points outside 160 x 120 are
// skipped. The bounds and row length are those of the thumbnail.
void DrawLine(std::vector<uint32_t>& pixels, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t red,
              uint8_t green, uint8_t blue, uint8_t alpha);

std::vector<uint32_t> BuildThumbnailPixels();

}  // namespace qvx

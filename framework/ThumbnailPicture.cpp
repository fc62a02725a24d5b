#include "framework/ThumbnailPicture.h"

#include <cstdlib>

namespace qvx {

uint32_t PackPixel(int red, int green, int blue, int alpha) {
  return (static_cast<uint32_t>(red & 0xFF) << 24) | (static_cast<uint32_t>(green & 0xFF) << 16) |
         (static_cast<uint32_t>(blue & 0xFF) << 8) | static_cast<uint32_t>(alpha & 0xFF);
}

void DrawLine(std::vector<uint32_t>& pixels, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t red,
              uint8_t green, uint8_t blue, uint8_t alpha) {
  const int32_t dx = std::abs(x1 - x0);
  const int32_t dy = -std::abs(y1 - y0);
  const int32_t sx = x0 < x1 ? 1 : -1;
  const int32_t sy = y0 < y1 ? 1 : -1;
  const uint32_t colour = PackPixel(red, green, blue, alpha);
  int32_t err = dx + dy;
  int32_t x = x0;
  int32_t y = y0;
  for (;;) {
    if (x >= 0 && x <= 159 && y >= 0 && y <= 119) pixels[static_cast<size_t>(y) * 160 + x] = colour;
    if (x == x1 && y == y1) break;
    const int32_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

std::vector<uint32_t> BuildThumbnailPixels() {
  std::vector<uint32_t> pixels(kThumbnailWidth * kThumbnailHeight);

  // Gradient, in single precision on purpose: double arithmetic gives other
  // reds in some rows (170 instead of 169 in row 50). Each step is stored
  // through a volatile float so that no fused multiply-add or wider
  // intermediate changes the rounding on any compiler.
  for (uint32_t y = 0; y < kThumbnailHeight; ++y) {
    const volatile float q = static_cast<float>(y) / 120.0f;
    const volatile float t = q * 0.8f;
    const volatile float v = 1.0f - t;
    const volatile float redValue = v * 255.0f;
    const volatile float blueValue = v * 128.0f;
    const volatile float greenValue = v * 0.0f;
    const uint32_t colour = PackPixel(static_cast<int>(redValue), static_cast<int>(greenValue),
                                      static_cast<int>(blueValue), 255);
    for (uint32_t x = 0; x < kThumbnailWidth; ++x) pixels[y * kThumbnailWidth + x] = colour;
  }

  for (int k = 0; k < 6; ++k) {
    // Rows 15, 17, 26, 40, 59, 85.
    const volatile float scaled = static_cast<float>(k * k) * -2.8f;
    const int32_t row = 15 - static_cast<int32_t>(scaled);
    DrawLine(pixels, 10, row, 150, row, 57, 255, 20, 255);
  }

  DrawLine(pixels, 10, 10, 40, 110, 80, 80, 80, 255);
  DrawLine(pixels, 150, 10, 120, 110, 80, 80, 80, 255);
  return pixels;
}

}  // namespace qvx

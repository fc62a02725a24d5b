// ThumbnailImage: the plugin's small picture, packed 32-bit pixels row by row
// (pixel (x, y) at y * width + x). The one image of the module is constructed
// during static initialisation and registers itself for the dispatcher.
#pragma once

#include <cstdint>
#include <vector>

class ThumbnailImage {
 public:
  // Takes the pixels over (the given list is left empty) and trims or pads
  // them with zero pixels to exactly width * height.
  ThumbnailImage(uint32_t width, uint32_t height, std::vector<uint32_t>&& pixels);

  ThumbnailImage(const ThumbnailImage&) = delete;
  ThumbnailImage& operator=(const ThumbnailImage&) = delete;

  uint32_t GetWidth() const { return width; }
  uint32_t GetHeight() const { return height; }
  const uint32_t* GetPixelData() const { return pixelData; }

 private:
  uint32_t width;
  uint32_t height;
  std::vector<uint32_t> pixels;
  const uint32_t* pixelData;
};

// The registered thumbnail, or null when none has been constructed.
const ThumbnailImage* GetThumbnail();

#include "host/ThumbnailImage.h"

#include <cstddef>
#include <utility>

namespace {
const ThumbnailImage* registeredThumbnail = nullptr;
}  // namespace

ThumbnailImage::ThumbnailImage(uint32_t width_, uint32_t height_, std::vector<uint32_t>&& pixels_)
    : width(width_), height(height_), pixels(std::move(pixels_)) {
  pixels_.clear();
  pixels.resize(static_cast<std::size_t>(width) * height, 0u);
  pixelData = pixels.data();
  registeredThumbnail = this;
}

const ThumbnailImage* GetThumbnail() { return registeredThumbnail; }

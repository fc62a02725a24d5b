// PNG files through libpng. Reading accepts 1- to 16-bit grey, grey + alpha,
// palette, RGB and RGBA, interlaced or not; palettes and transparency chunks
// are expanded and sub-8-bit greys widened to 8 bits, 16-bit samples kept.
// Writing writes straight to the given path; callers that must not leave a
// half-written file behind write through AtomicFile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/fxhost/Image.h"

namespace fxhost {

// The largest picture side fxhost accepts anywhere; beyond it a file is refused
// before any pixel memory is taken.
constexpr uint32_t kLargestSide = 16384;

// Throws Error: file missing or unreadable, not a PNG, truncated or damaged,
// larger than kLargestSide on a side.
Image ReadPng(const std::string& path);

// Writes rows of interleaved samples: 8-bit bytes, or 16-bit native-order
// values. compressionLevel is zlib's 0 (none, fastest) to 9 (smallest).
// Throws Error when the file cannot be written completely.
void WritePng(const std::string& path, uint32_t width, uint32_t height, uint32_t channels, uint32_t bitDepth,
              const void* rows, size_t rowStride, int compressionLevel);

void WritePng(const std::string& path, const Image& image, int compressionLevel);

}  // namespace fxhost

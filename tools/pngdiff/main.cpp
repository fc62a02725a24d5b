// pngdiff A.png B.png [--tolerance N] [--allowed-fraction F]
// Compares two pictures of the same size, channels and depth sample by
// sample. A pixel differs when any of its samples differs by more than N
// (default 0); the pictures match when at most the fraction F (default 0) of
// their pixels differ. Prints the figures; exits 0 on a match, 1 on a
// mismatch, 2 when a file cannot be read or the formats differ.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "tools/fxhost/Error.h"
#include "tools/fxhost/PngFile.h"

namespace {

struct Difference {
  uint32_t largest = 0;      // the largest difference of any one sample
  uint64_t pixelsOver = 0;   // pixels with a sample differing by more than the tolerance
  double meanSample = 0.0;   // the mean absolute difference over all samples
};

Difference Compare(const fxhost::Image& a, const fxhost::Image& b, uint32_t tolerance) {
  Difference difference;
  uint64_t total = 0;
  for (uint32_t y = 0; y < a.height; ++y) {
    for (uint32_t x = 0; x < a.width; ++x) {
      bool over = false;
      for (uint32_t c = 0; c < a.channels; ++c) {
        const uint32_t delta = static_cast<uint32_t>(std::abs(int(a.At(x, y, c)) - int(b.At(x, y, c))));
        if (delta > difference.largest) difference.largest = delta;
        if (delta > tolerance) over = true;
        total += delta;
      }
      if (over) ++difference.pixelsOver;
    }
  }
  const double samples = double(a.width) * a.height * a.channels;
  difference.meanSample = samples > 0 ? double(total) / samples : 0.0;
  return difference;
}

int Usage() {
  std::fprintf(stderr, "usage: pngdiff A.png B.png [--tolerance N] [--allowed-fraction F]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  uint32_t tolerance = 0;
  double allowedFraction = 0.0;
  for (int i = 3; i < argc; ++i) {
    const std::string option = argv[i];
    if (i + 1 >= argc) return Usage();
    if (option == "--tolerance") tolerance = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    else if (option == "--allowed-fraction") allowedFraction = std::strtod(argv[++i], nullptr);
    else return Usage();
  }
  try {
    const fxhost::Image a = fxhost::ReadPng(argv[1]);
    const fxhost::Image b = fxhost::ReadPng(argv[2]);
    if (!a.SameFormat(b)) {
      std::fprintf(stderr, "pngdiff: %ux%u, %u channels, %u-bit against %ux%u, %u channels, %u-bit\n", a.width,
                   a.height, a.channels, a.bitDepth, b.width, b.height, b.channels, b.bitDepth);
      return 2;
    }
    const Difference difference = Compare(a, b, tolerance);
    const double pixels = double(a.width) * a.height;
    const double fractionOver = pixels > 0 ? double(difference.pixelsOver) / pixels : 0.0;
    const bool match = fractionOver <= allowedFraction;
    std::printf("pngdiff: %ux%u, largest sample difference %u, mean %.4f, %llu pixels (%.4f%%) over %u: %s\n",
                a.width, a.height, difference.largest, difference.meanSample,
                static_cast<unsigned long long>(difference.pixelsOver), fractionOver * 100.0, tolerance,
                match ? "match" : "MISMATCH");
    return match ? 0 : 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "pngdiff: %s\n", error.what());
    return 2;
  }
}

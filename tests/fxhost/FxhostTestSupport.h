// Running the fxhost executable as a user would, and reading what it wrote.
// The PNG readers here use libpng directly with no transformation, apart from
// fxhost's own code, so a fault in fxhost's PNG handling cannot hide itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/DepthReference.h"

namespace qvx::test {

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
  // The last line of standard error ("fxhost: error: ..." on failure).
  std::string LastErrorLine() const;
};

// Runs fxhost with the arguments (no shell involved in their meaning: each
// is quoted) in the given folder.
RunResult RunFxhost(const std::vector<std::string>& arguments, const std::string& folder);

// A fresh folder under the system's temporary folder, removed at the end.
class WorkFolder {
 public:
  WorkFolder();
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  const std::string& Path() const { return path; }
  std::string operator/(const std::string& name) const { return path + "/" + name; }
  // Every file name in the folder and its subfolders, relative, sorted.
  std::vector<std::string> Files() const;

 private:
  std::string path;
};

struct Picture {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t channels = 0;
  uint32_t bitDepth = 0;
  std::vector<uint16_t> samples;  // rows top first, channels interleaved
  uint16_t At(uint32_t x, uint32_t y, uint32_t channel) const {
    return samples[(static_cast<size_t>(y) * width + x) * channels + channel];
  }
};

// Reads a PNG as stored (no expansion, no conversion). Fails the test on error.
Picture ReadPicture(const std::string& path);
// Writes an 8-bit grey PNG.
void WriteGrey8(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& levels);
// Writes the picture as stored: grey, grey + alpha, RGB or RGBA by its
// channel count, 8 or 16 bits; with palette true (8-bit RGB only) as a
// palette picture with one entry per distinct colour.
void WritePicture(const std::string& path, const Picture& picture, bool palette = false);

// The 16-bit depth fixture (data/depth16.png) and its values, in millimetres.
std::string DepthFixturePath();
constexpr uint32_t kFixtureWidth = 96;
constexpr uint32_t kFixtureHeight = 48;
uint16_t ExpectedRawDepth(uint32_t x, uint32_t y);

// A grey reference texture of hardwareWidth x hardwareHeight holding the
// 16-bit picture (rows top first, as uploaded) in its lower rows, zero elsewhere.
ReferenceTexture GreyTexture(const std::vector<uint16_t>& values, uint32_t width, uint32_t height,
                             uint32_t hardwareWidth, uint32_t hardwareHeight);

// The effect's "Time" after a number of frames at a speed (its own clock:
// speed * 2 / 60 per frame, in double precision, wrapped at 100000).
float EffectTime(int frames, float speed);

// Compares an RGBA8 output (rows as written) with the reference: every
// channel within `tolerance` of the reference clamped to 0..1 and scaled to
// 255. Empty when all pixels match, else a description of the worst one.
std::string CompareWithReference(const Picture& output, const DepthReferenceResult& reference, int tolerance);

}  // namespace qvx::test

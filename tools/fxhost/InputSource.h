// The pictures a render feeds the module, one per frame, already mapped to
// depth (DepthMapping) and scaled to the chosen size:
//   - no input: the built-in scene (SyntheticScene), one still picture;
//   - a PNG file: one still picture;
//   - a pattern with a printf number ("in/depth_%04d.png"): the numbered
//     files from the first that exists, stopping at the first gap;
//   - a folder: its .png files in name order.
// Frames of a sequence are decoded one ahead on a worker thread, so reading
// files overlaps rendering. A render of more frames than a sequence holds
// starts it over.
#pragma once

#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "tools/fxhost/DepthMapping.h"
#include "tools/fxhost/Image.h"

namespace fxhost {

struct InputOptions {
  std::string input;     // empty: the built-in scene
  uint32_t width = 0;    // 0: the picture's own size (the scene: 1280x720)
  uint32_t height = 0;
  DepthMappingOptions depth;
};

class InputSource {
 public:
  // Finds the pictures and reads the first. Throws Error.
  explicit InputSource(const InputOptions& options);
  ~InputSource();

  uint32_t PictureCount() const { return static_cast<uint32_t>(files.empty() ? 1 : files.size()); }
  bool IsStill() const { return files.size() <= 1; }
  uint32_t Width() const { return first.width; }
  uint32_t Height() const { return first.height; }
  // The picture for a frame, valid until the next call. Throws Error when a
  // later file is unreadable or differs in size from the first.
  const Image& Picture(uint64_t frameIndex);
  // "built-in scene 1280x720", "depth.png (16-bit grey, range 500 to 4000)", ...
  std::string Describe() const;

 private:
  Image Load(uint32_t position) const;
  Image Prepare(const Image& raw) const;
  void Prefetch(uint32_t position);

  std::vector<std::string> files;  // empty for the built-in scene
  InputOptions options;
  DepthMapping mapping;
  std::string rawFormat;
  Image first;
  Image current;
  uint32_t currentPosition = 0;
  std::future<Image> next;
  uint32_t nextPosition = 0;
};

// Every file of a numbered pattern or folder, in order; a plain file alone.
// Throws Error when there is none.
std::vector<std::string> ListInputFiles(const std::string& input);

}  // namespace fxhost

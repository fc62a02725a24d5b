#include "tools/fxhost/OutputTarget.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "tools/fxhost/Error.h"
#include "tools/fxhost/NumberPattern.h"

namespace fxhost {
namespace {

std::string LowerExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

}  // namespace

OutputTarget ParseOutputTarget(const std::string& output) {
  OutputTarget target;
  if (output == "null") return target;
  if (output.empty()) throw Error("no output: give -o FILE.png, -o 'frames/f_%04d.png', -o FILE.mp4, or --null");
  target.path = output;
  const std::string extension = LowerExtension(output);
  const bool pattern = output.find('%') != std::string::npos;
  if (extension == ".png") {
    if (pattern && !IsNumberPattern(output)) {
      throw Error("the output pattern '" + output + "' must hold exactly one number like %04d");
    }
    target.kind = pattern ? OutputKind::Sequence : OutputKind::Picture;
    return target;
  }
  if (pattern) throw Error("a numbered output must be a .png pattern like 'frames/f_%04d.png'");
  if (extension == ".mp4" || extension == ".webm" || extension == ".mkv") {
    target.kind = OutputKind::Video;
    target.container = extension.substr(1);
    return target;
  }
  throw Error("cannot tell what to write from '" + output +
              "': use .png, a numbered .png pattern, .mp4, .webm or .mkv, or null");
}

std::string SequenceFramePath(const std::string& pattern, uint64_t frameIndex) {
  return FormatNumberPattern(pattern, frameIndex + 1);
}

}  // namespace fxhost

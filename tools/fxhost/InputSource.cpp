#include "tools/fxhost/InputSource.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "tools/fxhost/Error.h"
#include "tools/fxhost/NumberPattern.h"
#include "tools/fxhost/PngFile.h"
#include "tools/fxhost/SyntheticScene.h"

namespace fxhost {
namespace {

bool IsPattern(const std::string& input) { return input.find('%') != std::string::npos; }

std::string FormatName(const Image& picture) {
  static const char* kChannelNames[] = {"grey", "grey+alpha", "RGB", "RGBA"};
  return std::to_string(picture.bitDepth) + "-bit " + kChannelNames[picture.channels - 1];
}

}  // namespace

std::vector<std::string> ListInputFiles(const std::string& input) {
  std::vector<std::string> files;
  std::error_code error;
  if (IsPattern(input)) {
    if (!IsNumberPattern(input)) throw Error("the input pattern '" + input + "' must hold exactly one number like %04d");
    uint32_t number = 0;
    // The first number that exists, looking at 0 and 1 and a little beyond.
    while (number < 10 && !std::filesystem::exists(FormatNumberPattern(input, number), error)) ++number;
    for (; std::filesystem::exists(FormatNumberPattern(input, number), error); ++number) {
      files.push_back(FormatNumberPattern(input, number));
    }
    if (files.empty()) throw Error("no file matches the pattern '" + input + "' (numbers from 0 to 9 tried)");
    return files;
  }
  if (std::filesystem::is_directory(input, error)) {
    for (const auto& entry : std::filesystem::directory_iterator(input, error)) {
      std::string extension = entry.path().extension().string();
      std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
      if (entry.is_regular_file(error) && extension == ".png") files.push_back(entry.path().string());
    }
    if (error) throw Error("cannot list the folder '" + input + "': " + error.message());
    std::sort(files.begin(), files.end());
    if (files.empty()) throw Error("the folder '" + input + "' holds no .png file");
    return files;
  }
  if (!std::filesystem::exists(input, error)) throw Error("the input '" + input + "' does not exist");
  files.push_back(input);
  return files;
}

InputSource::InputSource(const InputOptions& inputOptions) : options(inputOptions) {
  if ((options.width == 0) != (options.height == 0)) throw Error("a size needs both a width and a height");
  if (options.width > kLargestSide || options.height > kLargestSide) {
    throw Error("the size " + std::to_string(options.width) + "x" + std::to_string(options.height) +
                " is beyond " + std::to_string(kLargestSide) + " a side");
  }
  Image raw;
  if (options.input.empty()) {
    raw = MakeSyntheticScene(options.width != 0 ? options.width : kSceneWidth,
                             options.height != 0 ? options.height : kSceneHeight);
    rawFormat = "built-in scene";
    // The scene is already 0..1 depth: it is stretched only when asked.
    DepthMappingOptions asked = options.depth;
    if (asked.range.empty() && !asked.invert && !asked.noDepthValue) {
      mapping.enabled = false;
    } else {
      if (asked.range.empty()) asked.range = "full";
      mapping = ResolveDepthMapping(asked, raw);
    }
  } else {
    files = ListInputFiles(options.input);
    raw = ReadPng(files.front());
    rawFormat = FormatName(raw);
    mapping = ResolveDepthMapping(options.depth, raw);
  }
  first = Prepare(raw);
  current = first;
  if (files.size() > 1) Prefetch(1);
}

InputSource::~InputSource() {
  if (next.valid()) next.wait();
}

Image InputSource::Load(uint32_t position) const { return Prepare(ReadPng(files[position])); }

Image InputSource::Prepare(const Image& raw) const {
  Image mapped = ApplyDepthMapping(mapping, raw);
  if (options.width != 0 && (mapped.width != options.width || mapped.height != options.height)) {
    return ResizeImage(mapped, options.width, options.height);
  }
  return mapped;
}

void InputSource::Prefetch(uint32_t position) {
  nextPosition = position;
  next = std::async(std::launch::async, [this, position] { return Load(position); });
}

const Image& InputSource::Picture(uint64_t frameIndex) {
  if (IsStill()) return first;
  const auto position = static_cast<uint32_t>(frameIndex % files.size());
  if (position == currentPosition) return current;
  if (next.valid() && nextPosition == position) {
    current = next.get();
  } else {
    if (next.valid()) next.wait();
    next = {};
    current = position == 0 ? first : Load(position);
  }
  currentPosition = position;
  if (!current.SameFormat(first)) {
    throw Error("'" + files[position] + "' differs from the first picture in size or format (" +
                std::to_string(current.width) + "x" + std::to_string(current.height) + " " + FormatName(current) +
                ", expected " + std::to_string(first.width) + "x" + std::to_string(first.height) + " " +
                FormatName(first) + ")");
  }
  const uint32_t following = (position + 1) % static_cast<uint32_t>(files.size());
  if (following != 0) Prefetch(following);  // position 0 is the first picture, kept
  return current;
}

std::string InputSource::Describe() const {
  std::string text;
  if (files.empty()) {
    text = rawFormat;
  } else if (files.size() == 1) {
    text = files.front() + " (" + rawFormat + ")";
  } else {
    text = std::to_string(files.size()) + " pictures from " + files.front() + " (" + rawFormat + ")";
  }
  text += ", " + std::to_string(first.width) + "x" + std::to_string(first.height);
  text += ", depth range " + DescribeDepthMapping(mapping);
  return text;
}

}  // namespace fxhost

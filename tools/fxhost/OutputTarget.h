// What -o names: nothing ("null"), one PNG, a numbered PNG sequence
// ("out/frame_%04d.png", numbered from 1), or a video file (.mp4, .webm, .mkv).
#pragma once

#include <cstdint>
#include <string>

namespace fxhost {

enum class OutputKind { Null, Picture, Sequence, Video };

struct OutputTarget {
  OutputKind kind = OutputKind::Null;
  std::string path;       // the file, or the sequence pattern
  std::string container;  // videos: "mp4", "webm" or "mkv"
};

// Throws Error for an empty name, an unknown extension or a malformed pattern.
OutputTarget ParseOutputTarget(const std::string& output);

// The file name of one frame of a sequence (frame 0 gets number 1).
std::string SequenceFramePath(const std::string& pattern, uint64_t frameIndex);

}  // namespace fxhost

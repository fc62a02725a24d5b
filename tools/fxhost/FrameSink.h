// Where rendered frames go. The render thread hands each finished frame to
// Consume (the pixels valid only during the call); a sink that encodes copies
// them and does the work on other threads. Finish waits for that work and
// makes the output final; a sink destroyed without Finish leaves nothing
// behind that looks complete.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace fxhost {

struct OutputTarget;

class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // frameIndex counts from 0; rgba holds width x height RGBA8 pixels, picture top row first.
  virtual void Consume(uint64_t frameIndex, const uint8_t* rgba) = 0;
  // Throws Error when any frame could not be written.
  virtual void Finish() = 0;
};

struct VideoSettings {
  double framesPerSecond = 60.0;
  std::string ffmpeg = "ffmpeg";  // program name or path
};

// Checks what can be checked before anything is rendered: the folder can
// take the files, ffmpeg is there for a video. Throws Error otherwise.
void CheckOutputTarget(const OutputTarget& target, const VideoSettings& video);

// The sink for an output target (checked as above). Throws Error.
std::unique_ptr<FrameSink> MakeFrameSink(const OutputTarget& target, uint32_t width, uint32_t height,
                                         const VideoSettings& video);

}  // namespace fxhost

// Video output: raw RGBA frames piped into ffmpeg, which encodes them (H.264
// in .mp4 and .mkv, VP9 in .webm) into a temporary file that is renamed into
// place once ffmpeg has finished without error. A writer thread feeds the
// pipe, so encoding overlaps rendering.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "tools/fxhost/AtomicFile.h"
#include "tools/fxhost/ChildProcess.h"
#include "tools/fxhost/FramePool.h"
#include "tools/fxhost/FrameSink.h"
#include "tools/fxhost/OutputTarget.h"

namespace fxhost {

// "writing mp4 video needs ffmpeg, and 'x' is not installed ...".
std::string MissingFfmpegMessage(const OutputTarget& target, const VideoSettings& settings);

class VideoSink : public FrameSink {
 public:
  // Throws Error when ffmpeg is not installed or cannot be started.
  VideoSink(const OutputTarget& target, uint32_t width, uint32_t height, const VideoSettings& settings);
  ~VideoSink() override;

  void Consume(uint64_t frameIndex, const uint8_t* rgba) override;
  void Finish() override;

  // ffmpeg's arguments for a container ("mp4", "webm", "mkv").
  static std::vector<std::string> EncoderArguments(const std::string& container, uint32_t width, uint32_t height,
                                                   double framesPerSecond, const std::string& outputPath);

 private:
  void WriteFrames();
  void StopWriter();

  size_t frameBytes;
  AtomicFile file;
  std::unique_ptr<ChildProcess> encoder;
  FramePool pool;
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<FramePool::Buffer> queue;
  bool closing = false;
  bool writeFailed = false;
  std::thread writer;
};

}  // namespace fxhost

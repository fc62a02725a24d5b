// The PNG and null sinks, and the choice of sink for an output target.
#include <cstring>
#include <vector>

#include "tools/fxhost/AtomicFile.h"
#include "tools/fxhost/Error.h"
#include "tools/fxhost/FramePool.h"
#include "tools/fxhost/FrameSink.h"
#include "tools/fxhost/OutputTarget.h"
#include "tools/fxhost/PngFile.h"
#include "tools/fxhost/System.h"
#include "tools/fxhost/VideoSink.h"
#include "tools/fxhost/WorkerPool.h"

namespace fxhost {
namespace {

// Fast zlib level for frames: a sequence is written at render speed.
constexpr int kFrameCompression = 3;
// A single picture: zlib's usual balance of size and time.
constexpr int kStillCompression = 6;

// Frames are read back and dropped: the cost of rendering and read-back alone.
class NullSink : public FrameSink {
 public:
  void Consume(uint64_t, const uint8_t*) override {}
  void Finish() override {}
};

// One PNG: the last frame rendered (with --frames N, the state at frame N).
class PictureSink : public FrameSink {
 public:
  PictureSink(const std::string& filePath, uint32_t frameWidth, uint32_t frameHeight)
      : path(filePath), width(frameWidth), height(frameHeight), pixels(static_cast<size_t>(frameWidth) * frameHeight * 4) {}

  void Consume(uint64_t, const uint8_t* rgba) override {
    std::memcpy(pixels.data(), rgba, pixels.size());
    received = true;
  }
  void Finish() override {
    if (!received) throw Error("no frame was rendered for '" + path + "'");
    AtomicFile file(path);
    WritePng(file.TemporaryPath(), width, height, 4, 8, pixels.data(), static_cast<size_t>(width) * 4,
             kStillCompression);
    file.Commit();
  }

 private:
  std::string path;
  uint32_t width;
  uint32_t height;
  std::vector<uint8_t> pixels;
  bool received = false;
};

// Numbered PNGs, encoded on worker threads; each file appears whole under its name.
class SequenceSink : public FrameSink {
 public:
  SequenceSink(const std::string& filePattern, uint32_t frameWidth, uint32_t frameHeight)
      : pattern(filePattern),
        width(frameWidth),
        height(frameHeight),
        pool(static_cast<size_t>(frameWidth) * frameHeight * 4),
        workers(EncoderThreadCount(), 2 * EncoderThreadCount()) {}

  void Consume(uint64_t frameIndex, const uint8_t* rgba) override {
    FramePool::Buffer buffer = pool.Take();
    std::memcpy(buffer->data(), rgba, buffer->size());
    const std::string path = SequenceFramePath(pattern, frameIndex);
    const uint32_t frameWidth = width;
    const uint32_t frameHeight = height;
    workers.Submit([buffer, path, frameWidth, frameHeight] {
      AtomicFile file(path);
      WritePng(file.TemporaryPath(), frameWidth, frameHeight, 4, 8, buffer->data(),
               static_cast<size_t>(frameWidth) * 4, kFrameCompression);
      file.Commit();
    });
  }
  void Finish() override { workers.Wait(); }

 private:
  std::string pattern;
  uint32_t width;
  uint32_t height;
  FramePool pool;
  WorkerPool workers;
};

}  // namespace

void CheckOutputTarget(const OutputTarget& target, const VideoSettings& video) {
  switch (target.kind) {
    case OutputKind::Null:
      return;
    case OutputKind::Sequence:
      PrepareOutputFolder(SequenceFramePath(target.path, 0));
      return;
    case OutputKind::Picture:
      PrepareOutputFolder(target.path);
      return;
    case OutputKind::Video:
      PrepareOutputFolder(target.path);
      if (FindProgram(video.ffmpeg).empty()) throw Error(MissingFfmpegMessage(target, video));
      return;
  }
}

std::unique_ptr<FrameSink> MakeFrameSink(const OutputTarget& target, uint32_t width, uint32_t height,
                                         const VideoSettings& video) {
  CheckOutputTarget(target, video);
  switch (target.kind) {
    case OutputKind::Null: return std::make_unique<NullSink>();
    case OutputKind::Picture: return std::make_unique<PictureSink>(target.path, width, height);
    case OutputKind::Sequence: return std::make_unique<SequenceSink>(target.path, width, height);
    case OutputKind::Video: return std::make_unique<VideoSink>(target, width, height, video);
  }
  throw Error("unknown output kind");
}

}  // namespace fxhost

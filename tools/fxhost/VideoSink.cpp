#include "tools/fxhost/VideoSink.h"

#include <cstring>
#include <filesystem>

#include "tools/fxhost/Error.h"
#include "tools/fxhost/System.h"

namespace fxhost {
namespace {

constexpr size_t kQueuedFrames = 4;

}  // namespace

std::string MissingFfmpegMessage(const OutputTarget& target, const VideoSettings& settings) {
  return "writing " + target.container + " video needs ffmpeg, and '" + settings.ffmpeg +
         "' is not installed or not on PATH (install it, e.g. apt-get install ffmpeg, or write PNGs)";
}

std::vector<std::string> VideoSink::EncoderArguments(const std::string& container, uint32_t width, uint32_t height,
                                                     double framesPerSecond, const std::string& outputPath) {
  std::vector<std::string> arguments = {
      "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
      "-f", "rawvideo", "-pix_fmt", "rgba",
      "-video_size", std::to_string(width) + "x" + std::to_string(height),
      "-framerate", std::to_string(framesPerSecond),
      "-i", "pipe:0", "-an",
      // 4:2:0 video needs even sides.
      "-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2", "-pix_fmt", "yuv420p"};
  if (container == "webm") {
    arguments.insert(arguments.end(), {"-c:v", "libvpx-vp9", "-crf", "30", "-b:v", "0", "-deadline", "good",
                                       "-cpu-used", "4", "-row-mt", "1", "-f", "webm"});
  } else {
    arguments.insert(arguments.end(), {"-c:v", "libx264", "-preset", "fast", "-crf", "18"});
    if (container == "mp4") arguments.insert(arguments.end(), {"-movflags", "+faststart", "-f", "mp4"});
    else arguments.insert(arguments.end(), {"-f", "matroska"});
  }
  arguments.push_back(outputPath);
  return arguments;
}

VideoSink::VideoSink(const OutputTarget& target, uint32_t width, uint32_t height, const VideoSettings& settings)
    : frameBytes(static_cast<size_t>(width) * height * 4), file(target.path), pool(frameBytes) {
  const std::string program = FindProgram(settings.ffmpeg);
  if (program.empty()) throw Error(MissingFfmpegMessage(target, settings));
  encoder = std::make_unique<ChildProcess>(
      program, EncoderArguments(target.container, width, height, settings.framesPerSecond, file.TemporaryPath()));
  writer = std::thread([this] { WriteFrames(); });
}

VideoSink::~VideoSink() {
  // Unfinished (an error elsewhere): end ffmpeg first, so a writer blocked on
  // the pipe fails out; the AtomicFile then removes the partial video.
  if (encoder) encoder->Kill();
  StopWriter();
}

void VideoSink::Consume(uint64_t, const uint8_t* rgba) {
  FramePool::Buffer buffer = pool.Take();
  std::memcpy(buffer->data(), rgba, frameBytes);
  std::unique_lock<std::mutex> lock(mutex);
  changed.wait(lock, [this] { return queue.size() < kQueuedFrames || writeFailed; });
  if (writeFailed) {
    lock.unlock();
    StopWriter();
    encoder->Finish();
    const std::string said = encoder->LastOutputLine();
    throw Error("ffmpeg stopped taking frames" + (said.empty() ? std::string() : ": " + said));
  }
  queue.push_back(std::move(buffer));
  changed.notify_all();
}

void VideoSink::Finish() {
  StopWriter();
  const bool fed = !writeFailed;
  const bool encoded = encoder->Finish();
  if (!fed || !encoded) {
    const std::string said = encoder->LastOutputLine();
    throw Error("ffmpeg failed to encode '" + file.FinalPath() + "'" + (said.empty() ? std::string() : ": " + said));
  }
  std::error_code error;
  if (std::filesystem::file_size(file.TemporaryPath(), error) == 0 || error) {
    throw Error("ffmpeg wrote nothing for '" + file.FinalPath() + "'");
  }
  file.Commit();
}

void VideoSink::WriteFrames() {
  while (true) {
    FramePool::Buffer buffer;
    {
      std::unique_lock<std::mutex> lock(mutex);
      changed.wait(lock, [this] { return closing || !queue.empty(); });
      if (queue.empty()) return;
      buffer = std::move(queue.front());
      queue.pop_front();
    }
    changed.notify_all();
    if (!encoder->Write(buffer->data(), buffer->size())) {
      std::lock_guard<std::mutex> lock(mutex);
      writeFailed = true;
      queue.clear();
      changed.notify_all();
      return;
    }
  }
}

void VideoSink::StopWriter() {
  {
    std::lock_guard<std::mutex> lock(mutex);
    closing = true;
  }
  changed.notify_all();
  if (writer.joinable()) writer.join();
}

}  // namespace fxhost

#include "tools/fxhost/FramePipeline.h"

#include <chrono>

#include "tools/fxhost/FrameSink.h"
#include "tools/fxhost/InputSource.h"
#include "tools/fxhost/InputTexture.h"
#include "tools/fxhost/PluginInstance.h"
#include "tools/fxhost/ProgressBar.h"
#include "tools/fxhost/ReadbackRing.h"
#include "tools/fxhost/RenderTarget.h"

namespace fxhost {

PipelineResult RunFramePipeline(const PipelineParts& parts, uint64_t frameCount, double framesPerSecond,
                                ProgressBar& progress) {
  const auto start = std::chrono::steady_clock::now();
  ReadbackRing ring(parts.target.Width(), parts.target.Height(), kReadbackSlots);
  uint64_t delivered = 0;
  const ReadbackRing::Consumer deliver = [&](uint64_t frameIndex, const uint8_t* rgba) {
    parts.sink.Consume(frameIndex, rgba);
    ++delivered;
  };

  for (uint64_t frame = 0; frame < frameCount; ++frame) {
    if (frame == 0 || !parts.input.IsStill()) parts.texture.Upload(parts.input.Picture(frame));
    parts.instance.SetHostTime(static_cast<double>(frame) / framesPerSecond);
    parts.instance.Render(parts.texture.Descriptor(), parts.target.Framebuffer());
    ring.Start(parts.target.Framebuffer(), frame, deliver);
    ring.Collect(false, deliver);
    progress.Update(delivered);
  }
  ring.Collect(true, deliver);
  progress.Update(delivered);
  parts.sink.Finish();
  progress.Finish();

  PipelineResult result;
  result.frames = delivered;
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return result;
}

}  // namespace fxhost

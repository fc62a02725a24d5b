#include "tools/fxhost/FramePipeline.h"

#include <chrono>

#include "tools/fxhost/FrameSink.h"
#include "tools/fxhost/GLFunctions.h"
#include "tools/fxhost/InputSource.h"
#include "tools/fxhost/InputTexture.h"
#include "tools/fxhost/PluginInstance.h"
#include "tools/fxhost/ProgressBar.h"
#include "tools/fxhost/ReadbackRing.h"
#include "tools/fxhost/RenderTarget.h"

namespace fxhost {

PipelineResult RunFramePipeline(const PipelineParts& parts, uint64_t frameCount, double framesPerSecond,
                                ProgressBar& progress, bool readBack) {
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
    if (readBack) {
      ring.Start(parts.target.Framebuffer(), frame, deliver);
      ring.Collect(false, deliver);
    } else {
      // Each frame is handed to the GL as a host would present it; without
      // this, a software GL may drop whole frames that nothing ever reads.
      glFlush();
      ++delivered;
    }
    progress.Update(delivered);
  }
  ring.Collect(true, deliver);
  if (!readBack) glFinish();
  progress.Update(delivered);
  parts.sink.Finish();
  progress.Finish();

  PipelineResult result;
  result.frames = delivered;
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return result;
}

}  // namespace fxhost

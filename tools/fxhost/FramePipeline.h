// The render loop, in one place. For every frame: upload the input picture
// when it changed, tell the module the host time, have it render into
// fxhost's framebuffer (code 17), and start the frame's asynchronous
// read-back; read-backs that have completed go to the sink, oldest first,
// while later frames render. At the end every read-back is collected and the
// sink finishes its encoding.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fxhost {

class FrameSink;
class InputSource;
class InputTexture;
class PluginInstance;
class ProgressBar;
class RenderTarget;

struct PipelineParts {
  PluginInstance& instance;
  InputSource& input;
  InputTexture& texture;
  RenderTarget& target;
  FrameSink& sink;
};

struct PipelineResult {
  uint64_t frames = 0;
  double seconds = 0.0;  // from the first render to the sink's finish
};

// Read-back buffers in flight at most: enough to keep the GL busy while the
// oldest copy completes.
constexpr size_t kReadbackSlots = 3;

// Throws Error when the module, the GL or the sink fails. Without readBack
// the frames are only rendered and flushed, one by one as a host presents
// them (the sink gets none; the GL is finished at the end so the time is
// honest): the yardstick "rendering alone" that the null sink, which reads
// every frame back, is measured against.
PipelineResult RunFramePipeline(const PipelineParts& parts, uint64_t frameCount, double framesPerSecond,
                                ProgressBar& progress, bool readBack = true);

}  // namespace fxhost

#include "tools/fxhost/RenderCommand.h"

#include <CLI/CLI.hpp>

#include <cstdio>

#include "tools/fxhost/AtomicFile.h"
#include "tools/fxhost/Error.h"
#include "tools/fxhost/FramePipeline.h"
#include "tools/fxhost/FrameSink.h"
#include "tools/fxhost/HostLog.h"
#include "tools/fxhost/HostSession.h"
#include "tools/fxhost/InputSource.h"
#include "tools/fxhost/InputTexture.h"
#include "tools/fxhost/ModuleLocator.h"
#include "tools/fxhost/OutputTarget.h"
#include "tools/fxhost/PluginInstance.h"
#include "tools/fxhost/PngFile.h"
#include "tools/fxhost/ProgressBar.h"
#include "tools/fxhost/RenderTarget.h"

namespace fxhost {
namespace {

// Frames beyond this are surely a typo (at 60 fps, over four days).
constexpr uint64_t kMostFrames = 1ull << 24;

std::string SizeText(uint32_t width, uint32_t height) { return std::to_string(width) + "x" + std::to_string(height); }

void CheckSize(uint32_t width, uint32_t height, int maximumSide, const char* what) {
  if (width > static_cast<uint32_t>(maximumSide) || height > static_cast<uint32_t>(maximumSide)) {
    throw Error(std::string(what) + " " + SizeText(width, height) + " is beyond this OpenGL's largest texture side " +
                std::to_string(maximumSide));
  }
}

}  // namespace

void RegisterRenderOptions(CLI::App& command, RenderOptions& options) {
  RegisterSharedOptions(command, options.shared);
  command.add_option("-o,--output", options.output,
                     "Where frames go: FILE.png (with several frames, the last), a numbered sequence like "
                     "'out/frame_%04d.png' (numbered from 1), a video FILE.mp4, FILE.webm or FILE.mkv (through "
                     "ffmpeg), or 'null'");
  command.add_flag("--null", options.null, "Render and read back, but write nothing (same as -o null)");
  command.add_flag("--render-only", options.renderOnly,
                   "Render without reading anything back and write nothing: the yardstick for --null's speed");
  command
      .add_option("-n,--frames", options.frames,
                  "Frames to render (default: 1 for a still input, the whole sequence for a sequence)")
      ->check(CLI::Range(uint64_t{1}, kMostFrames));
  command.add_option("-s,--size", options.size,
                     "Picture size WIDTHxHEIGHT: scales the built-in scene (default 1280x720) or resamples the input");
  command.add_flag("--pad", options.pad,
                   "Put the picture in a larger texture (next power of two on each side), as some hosts do; the "
                   "module then fills, and fxhost writes, the whole allocated size");
  command.add_option("--fps", options.framesPerSecond,
                     "Frame rate of a video and of the host time (default 60); the effect's own animation advances "
                     "per frame, so a video at a higher rate plays it faster");
  command.add_option("--ffmpeg", options.ffmpeg, "The ffmpeg program used for video output (default: ffmpeg on PATH)");
  command.add_option("--save-input", options.saveInput,
                     "Also write the first input picture exactly as the module receives it (after range mapping "
                     "and scaling) to this PNG");
  command.add_flag("--no-progress", options.noProgress, "Draw no progress bar");
}

void RunRender(const RenderOptions& options) {
  // Everything that needs neither module nor GL is checked first.
  const bool nothingWritten = options.null || options.renderOnly;
  if (nothingWritten && !options.output.empty() && options.output != "null") {
    throw Error(std::string(options.null ? "--null" : "--render-only") + " and -o " + options.output +
                " contradict each other");
  }
  const OutputTarget target = ParseOutputTarget(nothingWritten ? "null" : options.output);
  if (!(options.framesPerSecond > 0.0 && options.framesPerSecond <= 1000.0)) {
    throw Error("--fps must lie above 0 and at most 1000");
  }
  uint32_t width = 0;
  uint32_t height = 0;
  if (!options.size.empty()) ParseSize(options.size, "--size", &width, &height);

  VideoSettings video;
  video.framesPerSecond = options.framesPerSecond;
  video.ffmpeg = options.ffmpeg;
  CheckOutputTarget(target, video);
  InputSource input(MakeInputOptions(options.shared, width, height));
  const uint64_t frameCount = options.frames != 0 ? options.frames : input.PictureCount();

  HostLog::SetEcho(!options.shared.quiet);
  HostSession session(ResolveModulePath(options.shared.module), ContextKind(options.shared));
  const std::vector<ParameterSetting> settings = ParseParameterSettings(options.shared, session.Description());
  if (!options.saveInput.empty()) {
    PrepareOutputFolder(options.saveInput);
    AtomicFile file(options.saveInput);
    WritePng(file.TemporaryPath(), input.Picture(0), 6);
    file.Commit();
  }

  const Image& first = input.Picture(0);
  CheckSize(first.width, first.height, session.MaximumSide(), "the picture");
  if (options.pad) {
    CheckSize(InputTexture::NextPowerOfTwo(first.width), InputTexture::NextPowerOfTwo(first.height),
              session.MaximumSide(), "the padded texture");
  }
  InputTexture texture(first, options.pad, options.shared.nearest);
  RenderTarget renderTarget(texture.HardwareWidth(), texture.HardwareHeight());
  std::unique_ptr<FrameSink> sink = MakeFrameSink(target, renderTarget.Width(), renderTarget.Height(), video);

  const ModuleDescription& description = session.Description();
  Inform(options.shared, "module: " + description.name + " " + std::to_string(description.pluginMajorVersion) + "." +
                             std::to_string(description.pluginMinorVersion) + " from " + session.Module().Path());
  Inform(options.shared, "input: " + input.Describe() +
                             (options.pad ? ", padded to " + SizeText(texture.HardwareWidth(), texture.HardwareHeight())
                                          : ""));
  Inform(options.shared, "OpenGL: " + session.DescribeGL());

  const Viewport viewport{0, 0, renderTarget.Width(), renderTarget.Height()};
  PluginInstance instance(session.Module(), viewport);
  instance.SetHostInfo("fxhost", QVX_VERSION);
  for (const ParameterSetting& setting : settings) instance.SetParameter(setting);

  ProgressBar progress(frameCount, !options.noProgress && !options.shared.quiet);
  const PipelineResult result = RunFramePipeline({instance, input, texture, renderTarget, *sink}, frameCount,
                                                 options.framesPerSecond, progress, !options.renderOnly);

  const std::string done = target.kind == OutputKind::Null ? "rendered" : "wrote " + target.path + ":";
  char summary[512];
  std::snprintf(summary, sizeof summary, "%s %llu frame%s of %s in %.2f s (%.1f frames/s)", done.c_str(),
                static_cast<unsigned long long>(result.frames), result.frames == 1 ? "" : "s",
                SizeText(renderTarget.Width(), renderTarget.Height()).c_str(), result.seconds,
                result.seconds > 0.0 ? static_cast<double>(result.frames) / result.seconds : 0.0);
  Inform(options.shared, summary);
}

}  // namespace fxhost

#include "tools/fxhost/SharedOptions.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tools/fxhost/Error.h"
#include "tools/fxhost/GLContext.h"
#include "tools/fxhost/PngFile.h"

namespace fxhost {

void RegisterSharedOptions(CLI::App& command, SharedOptions& options) {
  command.add_option("module", options.module,
                     "The module to load (default: the Quorvalentix module built or installed with fxhost)");
  command.add_option("-i,--input", options.input,
                     "Input: a PNG (8/16-bit grey, grey+alpha, RGB, RGBA), a numbered sequence like "
                     "'in/depth_%04d.png', or a folder of PNGs; default: the built-in depth scene");
  command.add_option("-p,--param", options.parameters,
                     "Set a parameter, by name or index: --param Colormap=Turbo --param \"Show Edges=1\" "
                     "--param Speed=0.8 (repeatable; option values by element name)");
  command.add_option("--range", options.range,
                     "Map raw depth to 0..1 before the module sees it: 'auto' (1st to 99th percentile of the "
                     "non-zero pixels; the default for 16-bit grey input) or MIN:MAX in the input's raw units");
  command.add_flag("--invert", options.invert, "Make near bright: depth becomes 1 - depth after the range mapping");
  command.add_option("--no-depth", options.noDepthValue,
                     "Show zero pixels (no depth measured) as this value from 0 to 1 instead of keeping them at 0");
  command.add_flag("--glx", options.glx,
                   "Make the GL context through GLX on $DISPLAY instead of headless EGL (same as --gl glx)");
  command.add_option("--gl", options.gl,
                     "How to make the OpenGL 4.1 core context: egl (default: headless, a GPU device if there is "
                     "one, else Mesa's surfaceless platform), egl-device, egl-surfaceless, or glx")
      ->check(CLI::IsMember(ContextKinds()));
  command.add_flag("--nearest", options.nearest,
                   "Sample the input texture with nearest filtering instead of linear");
  command.add_flag("-q,--quiet", options.quiet, "Print no information lines and no module log texts");
}

void ParseSize(const std::string& text, const char* option, uint32_t* width, uint32_t* height) {
  const size_t separator = text.find_first_of("xX");
  auto parseSide = [&](const std::string& side, uint32_t* value) {
    if (side.empty() || side.size() > 9 || side.find_first_not_of("0123456789") != std::string::npos) return false;
    *value = static_cast<uint32_t>(std::strtoul(side.c_str(), nullptr, 10));
    return true;
  };
  if (separator == std::string::npos || !parseSide(text.substr(0, separator), width) ||
      !parseSide(text.substr(separator + 1), height)) {
    throw Error(std::string(option) + " must be WIDTHxHEIGHT like 640x360, not '" + text + "'");
  }
  if (*width == 0 || *height == 0) throw Error(std::string(option) + " " + text + ": a side of zero pixels");
  if (*width > kLargestSide || *height > kLargestSide) {
    throw Error(std::string(option) + " " + text + " is too large: at most " + std::to_string(kLargestSide) +
                " pixels a side");
  }
}

InputOptions MakeInputOptions(const SharedOptions& options, uint32_t width, uint32_t height) {
  InputOptions input;
  input.input = options.input;
  input.width = width;
  input.height = height;
  input.depth.range = options.range;
  input.depth.invert = options.invert;
  if (!std::isnan(options.noDepthValue)) input.depth.noDepthValue = options.noDepthValue;
  return input;
}

std::vector<ParameterSetting> ParseParameterSettings(const SharedOptions& options,
                                                     const ModuleDescription& description) {
  std::vector<ParameterSetting> settings;
  for (const std::string& argument : options.parameters) settings.push_back(ParseParameterSetting(argument, description));
  if (!options.quiet) {
    for (const std::string& warning : RangeWarnings(settings, description)) {
      std::fprintf(stderr, "fxhost: warning: %s\n", warning.c_str());
    }
  }
  return settings;
}

std::string ContextKind(const SharedOptions& options) {
  if (options.glx && !options.gl.empty() && options.gl != "glx") {
    throw Error("--glx and --gl " + options.gl + " contradict each other");
  }
  if (options.glx) return "glx";
  return options.gl.empty() ? ContextKinds().front() : options.gl;
}

void Inform(const SharedOptions& options, const std::string& line) {
  if (options.quiet) return;
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

}  // namespace fxhost

// fxhost render: loads the module, makes a GL context, creates an instance,
// sets parameters, renders frames of the input and writes them.
#pragma once

#include <cstdint>
#include <string>

#include "tools/fxhost/SharedOptions.h"

namespace CLI {
class App;
}

namespace fxhost {

struct RenderOptions {
  SharedOptions shared;
  std::string output;
  bool null = false;
  bool renderOnly = false;
  uint64_t frames = 0;  // 0: one for a still input, the sequence's length otherwise
  std::string size;     // empty: the input's own size (the built-in scene: 1280x720)
  bool pad = false;
  double framesPerSecond = 60.0;
  std::string ffmpeg = "ffmpeg";
  std::string saveInput;
  bool noProgress = false;
};

void RegisterRenderOptions(CLI::App& command, RenderOptions& options);
void RunRender(const RenderOptions& options);

}  // namespace fxhost

// Options that render and sheet share: the module, the input and its depth
// mapping, parameter values and the kind of GL context.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "tools/fxhost/InputSource.h"
#include "tools/fxhost/ModuleDescription.h"
#include "tools/fxhost/ParameterSettings.h"

namespace CLI {
class App;
}

namespace fxhost {

struct SharedOptions {
  std::string module;
  std::string input;
  std::vector<std::string> parameters;
  std::string range;
  bool invert = false;
  double noDepthValue = std::numeric_limits<double>::quiet_NaN();  // NaN: not given
  std::string gl;  // a context kind; empty: the default (headless EGL)
  bool glx = false;
  bool nearest = false;
  bool quiet = false;
};

void RegisterSharedOptions(CLI::App& command, SharedOptions& options);

// "640x360" -> 640, 360. Throws Error for anything else, a zero side or a
// side beyond the largest fxhost accepts.
void ParseSize(const std::string& text, const char* option, uint32_t* width, uint32_t* height);

// The input options for a picture size (0 x 0: the input's own).
InputOptions MakeInputOptions(const SharedOptions& options, uint32_t width, uint32_t height);

// Every --param, checked against the module. Prints range warnings unless quiet.
std::vector<ParameterSetting> ParseParameterSettings(const SharedOptions& options,
                                                     const ModuleDescription& description);

// The context kind: --gl's, "glx" with --glx, else the default ("egl").
// Throws Error when --gl and --glx disagree.
std::string ContextKind(const SharedOptions& options);

// Prints an information line on standard output unless quiet.
void Inform(const SharedOptions& options, const std::string& line);

}  // namespace fxhost

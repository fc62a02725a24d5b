// The module's one descriptor, made during static initialisation before the
// host can call plugMain, and destroyed when the module is unloaded.
#include "effect/Tessivane.h"
#include "host/PluginDescriptor.h"

namespace {

CFFGLPluginDescriptor tessivaneDescriptor(
    Tessivane::Create, "QX07", "Quorvalentix",
    2, 1,  // interface version
    2, 1,  // plugin version
    0,     // effect
    "Depth map visualizer \xE2\x80\x94 colormaps, cycling effects, edge detection", "Velquarine",
    0, nullptr,         // no extended data
    nullptr, nullptr);  // no initialise or deinitialise hook

}  // namespace

// The built-in input: a depth map of a small scene (a floor, a back wall, a
// ramp and four spheres) seen through a pinhole camera, as smooth 16-bit grey
// with near surfaces bright and the far wall dark. Every size shows the same
// scene, so --size scales it.
#pragma once

#include <cstdint>

#include "tools/fxhost/Image.h"

namespace fxhost {

constexpr uint32_t kSceneWidth = 1280;
constexpr uint32_t kSceneHeight = 720;

Image MakeSyntheticScene(uint32_t width, uint32_t height);

}  // namespace fxhost

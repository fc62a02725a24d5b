// Headless contexts through EGL, with no display at all. Automatic choice:
// the device platform's hardware devices first (a GPU server: Mesa's
// surfaceless platform would otherwise settle for its software renderer
// there), then Mesa's surfaceless platform, then software devices.
#pragma once

#include <memory>

#include "tools/fxhost/GLContext.h"

namespace fxhost {

enum class EglPlatform { kAutomatic, kDevice, kSurfaceless };

std::unique_ptr<GLContext> CreateEglContext(EglPlatform platform);

}  // namespace fxhost

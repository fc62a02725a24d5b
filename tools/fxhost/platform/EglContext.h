// Headless contexts through EGL: Mesa's surfaceless platform first, then each
// device of the device platform (a GPU server without any display).
#pragma once

#include <memory>

#include "tools/fxhost/GLContext.h"

namespace fxhost {

std::unique_ptr<GLContext> CreateEglContext();

}  // namespace fxhost

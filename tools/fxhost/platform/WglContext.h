// A context through WGL, made with wglCreateContextAttribsARB and current on
// a hidden window of its own (fxhost renders into its own framebuffer).
#pragma once

#include <memory>

#include "tools/fxhost/GLContext.h"

namespace fxhost {

std::unique_ptr<GLContext> CreateWglContext();

}  // namespace fxhost

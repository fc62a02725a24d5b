// A context through GLX on $DISPLAY, made with glXCreateContextAttribsARB and
// current on a small pbuffer (fxhost renders into its own framebuffer).
#pragma once

#include <memory>

#include "tools/fxhost/GLContext.h"

namespace fxhost {

std::unique_ptr<GLContext> CreateGlxContext();

}  // namespace fxhost

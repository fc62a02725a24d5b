// fxhost's own OpenGL 4.1 core context, current on the calling thread for the
// object's life. Each kind lives in its own platform file (platform/EglContext,
// platform/GlxContext, ...); platform/GLContexts<Platform>.cpp says which kinds
// a build offers.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace fxhost {

class GLContext {
 public:
  virtual ~GLContext() = default;
  // How the context was made, e.g. "EGL, Mesa surfaceless platform".
  virtual std::string Describe() const = 0;
};

// The kinds this build offers, the default (headless) one first.
std::vector<std::string> ContextKinds();

// Makes a context of that kind current. Throws Error saying why none could
// be made (no display, no 4.1 core support, ...).
std::unique_ptr<GLContext> CreateGLContext(const std::string& kind);

}  // namespace fxhost

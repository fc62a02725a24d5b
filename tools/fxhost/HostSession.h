// What every GL command of fxhost sets up first, in this order: the module
// (loaded, initialised, described), then fxhost's own GL context with its
// entry points loaded. Destroyed in reverse: the context goes before the
// module is deinitialised and unloaded. Instances made on the session must
// be gone before it is.
#pragma once

#include <memory>
#include <string>

#include "tools/fxhost/GLContext.h"
#include "tools/fxhost/ModuleDescription.h"
#include "tools/fxhost/ModuleLoader.h"

namespace fxhost {

class HostSession {
 public:
  // Throws Error from any step.
  HostSession(const std::string& modulePath, const std::string& contextKind);

  const ModuleLoader& Module() const { return module; }
  const ModuleDescription& Description() const { return description; }
  // "llvmpipe (...), OpenGL 4.5 (Core Profile) Mesa 22.3.6 through EGL surfaceless platform"
  std::string DescribeGL() const;
  // The largest side a texture or framebuffer may have here.
  int MaximumSide() const { return maximumSide; }

 private:
  ModuleLoader module;
  ModuleDescription description;
  std::unique_ptr<GLContext> context;
  int maximumSide = 0;
};

}  // namespace fxhost

#include "tools/fxhost/Error.h"
#include "tools/fxhost/GLContext.h"
#include "tools/fxhost/platform/EglContext.h"
#include "tools/fxhost/platform/GlxContext.h"

namespace fxhost {

std::vector<std::string> ContextKinds() { return {"egl", "egl-device", "egl-surfaceless", "glx"}; }

std::unique_ptr<GLContext> CreateGLContext(const std::string& kind) {
  if (kind == "egl") return CreateEglContext(EglPlatform::kAutomatic);
  if (kind == "egl-device") return CreateEglContext(EglPlatform::kDevice);
  if (kind == "egl-surfaceless") return CreateEglContext(EglPlatform::kSurfaceless);
  if (kind == "glx") return CreateGlxContext();
  throw Error("unknown context kind '" + kind + "' (this build offers egl, egl-device, egl-surfaceless, glx)");
}

}  // namespace fxhost

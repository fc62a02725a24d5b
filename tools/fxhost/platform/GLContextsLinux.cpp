#include "tools/fxhost/Error.h"
#include "tools/fxhost/GLContext.h"
#include "tools/fxhost/platform/EglContext.h"
#include "tools/fxhost/platform/GlxContext.h"

namespace fxhost {

std::vector<std::string> ContextKinds() { return {"egl", "glx"}; }

std::unique_ptr<GLContext> CreateGLContext(const std::string& kind) {
  if (kind == "egl") return CreateEglContext();
  if (kind == "glx") return CreateGlxContext();
  throw Error("unknown context kind '" + kind + "' (this build offers egl, glx)");
}

}  // namespace fxhost

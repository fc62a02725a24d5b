#include "tools/fxhost/Error.h"
#include "tools/fxhost/GLContext.h"
#include "tools/fxhost/platform/WglContext.h"

namespace fxhost {

// Windows has one way to a desktop OpenGL context: WGL.
std::vector<std::string> ContextKinds() { return {"wgl"}; }

std::unique_ptr<GLContext> CreateGLContext(const std::string& kind) {
  if (kind == "wgl") return CreateWglContext();
  throw Error("unknown context kind '" + kind + "' (this build offers wgl)");
}

}  // namespace fxhost

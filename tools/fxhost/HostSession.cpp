#include "tools/fxhost/HostSession.h"

#include "tools/fxhost/Error.h"
#include "tools/fxhost/GLFunctions.h"

namespace fxhost {

HostSession::HostSession(const std::string& modulePath, const std::string& contextKind)
    : module(modulePath), description(DescribeModule(module)) {
  if (description.maximumInputs < 1) {
    throw Error("module '" + modulePath + "' takes no input texture; fxhost hosts effects with an input");
  }
  context = CreateGLContext(contextKind);
  LoadGLFunctions();
  maximumSide = MaximumTextureSide();
}

std::string HostSession::DescribeGL() const { return DescribeRenderer() + " through " + context->Describe(); }

}  // namespace fxhost

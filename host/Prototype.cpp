#include "host/Prototype.h"

#include "framework/Plugin.h"
#include "host/FunctionCodes.h"
#include "host/PluginDescriptor.h"

namespace qvx {
namespace {

// Owned here; deliberately not destroyed at unload (only code 2 destroys it).
CFFGLPlugin* prototype = nullptr;

}  // namespace

uint32_t EnsurePrototype() {
  const CFFGLPluginDescriptor* descriptor = GetRegisteredDescriptor();
  if (descriptor == nullptr) return kFailure;
  if (InitialiseHook hook = descriptor->GetInitialiseHook()) {
    const uint32_t answer = hook();
    if (answer != kSuccess) return answer;
  }
  if (prototype != nullptr) return kSuccess;
  if (descriptor->GetFactory()(&prototype) == kFailure) return kFailure;
  return prototype != nullptr ? kSuccess : kFailure;
}

CFFGLPlugin* PrototypeOrNull() {
  if (prototype == nullptr && EnsurePrototype() != kSuccess) return nullptr;
  return prototype;
}

uint32_t Deinitialise() {
  const CFFGLPluginDescriptor* descriptor = GetRegisteredDescriptor();
  if (descriptor == nullptr) return kFailure;
  delete prototype;
  prototype = nullptr;
  if (DeinitialiseHook hook = descriptor->GetDeinitialiseHook()) hook();
  return kSuccess;
}

}  // namespace qvx

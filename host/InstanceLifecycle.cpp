#include "host/InstanceLifecycle.h"

#include <cstring>
#include <memory>

#include "framework/Plugin.h"
#include "host/FunctionCodes.h"
#include "host/GLLoader.h"
#include "host/LiveInstances.h"
#include "host/PluginDescriptor.h"
#include "host/Prototype.h"

namespace qvx {
namespace {

bool glLoadingAttempted = false;
bool glLoadingSucceeded = false;
LiveInstances liveInstances;

// Once per module load: a failed glewInit is never retried.
bool EnsureGLLoaded() {
  if (!glLoadingAttempted) {
    glLoadingAttempted = true;
    glLoadingSucceeded = LoadGLEntryPoints();
  }
  return glLoadingSucceeded;
}

// Applies every registered default, in index order, through the instance's
// own setters; false at the first refusal.
bool ApplyDefaults(const CFFGLPlugin& prototype, CFFGLPlugin& instance) {
  for (uint32_t index = 0; index < static_cast<uint32_t>(prototype.GetParameterCount()); ++index) {
    const int32_t type = prototype.GetParameterType(index);
    const uint64_t defaultValue = prototype.GetParameterDefault(index);
    uint32_t answer;
    if (IsTextValued(type)) {
      answer = instance.SetParameterText(index, reinterpret_cast<const char*>(defaultValue));
    } else {
      const uint32_t bits = static_cast<uint32_t>(defaultValue);
      float value;
      std::memcpy(&value, &bits, sizeof value);
      answer = instance.SetParameterFloat(index, value);
    }
    if (answer == kFailure) return false;
  }
  return true;
}

}  // namespace

uint64_t CreateInstance(const Viewport* viewport) {
  const CFFGLPluginDescriptor* descriptor = GetRegisteredDescriptor();
  if (descriptor == nullptr || viewport == nullptr) return kFailure;
  CFFGLPlugin* prototype = PrototypeOrNull();
  if (prototype == nullptr) return kFailure;

  liveInstances.Reserve();  // so that handing the instance out cannot fail
  CFFGLPlugin* made = nullptr;
  if (descriptor->GetFactory()(&made) == kFailure || made == nullptr) return kFailure;
  std::unique_ptr<CFFGLPlugin> instance(made);  // destroyed on every failure path
  instance->selfPlugin = instance.get();

  if (!ApplyDefaults(*prototype, *instance)) return kFailure;
  if (!EnsureGLLoaded()) return kFailure;

  uint32_t initAnswer;
  try {
    initAnswer = instance->InitGL(viewport);
  } catch (...) {
    instance->ReleaseGL();
    throw;
  }
  if (initAnswer != kSuccess) {
    instance->ReleaseGL();
    return kFailure;
  }

  liveInstances.Add(instance.get());
  return reinterpret_cast<uintptr_t>(instance.release());
}

uint32_t DestroyInstance(CFFGLPlugin* instance) {
  if (instance->connected) {
    instance->OnDisconnect();
    instance->connected = false;
  }
  instance->ReleaseGL();
  liveInstances.Remove(instance);
  delete instance;
  return kSuccess;
}

CFFGLPlugin* FindLiveInstance(const void* handle) {
  return handle != nullptr ? liveInstances.Find(handle) : nullptr;
}

}  // namespace qvx

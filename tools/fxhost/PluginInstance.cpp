#include "tools/fxhost/PluginInstance.h"

#include <cstdio>

#include "host/FunctionCodes.h"
#include "tools/fxhost/Error.h"
#include "tools/fxhost/HostLog.h"
#include "tools/fxhost/ModuleLoader.h"
#include "tools/fxhost/ParameterSettings.h"
#include "tools/fxhost/StdoutCapture.h"

namespace fxhost {
namespace {

std::string WithLog(const std::string& message) {
  const std::string log = HostLog::Summary();
  return log.empty() ? message + " (the module logged nothing)" : message + "; module log: " + log;
}

}  // namespace

PluginInstance::PluginInstance(const ModuleLoader& loadedModule, const Viewport& viewport) : module(loadedModule) {
  HostLog::Clear();
  Viewport record = viewport;
  uint64_t answer = 0;
  std::string shaderLog;
  {
    StdoutCapture capture;
    answer = module.CallWith(qvx::kCreateInstance, &record);
    shaderLog = capture.Finish();
  }
  if (!shaderLog.empty()) {
    std::fprintf(stderr, "module shader log:\n%s%s", shaderLog.c_str(), shaderLog.back() == '\n' ? "" : "\n");
  }
  if (answer == 0 || answer == 0xFFFFFFFFull) {
    throw Error(WithLog("the module refused to create an instance (code 18 failed)") +
                (shaderLog.empty() ? "" : "; see its shader log above"));
  }
  handle = reinterpret_cast<void*>(static_cast<uintptr_t>(answer));
}

PluginInstance::~PluginInstance() { module.Call(qvx::kDestroyInstance, 0, handle); }

void PluginInstance::SetHostInfo(const std::string& name, const std::string& version) {
  hostName = name;  // the module may keep the addresses: they live as long as the instance
  hostVersion = version;
  HostInfo info{hostName.c_str(), hostVersion.c_str()};
  module.CallWith(qvx::kSetHostInfo, &info, handle);
}

void PluginInstance::SetHostTime(double seconds) {
  double time = seconds;
  module.CallWith(qvx::kSetHostTime, &time, handle);
}

void PluginInstance::SetParameter(const ParameterSetting& setting) {
  ParameterAssignment assignment{};
  assignment.parameterIndex = setting.index;
  if (setting.textValued) {
    assignment.value.textValue = setting.text.c_str();
  } else {
    assignment.value.floatValue = setting.value;
  }
  if (!ModuleLoader::Succeeded(module.CallWith(qvx::kSetParameter, &assignment, handle))) {
    throw Error(WithLog("the module refused " + setting.label + " (code 8 failed)"));
  }
}

void PluginInstance::Render(TextureDescriptor* input, GLuint framebuffer) {
  TextureDescriptor* inputs[1] = {input};
  FrameRenderRequest request{};
  request.inputTextureCount = 1;
  request.inputTextures = inputs;
  request.hostFramebuffer = framebuffer;
  if (!ModuleLoader::Succeeded(module.CallWith(qvx::kRenderFrame, &request, handle))) {
    throw Error(WithLog("the module failed to render a frame (code 17 failed)"));
  }
}

}  // namespace fxhost

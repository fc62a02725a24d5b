// One GL instance of the module, from code 18 to code 19, with the host
// calls a render makes on it. The host's GL context must be current on the
// calling thread for the object's whole life.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <string>

#include "host/HostRecords.h"

namespace fxhost {

class ModuleLoader;
struct ParameterSetting;

class PluginInstance {
 public:
  // Code 18 with the viewport. The module's shader-error log, written to
  // standard output, is caught and shown on standard error. Throws Error
  // carrying the module's host log when the module refuses.
  PluginInstance(const ModuleLoader& module, const Viewport& viewport);
  ~PluginInstance();  // code 19
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  // Code 39.
  void SetHostInfo(const std::string& name, const std::string& version);
  // Code 20, in seconds.
  void SetHostTime(double seconds);
  // Code 8. Throws Error when the module refuses the value.
  void SetParameter(const ParameterSetting& setting);
  // Code 17 with one input texture into the framebuffer. Throws Error when refused.
  void Render(TextureDescriptor* input, GLuint framebuffer);

  void* Handle() const { return handle; }

 private:
  const ModuleLoader& module;
  void* handle = nullptr;
  std::string hostName;
  std::string hostVersion;
};

}  // namespace fxhost

// CFFGLPluginDescriptor: what the plugin is (identity and details records, read
// by the host in place) and how instances are made (the factory). Exactly one
// is constructed during static initialisation; its constructor registers it as
// the module's descriptor for the dispatcher.
#pragma once

#include <cstdint>
#include <string>

#include "host/HostRecords.h"

class CFFGLPlugin;

// Makes one instance, stores it through `instance` and answers 0; when it
// cannot, stores null and answers 0xFFFFFFFF.
typedef uint32_t (*PluginFactory)(CFFGLPlugin** instance);
// Runs before the prototype is made; anything but 0 stops the initialisation.
typedef uint32_t (*InitialiseHook)();
// Runs when the host deinitialises the module; its answer is ignored.
typedef uint32_t (*DeinitialiseHook)();

class CFFGLPluginDescriptor {
 public:
  CFFGLPluginDescriptor(PluginFactory factory, const char* uniqueIdentifier, const char* name,
                        uint32_t interfaceMajorVersion, uint32_t interfaceMinorVersion,
                        uint32_t pluginMajorVersion, uint32_t pluginMinorVersion, uint32_t pluginType,
                        const char* description, const char* about, uint32_t extendedDataSize,
                        const void* extendedData, InitialiseHook initialiseHook,
                        DeinitialiseHook deinitialiseHook);
  ~CFFGLPluginDescriptor();

  CFFGLPluginDescriptor(const CFFGLPluginDescriptor&) = delete;
  CFFGLPluginDescriptor& operator=(const CFFGLPluginDescriptor&) = delete;

  const PluginIdentity* GetIdentity() const { return &identity; }
  const PluginDetails* GetDetails() const { return &details; }
  PluginFactory GetFactory() const { return factory; }
  InitialiseHook GetInitialiseHook() const { return initialiseHook; }
  DeinitialiseHook GetDeinitialiseHook() const { return deinitialiseHook; }

 private:
  PluginIdentity identity{};
  PluginDetails details{};
  std::string aboutStorage;
  std::string descriptionStorage;
  std::string extendedDataStorage;  // the descriptor's own copy of a non-empty block
  PluginFactory factory;
  InitialiseHook initialiseHook;
  DeinitialiseHook deinitialiseHook;
};

namespace qvx {
// The registered descriptor, or null before static initialisation has made one.
const CFFGLPluginDescriptor* GetRegisteredDescriptor();
}  // namespace qvx

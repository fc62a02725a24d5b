#include "host/PluginDescriptor.h"

namespace {

const CFFGLPluginDescriptor* registeredDescriptor = nullptr;

// Copies bytes up to and including the first NUL, stopping after `limit`
// bytes: a text of exactly `limit` characters leaves no terminator.
void CopyFixedField(char* field, const char* text, size_t limit) {
  for (size_t i = 0; i < limit; ++i) {
    field[i] = text[i];
    if (text[i] == '\0') break;
  }
}

}  // namespace

CFFGLPluginDescriptor::CFFGLPluginDescriptor(
    PluginFactory factory_, const char* uniqueIdentifier, const char* name, uint32_t interfaceMajorVersion,
    uint32_t interfaceMinorVersion, uint32_t pluginMajorVersion, uint32_t pluginMinorVersion,
    uint32_t pluginType, const char* description, const char* about, uint32_t extendedDataSize,
    const void* extendedData, InitialiseHook initialiseHook_, DeinitialiseHook deinitialiseHook_)
    : aboutStorage(about),
      descriptionStorage(description),
      factory(factory_),
      initialiseHook(initialiseHook_),
      deinitialiseHook(deinitialiseHook_) {
  identity.interfaceMajorVersion = interfaceMajorVersion;
  identity.interfaceMinorVersion = interfaceMinorVersion;
  CopyFixedField(identity.name, name, sizeof identity.name);
  CopyFixedField(identity.uniqueIdentifier, uniqueIdentifier, sizeof identity.uniqueIdentifier);
  identity.pluginType = pluginType;

  details.description = descriptionStorage.c_str();
  details.about = aboutStorage.c_str();
  details.pluginMajorVersion = pluginMajorVersion;
  details.pluginMinorVersion = pluginMinorVersion;

  // A block is kept as the descriptor's own copy so it lives as long as the
  // record that points at it.
  if (extendedDataSize > 0 && extendedData != nullptr) {
    extendedDataStorage.assign(static_cast<const char*>(extendedData), extendedDataSize);
    details.extendedDataSize = extendedDataSize;
    details.extendedData = extendedDataStorage.data();
  } else {
    details.extendedDataSize = 0;
    details.extendedData = nullptr;
  }

  registeredDescriptor = this;
}

CFFGLPluginDescriptor::~CFFGLPluginDescriptor() = default;

namespace qvx {
const CFFGLPluginDescriptor* GetRegisteredDescriptor() { return registeredDescriptor; }
}  // namespace qvx

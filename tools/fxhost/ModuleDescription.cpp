#include "tools/fxhost/ModuleDescription.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "host/FunctionCodes.h"
#include "host/HostRecords.h"
#include "tools/fxhost/Error.h"
#include "tools/fxhost/ModuleLoader.h"

namespace fxhost {
namespace {

// More parameters than any real plugin registers: an answer above it is garbage.
constexpr uint32_t kMostParameters = 4096;
constexpr uint32_t kMostElements = 4096;
// Texts handed out by the module are read up to their terminator, but never
// further than this: a missing terminator must not run us through its memory.
constexpr size_t kLongestText = 64 * 1024;

std::string CopyText(const char* text) {
  if (text == nullptr) return {};
  const void* end = std::memchr(text, '\0', kLongestText);
  const size_t length = end != nullptr ? static_cast<const char*>(end) - text : kLongestText;
  return std::string(text, length);
}

// A fixed-width field that is NUL-padded but may fill its width.
std::string CopyField(const char* field, size_t width) {
  size_t length = 0;
  while (length < width && field[length] != '\0') ++length;
  return std::string(field, length);
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

ParameterDescription DescribeParameter(const ModuleLoader& module, uint32_t index) {
  ParameterDescription parameter;
  parameter.index = index;
  parameter.name = CopyText(ModuleLoader::AsText(module.Call(qvx::kGetParameterName, index)));
  parameter.type = static_cast<int32_t>(ModuleLoader::AsNumber(module.Call(qvx::kGetParameterType, index)));
  const uint64_t defaultAnswer = module.Call(qvx::kGetParameterDefault, index);
  if (parameter.IsTextValued()) {
    parameter.defaultText = CopyText(ModuleLoader::AsText(defaultAnswer));
  } else {
    parameter.defaultValue = ModuleLoader::AsFloat(defaultAnswer);
  }
  RangeQuery range{index, 0.0f, 1.0f};
  if (ModuleLoader::Succeeded(module.CallWith(qvx::kGetParameterRange, &range))) {
    parameter.minimum = range.minimum;
    parameter.maximum = range.maximum;
  }
  parameter.usage = static_cast<int32_t>(ModuleLoader::AsNumber(module.Call(qvx::kGetParameterUsage, index)));
  parameter.visibility =
      static_cast<int32_t>(ModuleLoader::AsNumber(module.Call(qvx::kGetParameterVisibility, index)));
  if (parameter.IsOption()) {
    const uint32_t count = ModuleLoader::AsNumber(module.Call(qvx::kGetElementCount, index));
    if (count != 0xFFFFFFFFu) {
      if (count > kMostElements) {
        throw Error("the module answers an implausible element count " + std::to_string(count) + " for parameter " +
                    std::to_string(index));
      }
      for (uint32_t position = 0; position < count; ++position) {
        IndexPair pair{index, position};
        OptionElement element;
        element.name = CopyText(ModuleLoader::AsText(module.CallWith(qvx::kGetElementName, &pair)));
        element.value = ModuleLoader::AsFloat(module.CallWith(qvx::kGetElementValue, &pair));
        parameter.elements.push_back(element);
      }
    }
  }
  return parameter;
}

}  // namespace

bool ParameterDescription::IsTextValued() const { return qvx::IsTextValued(type); }
bool ParameterDescription::IsOption() const { return type == qvx::kTypeOption; }

const ParameterDescription* ModuleDescription::FindParameter(const std::string& parameterName) const {
  for (const ParameterDescription& parameter : parameters) {
    if (parameter.name == parameterName) return &parameter;
  }
  for (const ParameterDescription& parameter : parameters) {
    if (EqualIgnoringCase(parameter.name, parameterName)) return &parameter;
  }
  return nullptr;
}

std::string ModuleDescription::ParameterNames() const {
  std::string names;
  for (const ParameterDescription& parameter : parameters) {
    if (!names.empty()) names += ", ";
    names += parameter.name;
  }
  return names.empty() ? "(none)" : names;
}

ModuleDescription DescribeModule(const ModuleLoader& module) {
  ModuleDescription description;

  const auto* identity = reinterpret_cast<const PluginIdentity*>(
      static_cast<uintptr_t>(module.Call(qvx::kGetIdentity)));
  if (identity == nullptr || reinterpret_cast<uintptr_t>(identity) == 0xFFFFFFFFu) {
    throw Error("module '" + module.Path() + "' gives no identity (code 0)");
  }
  description.interfaceMajorVersion = identity->interfaceMajorVersion;
  description.interfaceMinorVersion = identity->interfaceMinorVersion;
  description.identifier = CopyField(identity->uniqueIdentifier, sizeof identity->uniqueIdentifier);
  description.name = CopyField(identity->name, sizeof identity->name);
  description.pluginType = identity->pluginType;

  const auto* details = reinterpret_cast<const PluginDetails*>(
      static_cast<uintptr_t>(module.Call(qvx::kGetDetails)));
  if (details == nullptr || reinterpret_cast<uintptr_t>(details) == 0xFFFFFFFFu) {
    throw Error("module '" + module.Path() + "' gives no details (code 13)");
  }
  description.pluginMajorVersion = details->pluginMajorVersion;
  description.pluginMinorVersion = details->pluginMinorVersion;
  description.description = CopyText(details->description);
  description.about = CopyText(details->about);
  description.auxiliaryText = CopyText(ModuleLoader::AsText(module.Call(qvx::kGetAuxiliaryText)));

  description.capability5 = ModuleLoader::AsNumber(module.Call(qvx::kGetCapability, qvx::kCapability5)) == 1;
  description.minimumInputs = ModuleLoader::AsNumber(module.Call(qvx::kGetCapability, qvx::kCapabilityMinimumInputs));
  description.maximumInputs = ModuleLoader::AsNumber(module.Call(qvx::kGetCapability, qvx::kCapabilityMaximumInputs));
  description.capability16 = ModuleLoader::AsNumber(module.Call(qvx::kGetCapability, qvx::kCapability16)) == 1;

  const uint32_t count = ModuleLoader::AsNumber(module.Call(qvx::kGetParameterCount));
  if (count == 0xFFFFFFFFu) throw Error("module '" + module.Path() + "' cannot count its parameters (code 4)");
  if (count > kMostParameters) {
    throw Error("module '" + module.Path() + "' answers an implausible parameter count " + std::to_string(count));
  }
  for (uint32_t index = 0; index < count; ++index) description.parameters.push_back(DescribeParameter(module, index));
  return description;
}

std::string ParameterTypeName(int32_t type) {
  switch (type) {
    case qvx::kTypeBoolean: return "boolean";
    case qvx::kTypeStandard: return "standard";
    case qvx::kTypeOption: return "option";
    case qvx::kTypeFile: return "file";
    case qvx::kTypeText: return "text";
    default: return "type " + std::to_string(type);
  }
}

}  // namespace fxhost

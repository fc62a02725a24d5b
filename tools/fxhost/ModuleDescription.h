// What a module says about itself, read once through plugMain: identity (code
// 0), details (13), auxiliary text (33), capabilities (10) and every
// parameter's definition (4, 5, 6, 15, 31, 32, 35, 36, 41, 45). Texts are
// copied, so the description outlives the module's answers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fxhost {

class ModuleLoader;

struct OptionElement {
  std::string name;
  float value = 0.0f;
};

struct ParameterDescription {
  uint32_t index = 0;
  std::string name;
  int32_t type = -1;
  float defaultValue = 0.0f;   // numeric parameters
  std::string defaultText;     // text-valued parameters (types 14 and 100)
  float minimum = 0.0f;
  float maximum = 1.0f;
  std::vector<OptionElement> elements;  // option parameters (type 11) only
  int32_t usage = 0;
  int32_t visibility = 1;

  bool IsTextValued() const;
  bool IsOption() const;
};

struct ModuleDescription {
  uint32_t interfaceMajorVersion = 0;
  uint32_t interfaceMinorVersion = 0;
  std::string identifier;  // the 4 identifier characters
  std::string name;
  uint32_t pluginType = 0;
  uint32_t pluginMajorVersion = 0;
  uint32_t pluginMinorVersion = 0;
  std::string description;
  std::string about;
  std::string auxiliaryText;
  bool capability5 = false;
  uint32_t minimumInputs = 0;
  uint32_t maximumInputs = 0;
  bool capability16 = false;
  std::vector<ParameterDescription> parameters;

  // The parameter with this exact name, else the first whose name matches
  // ignoring case; null when none does.
  const ParameterDescription* FindParameter(const std::string& parameterName) const;
  // "Colormap, Blend, ..." for error messages.
  std::string ParameterNames() const;
};

// Throws Error when the module gives no identity or details, or an
// implausible parameter count.
ModuleDescription DescribeModule(const ModuleLoader& module);

// "boolean", "standard", "option", "file", "text", or "type N".
std::string ParameterTypeName(int32_t type);

}  // namespace fxhost

// Parameter values as the user writes them: "NAME=VALUE", where NAME is a
// parameter's name (case ignored when nothing matches exactly) or its index,
// and VALUE is an option element's name for option parameters, on/off (or
// 1/0) for booleans, a number otherwise, or any text for text parameters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/fxhost/ModuleDescription.h"

namespace fxhost {

struct ParameterSetting {
  uint32_t index = 0;
  bool textValued = false;
  float value = 0.0f;
  std::string text;
  std::string label;  // "Colormap=Turbo", for messages and sheet labels
};

// Throws Error for a malformed argument, an unknown parameter (listing the
// module's parameters) or an unknown option element (listing the elements).
ParameterSetting ParseParameterSetting(const std::string& argument, const ModuleDescription& description);

// The setting of one parameter to a numeric value, labelled for display.
ParameterSetting MakeNumericSetting(const ParameterDescription& parameter, float value, const std::string& label);

// Warnings for values outside the module's stated range (which the module may
// still accept), one line each; empty when there are none.
std::vector<std::string> RangeWarnings(const std::vector<ParameterSetting>& settings,
                                       const ModuleDescription& description);

}  // namespace fxhost

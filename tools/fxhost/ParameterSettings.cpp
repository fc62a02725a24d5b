#include "tools/fxhost/ParameterSettings.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "host/FunctionCodes.h"
#include "tools/fxhost/Error.h"

namespace fxhost {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Trim(const std::string& text) {
  const size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return {};
  const size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

bool ParseFloat(const std::string& text, float* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double parsed = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(parsed)) return false;
  *value = static_cast<float>(parsed);
  return true;
}

bool AllDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

const ParameterDescription& FindNamedParameter(const std::string& name, const ModuleDescription& description) {
  if (const ParameterDescription* parameter = description.FindParameter(name)) return *parameter;
  if (AllDigits(name)) {
    const unsigned long index = std::strtoul(name.c_str(), nullptr, 10);
    for (const ParameterDescription& parameter : description.parameters) {
      if (parameter.index == index) return parameter;
    }
    std::string indices;
    for (const ParameterDescription& parameter : description.parameters) {
      indices += (indices.empty() ? "" : ", ") + std::to_string(parameter.index) + " " + parameter.name;
    }
    throw Error("no parameter has index " + name + "; the module has: " + (indices.empty() ? "(none)" : indices));
  }
  throw Error("unknown parameter '" + name + "'; the module has: " + description.ParameterNames());
}

std::string ElementNames(const ParameterDescription& parameter) {
  std::string names;
  for (const OptionElement& element : parameter.elements) names += (names.empty() ? "" : ", ") + element.name;
  return names;
}

float OptionValue(const ParameterDescription& parameter, const std::string& valueText) {
  for (const OptionElement& element : parameter.elements) {
    if (element.name == valueText) return element.value;
  }
  for (const OptionElement& element : parameter.elements) {
    if (Lower(element.name) == Lower(valueText)) return element.value;
  }
  float number = 0.0f;
  if (ParseFloat(valueText, &number)) {
    for (const OptionElement& element : parameter.elements) {
      if (element.value == number) return number;
    }
  }
  throw Error("parameter '" + parameter.name + "' has no option '" + valueText + "'; its options are: " +
              ElementNames(parameter));
}

float BooleanValue(const ParameterDescription& parameter, const std::string& valueText) {
  const std::string word = Lower(valueText);
  if (word == "on" || word == "true" || word == "yes") return 1.0f;
  if (word == "off" || word == "false" || word == "no") return 0.0f;
  float number = 0.0f;
  if (ParseFloat(valueText, &number)) return number;
  throw Error("parameter '" + parameter.name + "' is on or off (1 or 0), not '" + valueText + "'");
}

}  // namespace

ParameterSetting MakeNumericSetting(const ParameterDescription& parameter, float value, const std::string& label) {
  ParameterSetting setting;
  setting.index = parameter.index;
  setting.value = value;
  setting.label = label;
  return setting;
}

ParameterSetting ParseParameterSetting(const std::string& argument, const ModuleDescription& description) {
  const size_t equals = argument.find('=');
  if (equals == std::string::npos) {
    throw Error("--param wants NAME=VALUE (for example \"Show Edges=1\"), not '" + argument + "'");
  }
  const std::string name = Trim(argument.substr(0, equals));
  const std::string valueText = Trim(argument.substr(equals + 1));
  const ParameterDescription& parameter = FindNamedParameter(name, description);
  const std::string label = parameter.name + "=" + valueText;

  if (parameter.IsTextValued()) {
    ParameterSetting setting;
    setting.index = parameter.index;
    setting.textValued = true;
    setting.text = argument.substr(equals + 1);  // texts as given, blanks included
    setting.label = label;
    return setting;
  }
  if (parameter.IsOption() && !parameter.elements.empty()) {
    return MakeNumericSetting(parameter, OptionValue(parameter, valueText), label);
  }
  if (parameter.type == qvx::kTypeBoolean) return MakeNumericSetting(parameter, BooleanValue(parameter, valueText), label);
  float number = 0.0f;
  if (!ParseFloat(valueText, &number)) {
    throw Error("parameter '" + parameter.name + "' takes a number, not '" + valueText + "'");
  }
  return MakeNumericSetting(parameter, number, label);
}

std::vector<std::string> RangeWarnings(const std::vector<ParameterSetting>& settings,
                                       const ModuleDescription& description) {
  std::vector<std::string> warnings;
  for (const ParameterSetting& setting : settings) {
    if (setting.textValued) continue;
    for (const ParameterDescription& parameter : description.parameters) {
      if (parameter.index != setting.index || parameter.IsOption()) continue;
      if (setting.value < parameter.minimum || setting.value > parameter.maximum) {
        char text[256];
        std::snprintf(text, sizeof text, "%s lies outside the module's range %g to %g; passed on unchanged",
                      setting.label.c_str(), static_cast<double>(parameter.minimum),
                      static_cast<double>(parameter.maximum));
        warnings.emplace_back(text);
      }
    }
  }
  return warnings;
}

}  // namespace fxhost

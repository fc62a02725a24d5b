#include "tools/fxhost/NumberPattern.h"

#include <cctype>
#include <cstdio>
#include <vector>

namespace fxhost {

bool IsNumberPattern(const std::string& pattern) {
  size_t conversions = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[j])) != 0) ++j;
    if (j >= pattern.size() || (pattern[j] != 'd' && pattern[j] != 'u')) return false;
    ++conversions;
    i = j;
  }
  return conversions == 1;
}

std::string FormatNumberPattern(const std::string& pattern, uint64_t number) {
  std::vector<char> name(pattern.size() + 64);
  std::snprintf(name.data(), name.size(), pattern.c_str(), static_cast<unsigned>(number));
  return name.data();
}

}  // namespace fxhost

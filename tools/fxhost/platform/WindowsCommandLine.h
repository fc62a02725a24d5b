// Building a Windows command line from separate arguments.
#pragma once

#include <cstddef>
#include <string>

namespace fxhost {

// One argument quoted the way the C runtime's command-line parser reads it
// back: backslashes are literal except before a quote.
inline std::string QuoteArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');  // before the closing quote
  return quoted + "\"";
}

}  // namespace fxhost

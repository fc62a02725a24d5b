// The one kind of failure fxhost reports to its user: a single line, printed
// as "fxhost: error: <what>" with a non-zero exit status.
#pragma once

#include <stdexcept>
#include <string>

namespace fxhost {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& what) : std::runtime_error(OneLine(what)) {}

  // Line ends inside a message (a driver's or library's text) become "; ".
  static std::string OneLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::string joined;
    for (char c : text) {
      if (c == '\r') continue;
      if (c == '\n') joined += "; ";
      else joined += c;
    }
    return joined;
  }
};

}  // namespace fxhost

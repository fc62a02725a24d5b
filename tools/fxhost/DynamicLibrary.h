// A loaded shared library, opened by path and asked for symbols by name. The
// platform file (platform/DynamicLibrary<Platform>.cpp) implements it.
#pragma once

#include <memory>
#include <string>

namespace fxhost {

class DynamicLibrary {
 public:
  // Opens the library; null with *error set (the loader's own words) on failure.
  static std::unique_ptr<DynamicLibrary> Open(const std::string& path, std::string* error);

  virtual ~DynamicLibrary() = default;
  // The symbol's address, or null when the library has none by that name.
  virtual void* Symbol(const char* name) const = 0;
};

}  // namespace fxhost

#include <dlfcn.h>

#include "tools/fxhost/DynamicLibrary.h"

namespace fxhost {
namespace {

class PosixLibrary : public DynamicLibrary {
 public:
  explicit PosixLibrary(void* libraryHandle) : handle(libraryHandle) {}
  ~PosixLibrary() override { dlclose(handle); }
  void* Symbol(const char* name) const override { return dlsym(handle, name); }

 private:
  void* handle;
};

}  // namespace

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::string& path, std::string* error) {
  // A name without a slash would be searched for on the library path; the
  // user means the file in the current folder.
  const std::string loadPath = path.find('/') == std::string::npos ? "./" + path : path;
  dlerror();
  // RTLD_LOCAL: the module's symbols stay its own, as in any host.
  void* handle = dlopen(loadPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    *error = reason != nullptr ? reason : "unknown loader error";
    return nullptr;
  }
  return std::make_unique<PosixLibrary>(handle);
}

}  // namespace fxhost

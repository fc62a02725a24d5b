#include "tools/fxhost/ModuleLocator.h"

#include <filesystem>

#include "tools/fxhost/Error.h"
#include "tools/fxhost/System.h"

namespace fxhost {
namespace {

#if defined(_WIN32)
constexpr const char* kModuleFile = "Quorvalentix.dll";
#else
constexpr const char* kModuleFile = "Quorvalentix.so";
#endif

}  // namespace

std::vector<std::string> DefaultModuleCandidates() {
  std::vector<std::string> candidates;
  const std::string executable = ExecutablePath();
  if (!executable.empty()) {
    const std::filesystem::path folder = std::filesystem::path(executable).parent_path();
    candidates.push_back((folder / kModuleFile).string());
    candidates.push_back((folder / ".." / ".." / "effect" / kModuleFile).lexically_normal().string());
#ifdef QVX_INSTALL_MODULE_DIR
    candidates.push_back((folder / ".." / QVX_INSTALL_MODULE_DIR / kModuleFile).lexically_normal().string());
#endif
    candidates.push_back((folder / ".." / "lib" / "quorvalentix" / kModuleFile).lexically_normal().string());
  }
#ifdef QVX_BUILT_MODULE_PATH
  candidates.push_back(QVX_BUILT_MODULE_PATH);
#endif
  return candidates;
}

std::string ResolveModulePath(const std::string& requested) {
  if (!requested.empty()) return requested;
  const std::vector<std::string> candidates = DefaultModuleCandidates();
  for (const std::string& candidate : candidates) {
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate;
  }
  std::string searched;
  for (const std::string& candidate : candidates) searched += (searched.empty() ? "" : ", ") + candidate;
  throw Error(std::string("no module given and no ") + kModuleFile + " found (looked in: " + searched +
              "); build the project or name the module");
}

}  // namespace fxhost

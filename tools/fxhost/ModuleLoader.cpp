#include "tools/fxhost/ModuleLoader.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "host/FunctionCodes.h"
#include "tools/fxhost/DynamicLibrary.h"
#include "tools/fxhost/Error.h"
#include "tools/fxhost/HostLog.h"

namespace fxhost {

ModuleLoader::ModuleLoader(const std::string& modulePath) : path(modulePath) {
  std::error_code code;
  const auto status = std::filesystem::status(path, code);
  if (!std::filesystem::exists(status)) throw Error("module '" + path + "' does not exist");
  if (!std::filesystem::is_regular_file(status)) throw Error("module '" + path + "' is not a file");

  std::string loaderError;
  library = DynamicLibrary::Open(path, &loaderError);
  if (library == nullptr) throw Error("'" + path + "' is not a loadable module: " + loaderError);

  // Casting a symbol's address to a function pointer is how every host does it.
  plugMain = reinterpret_cast<PlugMain>(library->Symbol("plugMain"));
  if (plugMain == nullptr) throw Error("'" + path + "' is a library but not a module: it exports no plugMain");
  setLogCallback = reinterpret_cast<SetLogCallbackFunction>(library->Symbol("SetLogCallback"));
  if (setLogCallback != nullptr) setLogCallback(&HostLog::Receive);

  if (!Succeeded(Call(qvx::kInitialise))) {
    const std::string log = HostLog::Summary();
    if (setLogCallback != nullptr) setLogCallback(nullptr);
    throw Error("module '" + path + "' failed to initialise (code 34)" + (log.empty() ? "" : "; module log: " + log));
  }
  initialised = true;
}

ModuleLoader::~ModuleLoader() {
  if (initialised) Call(qvx::kDeinitialise);
  if (setLogCallback != nullptr) setLogCallback(nullptr);
}

uint64_t ModuleLoader::Call(uint32_t functionCode, uint64_t input, void* instance) const {
  return plugMain(functionCode, input, instance);
}

const char* ModuleLoader::AsText(uint64_t answer) {
  if (answer == 0 || answer == 0xFFFFFFFFull) return nullptr;
  return reinterpret_cast<const char*>(static_cast<uintptr_t>(answer));
}

float ModuleLoader::AsFloat(uint64_t answer) {
  const uint32_t bits = static_cast<uint32_t>(answer);
  float value = 0.0f;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace fxhost

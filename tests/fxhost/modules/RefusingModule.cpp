// A module that describes itself like any other but refuses every instance:
// code 18 logs a reason through the host's log callback, writes a shader
// error to standard output as a module's shader-error log does, and fails.
#include <cstdio>
#include <cstring>

#include "host/Exports.h"
#include "host/FunctionCodes.h"
#include "host/HostRecords.h"

namespace {

HostLogCallback logCallback = nullptr;

const PluginIdentity kIdentity = {2, 1, {'R', 'E', 'F', 'U'}, "Refusing", 0};
const PluginDetails kDetails = {1, 0, "Refuses every instance", "fxhost tests", 0, 0, nullptr};

uint64_t FloatBits(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

}  // namespace

extern "C" QVX_EXPORT void SetLogCallback(HostLogCallback callback) { logCallback = callback; }

extern "C" QVX_EXPORT uint64_t plugMain(uint32_t code, uint64_t input, void*) {
  switch (code) {
    case qvx::kGetIdentity: return reinterpret_cast<uint64_t>(&kIdentity);
    case qvx::kGetDetails: return reinterpret_cast<uint64_t>(&kDetails);
    case qvx::kInitialise:
    case qvx::kDeinitialise: return qvx::kSuccess;
    case qvx::kGetParameterCount: return 1;
    case qvx::kGetParameterName: return input == 0 ? reinterpret_cast<uint64_t>("Level") : 0;
    case qvx::kGetParameterType: return input == 0 ? static_cast<uint32_t>(qvx::kTypeStandard) : qvx::kFailure;
    case qvx::kGetParameterDefault: return input == 0 ? FloatBits(0.5f) : qvx::kFailure;
    case qvx::kGetCapability:
      return input == qvx::kCapabilityMinimumInputs || input == qvx::kCapabilityMaximumInputs ? 1 : 0;
    case qvx::kCreateInstance:
      std::printf("Vertex Shader error: 0:3: refusing module's made-up compile error\n");
      std::fflush(stdout);
      if (logCallback != nullptr) logCallback("Refusing: no instance today");
      return qvx::kFailure;
    default: return qvx::kFailure;
  }
}

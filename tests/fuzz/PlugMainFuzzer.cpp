// libFuzzer entry points: the module is linked in and driven through plugMain
// exactly as a host drives the loaded library (see FuzzHost.h for how an
// input decodes into requests).
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzHost.h"

namespace {
qvx::fuzz::FuzzHost* host = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  host = new qvx::fuzz::FuzzHost();  // lives for the process, with its GL context
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  host->Run(data, size);
  return 0;
}

// The exported entry point. It is the boundary between the host's process and
// the module: no exception may cross it, since unwinding into the host's C
// frames would take the host down.
#include <exception>

#include "host/Dispatcher.h"
#include "host/Exports.h"

extern "C" QVX_EXPORT uint64_t plugMain(uint32_t functionCode, uint64_t input, void* instance) {
  try {
    return qvx::Dispatch(functionCode, input, instance);
  } catch (...) {
    return qvx::FailureAnswer(functionCode);
  }
}

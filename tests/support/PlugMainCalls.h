// Small helpers for calling plugMain the way a host does: records by address,
// answers read as a result code, float bits or an address.
#pragma once

#include <cstdint>
#include <cstring>

#include "host/Exports.h"

namespace qvx::test {

constexpr uint64_t kFailureAnswer = 0xFFFFFFFFu;

inline uint64_t Call(uint32_t code, uint64_t input = 0, void* instance = nullptr) {
  return plugMain(code, input, instance);
}

template <typename Record>
uint64_t CallWith(uint32_t code, Record* record, void* instance = nullptr) {
  return plugMain(code, reinterpret_cast<uintptr_t>(record), instance);
}

inline float AsFloat(uint64_t answer) {
  const uint32_t bits = static_cast<uint32_t>(answer);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

inline uint32_t BitsOf(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

inline const char* AsText(uint64_t answer) { return reinterpret_cast<const char*>(static_cast<uintptr_t>(answer)); }

inline void* AsHandle(uint64_t answer) { return reinterpret_cast<void*>(static_cast<uintptr_t>(answer)); }

}  // namespace qvx::test

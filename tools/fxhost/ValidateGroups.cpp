#include "tools/fxhost/ValidateGroups.h"

#include <cstdio>
#include <cstring>

#include "tools/fxhost/ValidateHost.h"

namespace fxhost {

const std::vector<ValidateGroup>& ValidateGroups() {
  static const std::vector<ValidateGroup> groups = {
      {"records", "identity, details and parameter definitions", false, RunRecordsGroup},
      {"lifecycle", "initialise, create, render and destroy, repeated and interleaved", true, RunLifecycleGroup},
      {"parameters", "parameters and host values at extremes, then frames", true, RunParametersGroup},
      {"bad-input", "unknown codes, null records, bad indices and handles, unusable frames", true,
       RunBadInputGroup},
      {"gl-hygiene", "the GL bindings left after every call, with the host's own state disturbed", true,
       RunGLHygieneGroup},
  };
  return groups;
}

std::string Hex(uint64_t answer) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(answer));
  return text;
}

bool IsFailureAnswer(uint64_t answer) { return static_cast<uint32_t>(answer) == 0xFFFFFFFFu; }

size_t BoundedLength(uint64_t address, size_t limit) {
  // Read byte by byte: a text that does not end may sit at the end of
  // readable memory, and then the group's child process is what dies.
  return strnlen(reinterpret_cast<const char*>(static_cast<uintptr_t>(address)), limit);
}

int Repetitions(const ValidateHost& host, int perLevel) { return perLevel * host.Settings().strictness; }

}  // namespace fxhost

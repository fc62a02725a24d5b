// The groups of checks fxhost validate runs, each in a child process of its
// own, in this order. A group's checks are reported one line each.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fxhost {

class ValidateHost;

struct ValidateGroup {
  const char* name;
  const char* summary;
  bool needsGL;
  void (*run)(ValidateHost& host);
};

const std::vector<ValidateGroup>& ValidateGroups();

void RunRecordsGroup(ValidateHost& host);
void RunLifecycleGroup(ValidateHost& host);
void RunParametersGroup(ValidateHost& host);
void RunBadInputGroup(ValidateHost& host);
void RunGLHygieneGroup(ValidateHost& host);

// Helpers the groups share.
std::string Hex(uint64_t answer);
bool IsFailureAnswer(uint64_t answer);  // the low 32 bits are 0xFFFFFFFF
// A text the module handed out, read at most `limit` bytes far: its length,
// or `limit` when no terminator came within it.
size_t BoundedLength(uint64_t address, size_t limit);
// `perLevel` times the strictness.
int Repetitions(const ValidateHost& host, int perLevel);

}  // namespace fxhost

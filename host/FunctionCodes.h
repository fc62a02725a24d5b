// The function codes of plugMain and the values every answer is made of.
#pragma once

#include <cstdint>

namespace qvx {

// Result codes, in the low 32 bits of an answer.
constexpr uint32_t kSuccess = 0;
constexpr uint32_t kFailure = 0xFFFFFFFFu;

// Parameter type codes.
enum ParameterType : int32_t {
  kTypeBoolean = 0,
  kTypeStandard = 10,
  kTypeOption = 11,
  kTypeFile = 14,
  kTypeText = 100,
};

constexpr bool IsTextValued(int32_t type) { return type == kTypeText || type == kTypeFile; }

// Every code plugMain handles; any other code is answered with kFailure.
enum FunctionCode : uint32_t {
  kGetIdentity = 0,
  kDeinitialise = 2,
  kGetParameterCount = 4,
  kGetParameterName = 5,
  kGetParameterDefault = 6,
  kGetParameterDisplay = 7,
  kSetParameter = 8,
  kGetParameter = 9,
  kGetCapability = 10,
  kGetDetails = 13,
  kGetParameterType = 15,
  kGetInputStatus = 16,
  kRenderFrame = 17,
  kCreateInstance = 18,
  kDestroyInstance = 19,
  kSetHostTime = 20,
  kConnect = 21,
  kDisconnect = 22,
  kResize = 23,
  kGetElementCount = 31,
  kGetParameterUsage = 32,
  kGetAuxiliaryText = 33,
  kInitialise = 34,
  kGetElementName = 35,
  kGetElementValue = 36,
  kSetElementValue = 37,
  kSetBeat = 38,
  kSetHostInfo = 39,
  kSetSampleRate = 40,
  kGetParameterRange = 41,
  kGetThumbnail = 42,
  kGetFileExtensionCount = 43,
  kGetFileExtension = 44,
  kGetParameterVisibility = 45,
  kCollectPendingEvents = 46,
  kGetSeparatorCount = 47,
  kGetSeparator = 48,
  kEnableCapability16 = 49,
  kGetParameterGroup = 50,
  kGetParameterDisplayName = 51,
};

// Capability numbers of code 10.
enum Capability : uint32_t {
  kCapability5 = 5,
  kCapabilityMinimumInputs = 10,
  kCapabilityMaximumInputs = 11,
  kCapability16 = 16,
};

}  // namespace qvx

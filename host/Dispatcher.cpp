#include "host/Dispatcher.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "framework/Plugin.h"
#include "host/FunctionCodes.h"
#include "host/HostRecords.h"
#include "host/InstanceLifecycle.h"
#include "host/PluginDescriptor.h"
#include "host/Prototype.h"
#include "host/ThumbnailImage.h"

namespace qvx {
namespace {

constexpr uint64_t kNull = 0;

uint64_t Address(const void* pointer) { return reinterpret_cast<uintptr_t>(pointer); }

uint64_t FloatBits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

template <typename Record>
Record* RecordAt(uint64_t input) {
  return reinterpret_cast<Record*>(static_cast<uintptr_t>(input));
}

uint32_t Low32(uint64_t input) { return static_cast<uint32_t>(input); }

// The registry that answers codes 31, 35, 36 and 45: the named instance's, or
// the prototype's when none is named. Null for a stale handle or when no
// prototype can be made.
const CFFGLPluginManager* InstanceElsePrototype(void* handle) {
  if (handle != nullptr) return FindLiveInstance(handle);
  return PrototypeOrNull();
}

// Codes 8 and 9 take the parameter's type from the prototype; -1 (numeric)
// when it cannot be made.
int32_t TypeFromPrototype(uint32_t index) {
  const CFFGLPlugin* prototype = PrototypeOrNull();
  return prototype != nullptr ? prototype->GetParameterType(index) : -1;
}

uint64_t SetParameter(CFFGLPlugin& instance, const ParameterAssignment& assignment) {
  if (IsTextValued(TypeFromPrototype(assignment.parameterIndex)))
    return instance.SetParameterText(assignment.parameterIndex, assignment.value.textValue);
  return instance.SetParameterFloat(assignment.parameterIndex, assignment.value.floatValue);
}

uint64_t GetParameter(CFFGLPlugin& instance, uint32_t index) {
  if (IsTextValued(TypeFromPrototype(index))) return Address(instance.GetParameterText(index));
  return FloatBits(instance.GetParameterFloat(index));
}

uint64_t Capability(const CFFGLPlugin& prototype, uint32_t capability) {
  switch (capability) {
    case kCapability5:
      return prototype.HasCapability5() ? 1 : 0;
    case kCapabilityMinimumInputs:
      return static_cast<uint32_t>(std::max(prototype.GetMinimumInputs(), 0));
    case kCapabilityMaximumInputs:
      return static_cast<uint32_t>(std::max(prototype.GetMaximumInputs(), 0));
    case kCapability16:
      return prototype.HasCapability16() ? 1 : 0;
    default:
      return 0;
  }
}

uint64_t CopyThumbnail(ThumbnailQuery& query) {
  const ThumbnailImage* thumbnail = GetThumbnail();
  if (thumbnail == nullptr) {
    query.width = 0;
    query.height = 0;
    return kFailure;
  }
  query.width = thumbnail->GetWidth();
  query.height = thumbnail->GetHeight();
  if (query.pixels != nullptr) {
    const uint32_t bytes = thumbnail->GetWidth() * thumbnail->GetHeight() * 4u;
    std::memcpy(query.pixels, thumbnail->GetPixelData(), bytes);
  }
  return kSuccess;
}

uint64_t CollectPendingEvents(CFFGLPlugin& instance, PendingEventQuery& query) {
  const uint32_t pending = instance.GetPendingEventCount();
  if (query.reports == nullptr) {
    query.count = pending;
  } else {
    query.count = instance.TakePendingEvents(query.reports, query.count);
  }
  return kSuccess;
}

// Copies without a terminator: a shorter text leaves the rest of the buffer
// as the host left it; a longer one fills it completely.
uint64_t CopyText(const std::string& text, TextCopyRequest& request) {
  const size_t length = std::min<size_t>(text.size(), request.bufferSize);
  std::memcpy(request.buffer, text.data(), length);
  return kSuccess;
}

uint64_t EnableCapability16(CFFGLPlugin& instance) {
  const CFFGLPlugin* prototype = PrototypeOrNull();
  if (prototype != nullptr && prototype->HasCapability16()) instance.EnableCapability16();
  return kFailure;  // this code answers failure in every case
}

// Codes that are answered by a registry: the prototype's, or for 31/35/36/45
// the named instance's.
uint64_t DispatchDefinitionQuery(uint32_t code, uint64_t input, void* handle) {
  switch (code) {
    case kGetElementCount:
    case kGetParameterVisibility: {
      const CFFGLPluginManager* registry = InstanceElsePrototype(handle);
      if (registry == nullptr) return kFailure;
      if (code == kGetElementCount) return registry->GetElementCount(Low32(input));
      return static_cast<uint32_t>(registry->GetParameterVisibility(Low32(input)));
    }
    case kGetElementName:
    case kGetElementValue: {
      const IndexPair* pair = RecordAt<IndexPair>(input);
      if (pair == nullptr) return FailureAnswer(code);
      const CFFGLPluginManager* registry = InstanceElsePrototype(handle);
      if (registry == nullptr) return FailureAnswer(code);
      if (code == kGetElementName) return Address(registry->GetElementName(pair->parameterIndex, pair->position));
      return registry->GetElementValue(pair->parameterIndex, pair->position);
    }
    default:
      break;
  }

  // Prototype-only codes that read a record check the record first.
  const IndexPair* pair = nullptr;
  RangeQuery* range = nullptr;
  TextCopyRequest* copy = nullptr;
  if (code == kGetFileExtension || code == kGetSeparator) {
    pair = RecordAt<IndexPair>(input);
    if (pair == nullptr) return FailureAnswer(code);
  } else if (code == kGetParameterRange) {
    range = RecordAt<RangeQuery>(input);
    if (range == nullptr) return kFailure;
  } else if (code == kGetParameterGroup) {
    copy = RecordAt<TextCopyRequest>(input);
    if (copy == nullptr || copy->bufferSize == 0) return kFailure;
  }

  const CFFGLPlugin* prototype = PrototypeOrNull();
  if (prototype == nullptr) return FailureAnswer(code);
  const uint32_t index = Low32(input);
  switch (code) {
    case kGetParameterCount:
      return static_cast<uint32_t>(prototype->GetParameterCount());
    case kGetParameterName:
      return Address(prototype->GetParameterName(index));
    case kGetParameterDefault:
      return prototype->GetParameterDefault(index);
    case kGetCapability:
      return Capability(*prototype, index);
    case kGetParameterType:
      return static_cast<uint32_t>(prototype->GetParameterType(index));
    case kGetParameterUsage:
      return static_cast<uint32_t>(prototype->GetParameterUsage(index));
    case kGetAuxiliaryText:
      return Address(const_cast<CFFGLPlugin*>(prototype)->GetAuxiliaryText());
    case kGetParameterRange: {
      const auto [minimum, maximum] = prototype->GetParameterRange(range->parameterIndex);
      range->minimum = minimum;
      range->maximum = maximum;
      return kSuccess;
    }
    case kGetFileExtensionCount:
      return prototype->GetFileExtensionCount(index);
    case kGetFileExtension:
      return Address(prototype->GetFileExtension(pair->parameterIndex, pair->position));
    case kGetSeparatorCount:
      return prototype->GetSeparatorCount(index);
    case kGetSeparator:
      return prototype->GetSeparator(pair->parameterIndex, pair->position);
    case kGetParameterGroup:
      return CopyText(prototype->GetParameterGroup(copy->parameterIndex), *copy);
    default:
      return kFailure;
  }
}

// Codes answered by the instance the host names. The handle must be live, and
// a code that reads a record must be given one.
uint64_t DispatchInstanceRequest(uint32_t code, uint64_t input, void* handle) {
  CFFGLPlugin* instance = FindLiveInstance(handle);
  if (instance == nullptr) return kFailure;
  switch (code) {
    case kRenderFrame: {
      // The per-frame path: connect once, then the effect's own frame.
      const FrameRenderRequest* request = RecordAt<FrameRenderRequest>(input);
      if (request == nullptr) return kFailure;
      if (!instance->connected) {
        instance->OnConnect();
        instance->connected = true;
      }
      return instance->RenderFrame(request);
    }
    case kGetParameterDisplay:
      return Address(instance->FormatParameterDisplay(Low32(input)));
    case kSetParameter: {
      const ParameterAssignment* assignment = RecordAt<ParameterAssignment>(input);
      if (assignment == nullptr) return kFailure;
      return SetParameter(*instance, *assignment);
    }
    case kGetParameter:
      return GetParameter(*instance, Low32(input));
    case kGetInputStatus:
      return instance->QueryInputStatus(Low32(input));
    case kDestroyInstance:
      return DestroyInstance(instance);
    case kSetHostTime: {
      const double* time = RecordAt<double>(input);
      if (time == nullptr) return kFailure;
      return instance->SetHostTime(*time);
    }
    case kConnect: {
      const uint32_t answer = instance->OnConnect();
      if (answer == kSuccess) instance->connected = true;
      return answer;
    }
    case kDisconnect: {
      const uint32_t answer = instance->OnDisconnect();
      if (answer == kSuccess) instance->connected = false;
      return answer;
    }
    case kResize: {
      const Viewport* viewport = RecordAt<Viewport>(input);
      if (viewport == nullptr) return kFailure;
      return instance->OnResize(viewport);
    }
    case kSetElementValue: {
      const ElementAssignment* assignment = RecordAt<ElementAssignment>(input);
      if (assignment == nullptr) return kFailure;
      return instance->SetElementValue(assignment->parameterIndex, assignment->elementPosition,
                                       assignment->value);
    }
    case kSetBeat: {
      const BeatInfo* beat = RecordAt<BeatInfo>(input);
      if (beat == nullptr) return kFailure;
      instance->SetBeat(beat->beatsPerMinute, beat->barPhase);
      return kSuccess;
    }
    case kSetHostInfo: {
      const HostInfo* info = RecordAt<HostInfo>(input);
      if (info == nullptr) return kFailure;
      instance->SetHostIdentity(info->hostName, info->hostVersion);
      return kSuccess;
    }
    case kSetSampleRate:
      instance->SetAudioSampleRate(static_cast<int32_t>(Low32(input)));
      return kSuccess;
    case kCollectPendingEvents: {
      PendingEventQuery* query = RecordAt<PendingEventQuery>(input);
      if (query == nullptr) return kFailure;
      return CollectPendingEvents(*instance, *query);
    }
    case kEnableCapability16:
      if (Low32(input) != kCapability16) return kFailure;
      return EnableCapability16(*instance);
    case kGetParameterDisplayName: {
      TextCopyRequest* request = RecordAt<TextCopyRequest>(input);
      if (request == nullptr || request->bufferSize == 0) return kFailure;
      return CopyText(instance->GetParameterDisplayName(request->parameterIndex), *request);
    }
    default:
      return kFailure;
  }
}

}  // namespace

uint64_t FailureAnswer(uint32_t functionCode) {
  switch (functionCode) {
    case kGetIdentity:
    case kGetParameterName:
    case kGetAuxiliaryText:
    case kGetElementName:
    case kGetFileExtension:
    case kGetSeparatorCount:
      return kNull;
    default:
      return kFailure;
  }
}

uint64_t Dispatch(uint32_t functionCode, uint64_t input, void* instance) {
  switch (functionCode) {
    case kGetIdentity: {
      const CFFGLPluginDescriptor* descriptor = GetRegisteredDescriptor();
      return descriptor != nullptr ? Address(descriptor->GetIdentity()) : kNull;
    }
    case kGetDetails: {
      const CFFGLPluginDescriptor* descriptor = GetRegisteredDescriptor();
      return descriptor != nullptr ? Address(descriptor->GetDetails()) : kNull;
    }
    case kInitialise:
      return EnsurePrototype();
    case kDeinitialise:
      return Deinitialise();
    case kCreateInstance:
      return CreateInstance(RecordAt<Viewport>(input));
    case kGetThumbnail: {
      ThumbnailQuery* query = RecordAt<ThumbnailQuery>(input);
      return query != nullptr ? CopyThumbnail(*query) : kFailure;
    }

    case kGetParameterCount:
    case kGetParameterName:
    case kGetParameterDefault:
    case kGetCapability:
    case kGetParameterType:
    case kGetElementCount:
    case kGetParameterUsage:
    case kGetAuxiliaryText:
    case kGetElementName:
    case kGetElementValue:
    case kGetParameterRange:
    case kGetFileExtensionCount:
    case kGetFileExtension:
    case kGetParameterVisibility:
    case kGetSeparatorCount:
    case kGetSeparator:
    case kGetParameterGroup:
      return DispatchDefinitionQuery(functionCode, input, instance);

    case kRenderFrame:
    case kGetParameterDisplay:
    case kSetParameter:
    case kGetParameter:
    case kGetInputStatus:
    case kDestroyInstance:
    case kSetHostTime:
    case kConnect:
    case kDisconnect:
    case kResize:
    case kSetElementValue:
    case kSetBeat:
    case kSetHostInfo:
    case kSetSampleRate:
    case kCollectPendingEvents:
    case kEnableCapability16:
    case kGetParameterDisplayName:
      return DispatchInstanceRequest(functionCode, input, instance);

    default:
      return kFailure;  // not handled: nothing done, no prototype made
  }
}

}  // namespace qvx

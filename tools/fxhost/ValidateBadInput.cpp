// Group "bad input": requests a host should not make but sometimes does.
// Each must be answered with the code's failure value and change nothing:
// neither the module's definitions nor a live instance's values, nor the
// host's framebuffer.
#include <cstring>
#include <string>
#include <vector>

#include "host/FunctionCodes.h"
#include "host/HostRecords.h"
#include "tools/fxhost/ValidateGroups.h"
#include "tools/fxhost/ValidateHost.h"

namespace fxhost {
namespace {

constexpr uint64_t kFailure = 0xFFFFFFFFu;

// What the host can read back; equal before and after when nothing changed.
struct Snapshot {
  uint64_t count = 0;
  std::vector<std::string> answers;

  bool operator==(const Snapshot& other) const { return count == other.count && answers == other.answers; }
};

std::string TextOrBits(uint64_t answer, bool text) {
  if (!text) return Hex(static_cast<uint32_t>(answer));
  const char* value = ModuleLoader::AsText(answer);
  return value != nullptr ? std::string(value) : "(none)";
}

Snapshot Take(ValidateHost& host, void* instance) {
  Snapshot snapshot;
  const ModuleLoader& module = host.Module();
  snapshot.count = module.Call(qvx::kGetParameterCount);
  for (uint32_t index = 0; index < host.ParameterCount(); ++index) {
    const bool text = host.TextValued(index);
    const char* name = ModuleLoader::AsText(module.Call(qvx::kGetParameterName, index));
    snapshot.answers.push_back(name != nullptr ? name : "(none)");
    snapshot.answers.push_back(TextOrBits(module.Call(qvx::kGetParameterDefault, index), text));
    snapshot.answers.push_back(TextOrBits(module.Call(qvx::kGetParameter, index, instance), text));
  }
  return snapshot;
}

// The failure answer of a code given a null record: null for the two codes
// that answer an address, 0xFFFFFFFF for the rest.
uint64_t NullRecordAnswer(uint32_t code) {
  return code == qvx::kGetElementName || code == qvx::kGetFileExtension ? 0 : kFailure;
}

void UnknownCodes(ValidateHost& host, void* instance) {
  std::vector<uint32_t> codes = {1, 3, 11, 12, 14, 24, 25, 26, 27, 28, 29, 30, 52, 53, 100, 255, 256,
                                 0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF};
  for (int extra = 0; extra < Repetitions(host, 10); ++extra)
    codes.push_back(52 + static_cast<uint32_t>(host.Random()() % 0xFFFFFFB0u));
  Check check(host.Report(), std::to_string(codes.size()) + " unknown function codes answer 0xFFFFFFFF");
  for (size_t which = 0; which < codes.size(); ++which) {
    // Whatever the input and handle: an unknown code must look at neither.
    const uint64_t input = which % 2 ? host.Random()() : 0;
    const uint64_t answer = host.Call(check, "code " + std::to_string(codes[which]), codes[which], input,
                                      which % 3 == 0 ? instance : nullptr);
    check.Expect(answer == kFailure, "code " + std::to_string(codes[which]) + " answered " + Hex(answer));
  }
}

void NullRecords(ValidateHost& host, void* instance) {
  struct Case {
    uint32_t code;
    bool withInstance;
  };
  static const Case kCases[] = {{qvx::kCreateInstance, false},    {qvx::kGetElementName, false},
                                {qvx::kGetElementValue, false},   {qvx::kGetParameterRange, false},
                                {qvx::kGetThumbnail, false},      {qvx::kGetFileExtension, false},
                                {qvx::kGetSeparator, false},      {qvx::kGetParameterGroup, false},
                                {qvx::kSetParameter, true},       {qvx::kRenderFrame, true},
                                {qvx::kSetHostTime, true},        {qvx::kResize, true},
                                {qvx::kSetElementValue, true},    {qvx::kSetBeat, true},
                                {qvx::kSetHostInfo, true},        {qvx::kCollectPendingEvents, true},
                                {qvx::kGetParameterDisplayName, true}};
  Check check(host.Report(), "null records are refused with the code's failure value (17 codes)");
  for (const Case& nullCase : kCases) {
    const std::string what = "code " + std::to_string(nullCase.code) + " with a null record";
    const uint64_t answer = host.Call(check, what, nullCase.code, 0, nullCase.withInstance ? instance : nullptr);
    check.Expect(answer == NullRecordAnswer(nullCase.code), what + " answered " + Hex(answer));
  }
}

void UnregisteredIndices(ValidateHost& host, void* instance) {
  const uint32_t count = host.ParameterCount();
  const uint32_t indices[] = {count, count + 1, 0x7FFFFFFF, 0xFFFFFFFF};
  Check check(host.Report(), "unregistered parameter indices and list positions are refused");
  for (uint32_t index : indices) {
    const std::string of = " for the unregistered index " + std::to_string(index);
    struct Expected {
      uint32_t code;
      uint64_t answer;
    };
    for (const Expected& expected : {Expected{qvx::kGetParameterName, 0}, Expected{qvx::kGetParameterDefault, kFailure},
                                     Expected{qvx::kGetParameterType, kFailure},
                                     Expected{qvx::kGetElementCount, kFailure},
                                     Expected{qvx::kGetParameterUsage, kFailure},
                                     Expected{qvx::kGetParameterVisibility, kFailure}}) {
      const uint64_t answer = host.Call(check, "code " + std::to_string(expected.code) + of, expected.code, index);
      check.Expect(answer == expected.answer, "code " + std::to_string(expected.code) + of + " answered " + Hex(answer));
    }
    IndexPair pair{index, 0};
    for (uint32_t code : {qvx::kGetElementName, qvx::kGetElementValue, qvx::kGetFileExtension, qvx::kGetSeparator}) {
      const uint64_t answer = host.CallWith(check, "code " + std::to_string(code) + of, code, &pair);
      check.Expect(answer == NullRecordAnswer(code), "code " + std::to_string(code) + of + " answered " + Hex(answer));
    }
    ParameterAssignment assignment{};
    assignment.parameterIndex = index;
    assignment.value.floatValue = 0.5f;
    const uint64_t set = host.CallWith(check, "code 8" + of, qvx::kSetParameter, &assignment, instance);
    check.Expect(set == kFailure, "code 8" + of + " answered " + Hex(set));
  }
  // Positions past each registered parameter's element list.
  for (uint32_t index = 0; index < count; ++index) {
    const auto elements = static_cast<uint32_t>(host.Module().Call(qvx::kGetElementCount, index));
    for (uint32_t position : {elements, elements + 1, 0xFFFFFFFFu}) {
      IndexPair pair{index, position};
      const std::string at = " for parameter " + std::to_string(index) + " position " + std::to_string(position);
      const uint64_t name = host.CallWith(check, "code 35" + at, qvx::kGetElementName, &pair);
      check.Expect(name == 0, "code 35" + at + " answered " + Hex(name));
      const uint64_t value = host.CallWith(check, "code 36" + at, qvx::kGetElementValue, &pair);
      check.Expect(value == kFailure, "code 36" + at + " answered " + Hex(value));
    }
  }
}

// Every code that needs a live instance, each with a complete record, so
// that only the handle is wrong.
void CallEveryInstanceCode(ValidateHost& host, Check& check, void* handle, const std::string& which) {
  ParameterAssignment assignment{};
  assignment.value.floatValue = 0.5f;
  if (host.TextValued(0)) assignment.value.textValue = "x";
  double time = 1.0;
  Viewport viewport{0, 0, kHostSide, kHostSide};
  ElementAssignment element{0, 0, 1.0f};
  BeatInfo beat{120.0f, 0.0f};
  HostInfo info{"fxhost", "validate"};
  PendingEventQuery events{0, 0, nullptr};
  char buffer[16];
  TextCopyRequest copy{0, 0, buffer, sizeof buffer, 0};
  TextureDescriptor* inputs[1] = {host.Input()};
  FrameRenderRequest frame{1, 0, inputs, host.Framebuffer(0), 0};
  struct Request {
    uint32_t code;
    uint64_t input;
  };
  auto address = [](const void* record) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(record)); };
  const Request requests[] = {{qvx::kGetParameterDisplay, 0},         {qvx::kSetParameter, address(&assignment)},
                              {qvx::kGetParameter, 0},                {qvx::kGetInputStatus, 0},
                              {qvx::kRenderFrame, address(&frame)},   {qvx::kSetHostTime, address(&time)},
                              {qvx::kConnect, 0},                     {qvx::kDisconnect, 0},
                              {qvx::kResize, address(&viewport)},     {qvx::kSetElementValue, address(&element)},
                              {qvx::kSetBeat, address(&beat)},        {qvx::kSetHostInfo, address(&info)},
                              {qvx::kSetSampleRate, 44100},           {qvx::kCollectPendingEvents, address(&events)},
                              {qvx::kEnableCapability16, 16},         {qvx::kGetParameterDisplayName, address(&copy)},
                              {qvx::kDestroyInstance, 0}};
  for (const Request& request : requests) {
    const std::string what = "code " + std::to_string(request.code) + " with " + which;
    const uint64_t answer = host.Call(check, what, request.code, request.input, handle);
    check.Expect(answer == kFailure, what + " answered " + Hex(answer));
  }
}

void StaleAndForeignHandles(ValidateHost& host) {
  {
    Check check(host.Report(), "a destroyed instance's handle is refused by every instance code, twice");
    void* instance = host.Create(check, "code 18");
    if (instance != nullptr) {
      host.Render(check, "code 17", instance);
      host.Destroy(check, "code 19", instance);
      CallEveryInstanceCode(host, check, instance, "a destroyed handle");
      CallEveryInstanceCode(host, check, instance, "a destroyed handle, again");
    }
  }
  {
    const int randomHandles = host.Settings().strictness;
    Check check(host.Report(), "handles never issued (host memory, " + std::to_string(randomHandles) +
                                   " random addresses) are refused by every instance code");
    std::vector<uint8_t> hostMemory(4096, 0);
    CallEveryInstanceCode(host, check, hostMemory.data(), "a handle into host memory");
    CallEveryInstanceCode(host, check, host.Input(), "the address of a host record as handle");
    for (int which = 0; which < randomHandles; ++which) {
      void* handle = reinterpret_cast<void*>(static_cast<uintptr_t>(host.Random()() | 1));
      CallEveryInstanceCode(host, check, handle, "the random handle " + Hex(reinterpret_cast<uintptr_t>(handle)));
    }
  }
}

void ZeroSizeBuffers(ValidateHost& host, void* instance) {
  Check check(host.Report(), "zero-size text buffers (codes 50, 51) are refused and left untouched");
  for (uint32_t code : {qvx::kGetParameterGroup, qvx::kGetParameterDisplayName}) {
    for (bool nullBuffer : {false, true}) {
      char buffer[8];
      std::memset(buffer, 0x5A, sizeof buffer);
      TextCopyRequest request{0, 0, nullBuffer ? nullptr : buffer, 0, 0};
      const std::string what =
          "code " + std::to_string(code) + " with a zero-size " + (nullBuffer ? "null buffer" : "buffer");
      const uint64_t answer =
          host.CallWith(check, what, code, &request, code == qvx::kGetParameterDisplayName ? instance : nullptr);
      check.Expect(answer == kFailure, what + " answered " + Hex(answer));
      bool untouched = true;
      for (char c : buffer) untouched = untouched && c == 0x5A;
      check.Expect(untouched, what + " wrote into the buffer");
    }
  }
}

void UnusableFrames(ValidateHost& host, void* instance) {
  TextureDescriptor* valid[2] = {host.Input(), host.Input()};
  TextureDescriptor* firstNull[2] = {nullptr, host.Input()};
  struct Case {
    const char* what;
    FrameRenderRequest request;
  };
  Case cases[] = {{"a frame with input count 0 and no array", {0, 0, nullptr, 0, 0}},
                  {"a frame with input count 0 and an array", {0, 0, valid, 0, 0}},
                  {"a frame whose first input entry is null", {1, 0, firstNull, 0, 0}},
                  {"a frame of two inputs whose first entry is null", {2, 0, firstNull, 0, 0}},
                  {"a frame with input count 1 and no array", {1, 0, nullptr, 0, 0}}};
  Check check(host.Report(), "frame requests without a first input are refused and draw nothing");
  for (Case& frameCase : cases) {
    frameCase.request.hostFramebuffer = host.Framebuffer(0);
    host.FillFramebuffer(0);
    const std::vector<uint8_t> before = host.ReadFramebuffer(0);
    glBindFramebuffer(GL_FRAMEBUFFER, host.Framebuffer(1));  // the host's own binding, to be kept
    const uint64_t answer = host.RenderRequest(check, frameCase.what, instance, &frameCase.request);
    check.Expect(answer == kFailure, std::string(frameCase.what) + " answered " + Hex(answer));
    GLint bound = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
    check.Expect(bound == static_cast<GLint>(host.Framebuffer(1)),
                 std::string(frameCase.what) + " changed the host's framebuffer binding");
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    check.Expect(host.ReadFramebuffer(0) == before, std::string(frameCase.what) + " drew into the framebuffer");
  }
}

}  // namespace

void RunBadInputGroup(ValidateHost& host) {
  void* instance = nullptr;
  {
    Check check(host.Report(), "an instance to work on (code 18)");
    instance = host.Create(check, "code 18");
  }
  if (instance == nullptr) return;
  const Snapshot before = Take(host, instance);
  const size_t requestsBefore = host.Requests();
  UnknownCodes(host, instance);
  NullRecords(host, instance);
  UnregisteredIndices(host, instance);
  StaleAndForeignHandles(host);
  ZeroSizeBuffers(host, instance);
  UnusableFrames(host, instance);
  // Nearly all of them bad: the few good ones make and end the instance whose handle goes stale.
  const size_t requests = host.Requests() - requestsBefore;
  Check check(host.Report(), "after those " + std::to_string(requests) +
                                 " requests nothing changed: definitions, values, and a frame still renders");
  check.Expect(Take(host, instance) == before, "a definition or a parameter value answers differently than before");
  host.Render(check, "code 17", instance);
  host.Destroy(check, "code 19", instance);
}

}  // namespace fxhost

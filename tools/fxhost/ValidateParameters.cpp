// Group "parameters": every parameter, and every value the host hands in,
// at values a careless host or a corrupted preset produces; after each round
// a frame must still render.
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "host/FunctionCodes.h"
#include "host/HostRecords.h"
#include "tools/fxhost/ValidateGroups.h"
#include "tools/fxhost/ValidateHost.h"

namespace fxhost {
namespace {

float RandomFloat(std::mt19937_64& random) {
  static const float kExtremes[] = {
      std::numeric_limits<float>::quiet_NaN(),   -std::numeric_limits<float>::quiet_NaN(),
      std::numeric_limits<float>::infinity(),    -std::numeric_limits<float>::infinity(),
      std::numeric_limits<float>::denorm_min(),  -std::numeric_limits<float>::denorm_min(),
      FLT_MIN / 4.0f,                            FLT_MAX,
      -FLT_MAX,                                  1e30f,
      -1e30f,                                    2147483648.0f,
      -2147483904.0f,                            -1.0f,
      -0.0f,                                     0.0f,
      0.5f,                                      1.0f,
      2.0f,                                      1e6f,
      -1e6f};
  const uint64_t choice = random() % 4;
  if (choice == 0) return std::uniform_real_distribution<float>(-1e6f, 1e6f)(random);
  if (choice == 1) {  // any bit pattern at all
    const auto bits = static_cast<uint32_t>(random());
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  return kExtremes[random() % (sizeof kExtremes / sizeof kExtremes[0])];
}

std::string RandomText(std::mt19937_64& random) {
  static const size_t kLengths[] = {0, 1, 15, 16, 17, 255, 4096};
  std::string text(kLengths[random() % (sizeof kLengths / sizeof kLengths[0])], ' ');
  for (char& c : text) c = static_cast<char>(1 + random() % 255);  // any byte but NUL
  return text;
}

std::string Describe(float value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "+infinity" : "-infinity";
  return std::to_string(value);
}

void SetEveryParameter(ValidateHost& host, Check& check, void* instance, const std::string& round) {
  for (uint32_t index = 0; index < host.ParameterCount(); ++index) {
    ParameterAssignment assignment{};
    assignment.parameterIndex = index;
    std::string text;
    std::string value;
    if (host.TextValued(index)) {
      text = RandomText(host.Random());
      assignment.value.textValue = text.c_str();
      value = "a text of " + std::to_string(text.size()) + " bytes";
    } else {
      assignment.value.floatValue = RandomFloat(host.Random());
      value = Describe(assignment.value.floatValue);
    }
    host.CallWith(check, "code 8: parameter " + std::to_string(index) + " = " + value + round,
                  qvx::kSetParameter, &assignment, instance);
    // Reading back and formatting for display must cope with whatever is stored.
    const uint64_t read = host.Call(check, "code 9 for parameter " + std::to_string(index) + round,
                                    qvx::kGetParameter, index, instance);
    if (host.TextValued(index) && read != 0 && !IsFailureAnswer(read))
      check.Expect(BoundedLength(read, 1 << 20) < (1 << 20), "code 9 answered a text that does not end");
    const uint64_t display = host.Call(check, "code 7 for parameter " + std::to_string(index) + round,
                                       qvx::kGetParameterDisplay, index, instance);
    if (display != 0 && !IsFailureAnswer(display))
      check.Expect(BoundedLength(display, 16) < 16, "the display text of parameter " + std::to_string(index) +
                                                        " after " + value + " does not end within 16 bytes");
  }
}

void ExtremeParameters(ValidateHost& host, void* instance) {
  const int rounds = Repetitions(host, 8);
  Check check(host.Report(), "every parameter at random extremes (NaN, infinities, denormals, huge, negative), " +
                                 std::to_string(rounds) + " rounds, each followed by a frame");
  for (int round = 0; round < rounds; ++round) {
    const std::string when = " in round " + std::to_string(round + 1);
    SetEveryParameter(host, check, instance, when);
    host.Render(check, "code 17" + when, instance, round % 2);
  }
}

void ExtremeHostValues(ValidateHost& host, void* instance) {
  const int rounds = Repetitions(host, 2);
  Check check(host.Report(), "element values, host time, tempo, host information and sample rate at extremes (codes "
                             "37, 20, 38, 39, 40), " + std::to_string(rounds) + " rounds, each followed by a frame");
  for (int round = 0; round < rounds; ++round) {
    const std::string when = " in round " + std::to_string(round + 1);
    for (uint32_t index = 0; index < host.ParameterCount(); ++index) {
      const auto elements = static_cast<uint32_t>(host.Module().Call(qvx::kGetElementCount, index, instance));
      for (uint32_t position = 0; position < elements && position < 64; ++position) {
        ElementAssignment assignment{index, position, RandomFloat(host.Random())};
        host.CallWith(check, "code 37 for parameter " + std::to_string(index) + when, qvx::kSetElementValue,
                      &assignment, instance);
      }
    }
    const float asFloat = RandomFloat(host.Random());
    double time = round % 2 == 0 ? static_cast<double>(asFloat) : -1e300;
    host.CallWith(check, "code 20 with " + Describe(asFloat) + when, qvx::kSetHostTime, &time, instance);
    BeatInfo beat{RandomFloat(host.Random()), RandomFloat(host.Random())};
    host.CallWith(check, "code 38" + when, qvx::kSetBeat, &beat, instance);
    const std::string name = RandomText(host.Random());
    const std::string version = RandomText(host.Random());
    HostInfo info{name.c_str(), version.c_str()};
    host.CallWith(check, "code 39" + when, qvx::kSetHostInfo, &info, instance);
    const int32_t rates[] = {-1, 0, 44100, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
    host.Call(check, "code 40" + when, qvx::kSetSampleRate, static_cast<uint32_t>(rates[round % 5]), instance);
    host.Render(check, "code 17" + when, instance);
  }
}

void DefaultsRestored(ValidateHost& host, void* instance) {
  Check check(host.Report(), "after the extremes, the defaults set again (code 8 with code 6's values) render a frame");
  for (uint32_t index = 0; index < host.ParameterCount(); ++index) {
    const uint64_t defaultValue = host.Call(check, "code 6 for parameter " + std::to_string(index),
                                            qvx::kGetParameterDefault, index);
    ParameterAssignment assignment{};
    assignment.parameterIndex = index;
    if (host.TextValued(index)) {
      const char* text = ModuleLoader::AsText(defaultValue);
      assignment.value.textValue = text != nullptr ? text : "";
    } else {
      assignment.value.floatValue = ModuleLoader::AsFloat(defaultValue);
    }
    const uint64_t answer = host.CallWith(check, "code 8 with the default of parameter " + std::to_string(index),
                                          qvx::kSetParameter, &assignment, instance);
    check.Expect(answer == 0, "code 8 with the default of parameter " + std::to_string(index) + " answered " +
                                  Hex(answer));
  }
  host.Render(check, "code 17", instance);
}

}  // namespace

void RunParametersGroup(ValidateHost& host) {
  void* instance = nullptr;
  {
    Check check(host.Report(), "an instance to work on (code 18)");
    instance = host.Create(check, "code 18");
  }
  if (instance == nullptr) return;
  ExtremeParameters(host, instance);
  ExtremeHostValues(host, instance);
  DefaultsRestored(host, instance);
  Check check(host.Report(), "the instance is destroyed (code 19)");
  host.Destroy(check, "code 19", instance);
}

}  // namespace fxhost

// Group "records": what the module says about itself, without a GL context.
#include <cctype>
#include <cmath>
#include <cstring>
#include <set>
#include <vector>

#include "host/FunctionCodes.h"
#include "host/HostRecords.h"
#include "tools/fxhost/ValidateGroups.h"
#include "tools/fxhost/ValidateHost.h"

namespace fxhost {
namespace {

constexpr size_t kTextLimit = 65536;  // no text the host reads is this long
constexpr uint8_t kGuard = 0xA5;      // host bytes the module must not write

bool KnownType(uint32_t type) {
  return type == qvx::kTypeBoolean || type == qvx::kTypeStandard || type == qvx::kTypeOption ||
         type == qvx::kTypeFile || type == qvx::kTypeText;
}

float AsFloat(uint64_t answer) { return ModuleLoader::AsFloat(answer); }

std::string Parameter(uint32_t index) { return "parameter " + std::to_string(index); }

// A fixed-width text field: printable characters, then only NULs.
bool FieldIsText(const char* field, size_t width, bool mayBeEmpty) {
  size_t length = 0;
  while (length < width && field[length] != '\0') {
    if (!std::isprint(static_cast<unsigned char>(field[length]))) return false;
    ++length;
  }
  for (size_t rest = length; rest < width; ++rest)
    if (field[rest] != '\0') return false;
  return mayBeEmpty || length > 0;
}

void CheckIdentity(ValidateHost& host) {
  Check check(host.Report(), "identity (code 0) is readable and its texts fit their fields");
  const uint64_t answer = host.Call(check, "code 0", qvx::kGetIdentity);
  if (!check.Expect(answer != 0 && !IsFailureAnswer(answer), "code 0 answered " + Hex(answer))) return;
  PluginIdentity identity;
  std::memcpy(&identity, reinterpret_cast<const void*>(static_cast<uintptr_t>(answer)), sizeof identity);
  bool printable = true;
  for (char c : identity.uniqueIdentifier) printable = printable && std::isprint(static_cast<unsigned char>(c));
  check.Expect(printable, "the unique identifier is not 4 printable characters");
  check.Expect(FieldIsText(identity.name, 16, false), "the name is not printable text padded with NULs");
}

void CheckDetails(ValidateHost& host) {
  Check check(host.Report(), "details (code 13) are readable and their texts end");
  const uint64_t answer = host.Call(check, "code 13", qvx::kGetDetails);
  if (!check.Expect(answer != 0 && !IsFailureAnswer(answer), "code 13 answered " + Hex(answer))) return;
  PluginDetails details;
  std::memcpy(&details, reinterpret_cast<const void*>(static_cast<uintptr_t>(answer)), sizeof details);
  for (const char* text : {details.description, details.about})
    if (text != nullptr)
      check.Expect(BoundedLength(reinterpret_cast<uintptr_t>(text), kTextLimit) < kTextLimit,
                   "a details text does not end");
  check.Expect(details.extendedDataSize == 0 || details.extendedData != nullptr,
               "extended data of " + std::to_string(details.extendedDataSize) + " bytes at a null address");
}

void CheckParameters(ValidateHost& host) {
  const uint32_t count = host.ParameterCount();
  {
    Check check(host.Report(), "parameter count (code 4) is answered");
    const uint64_t answer = host.Call(check, "code 4", qvx::kGetParameterCount);
    check.Expect(!IsFailureAnswer(answer) && static_cast<uint32_t>(answer) < 4096,
                 "code 4 answered " + Hex(answer));
  }
  {
    Check check(host.Report(), "parameter names (code 5) are distinct texts that end");
    std::set<std::string> names;
    for (uint32_t index = 0; index < count; ++index) {
      const uint64_t answer = host.Call(check, "code 5 for " + Parameter(index), qvx::kGetParameterName, index);
      if (!check.Expect(answer != 0 && !IsFailureAnswer(answer), Parameter(index) + " has no name")) continue;
      const size_t length = BoundedLength(answer, kTextLimit);
      if (!check.Expect(length < kTextLimit, "the name of " + Parameter(index) + " does not end")) continue;
      const std::string name(reinterpret_cast<const char*>(static_cast<uintptr_t>(answer)), length);
      check.Expect(!name.empty(), "the name of " + Parameter(index) + " is empty");
      check.Expect(names.insert(name).second, "two parameters are named \"" + name + "\"");
    }
  }
  {
    Check check(host.Report(), "parameter types (code 15) are known (0, 10, 11, 14, 100)");
    for (uint32_t index = 0; index < count; ++index) {
      const auto type = static_cast<uint32_t>(host.Call(check, "code 15 for " + Parameter(index),
                                                        qvx::kGetParameterType, index));
      check.Expect(KnownType(type), Parameter(index) + " has the unknown type " + std::to_string(type));
    }
  }
  {
    Check check(host.Report(), "parameter ranges (code 41) are finite, minimum not above maximum");
    for (uint32_t index = 0; index < count; ++index) {
      RangeQuery range{index, NAN, NAN};
      const uint64_t answer = host.CallWith(check, "code 41 for " + Parameter(index), qvx::kGetParameterRange, &range);
      if (!check.Expect(answer == 0, "code 41 for " + Parameter(index) + " answered " + Hex(answer))) continue;
      check.Expect(std::isfinite(range.minimum) && std::isfinite(range.maximum) && range.minimum <= range.maximum,
                   Parameter(index) + " has the range " + std::to_string(range.minimum) + " to " +
                       std::to_string(range.maximum));
    }
  }
  {
    Check check(host.Report(), "defaults (code 6) fit: standard inside the range, boolean 0 or 1, option an element");
    for (uint32_t index = 0; index < count; ++index) {
      const auto type = static_cast<uint32_t>(host.Module().Call(qvx::kGetParameterType, index));
      const uint64_t answer = host.Call(check, "code 6 for " + Parameter(index), qvx::kGetParameterDefault, index);
      if (qvx::IsTextValued(static_cast<int32_t>(type))) {
        check.Expect(answer != 0 && !IsFailureAnswer(answer) && BoundedLength(answer, kTextLimit) < kTextLimit,
                     "the default text of " + Parameter(index) + " is missing or does not end");
        continue;
      }
      const float value = AsFloat(answer);
      if (!check.Expect(std::isfinite(value), Parameter(index) + " has the default " + Hex(answer))) continue;
      if (type == qvx::kTypeStandard) {
        RangeQuery range{index, 0.0f, 1.0f};
        host.CallWith(check, "code 41 for " + Parameter(index), qvx::kGetParameterRange, &range);
        check.Expect(value >= range.minimum && value <= range.maximum,
                     "the default " + std::to_string(value) + " of " + Parameter(index) + " lies outside " +
                         std::to_string(range.minimum) + " to " + std::to_string(range.maximum));
      } else if (type == qvx::kTypeBoolean) {
        check.Expect(value == 0.0f || value == 1.0f,
                     "the boolean " + Parameter(index) + " defaults to " + std::to_string(value));
      } else if (type == qvx::kTypeOption) {
        const auto elements = static_cast<uint32_t>(host.Module().Call(qvx::kGetElementCount, index));
        bool found = false;
        for (uint32_t position = 0; position < elements && position < 4096; ++position) {
          IndexPair pair{index, position};
          found = found || AsFloat(host.Module().CallWith(qvx::kGetElementValue, &pair)) == value;
        }
        check.Expect(found, "the option " + Parameter(index) + " defaults to " + std::to_string(value) +
                                ", which none of its elements has");
      }
    }
  }
  {
    Check check(host.Report(), "option elements (codes 31, 35, 36) have names that end and finite values");
    for (uint32_t index = 0; index < count; ++index) {
      if (static_cast<uint32_t>(host.Module().Call(qvx::kGetParameterType, index)) != qvx::kTypeOption) continue;
      const uint64_t elements = host.Call(check, "code 31 for " + Parameter(index), qvx::kGetElementCount, index);
      if (!check.Expect(!IsFailureAnswer(elements) && elements >= 1 && elements < 4096,
                        "the option " + Parameter(index) + " has " + Hex(elements) + " elements"))
        continue;
      for (uint32_t position = 0; position < elements; ++position) {
        IndexPair pair{index, position};
        const std::string where = Parameter(index) + " element " + std::to_string(position);
        const uint64_t name = host.CallWith(check, "code 35 for " + where, qvx::kGetElementName, &pair);
        check.Expect(name != 0 && !IsFailureAnswer(name) && BoundedLength(name, kTextLimit) < kTextLimit,
                     where + " has no name that ends");
        const uint64_t value = host.CallWith(check, "code 36 for " + where, qvx::kGetElementValue, &pair);
        check.Expect(std::isfinite(AsFloat(value)), where + " has the value " + Hex(value));
      }
    }
  }
  {
    Check check(host.Report(), "parameter groups (code 50) are copied within the host's buffer");
    for (uint32_t index = 0; index < count; ++index) {
      std::vector<char> buffer(32 + 16, static_cast<char>(kGuard));
      TextCopyRequest request{index, 0, buffer.data(), 32, 0};
      const uint64_t answer = host.CallWith(check, "code 50 for " + Parameter(index), qvx::kGetParameterGroup, &request);
      check.Expect(answer == 0, "code 50 for " + Parameter(index) + " answered " + Hex(answer));
      bool guardKept = true;
      for (size_t byte = 32; byte < buffer.size(); ++byte) guardKept = guardKept && buffer[byte] == static_cast<char>(kGuard);
      check.Expect(guardKept, "code 50 for " + Parameter(index) + " wrote past the 32-byte buffer");
    }
  }
}

void CheckThumbnailAndInputs(ValidateHost& host) {
  {
    Check check(host.Report(), "thumbnail (code 42): the size, then exactly width x height x 4 bytes");
    ThumbnailQuery query{0, 0, nullptr};
    const uint64_t sized = host.CallWith(check, "code 42 asking the size", qvx::kGetThumbnail, &query);
    if (check.Expect(sized == 0, "code 42 asking the size answered " + Hex(sized)) &&
        check.Expect(query.width > 0 && query.height > 0 && query.width <= 4096 && query.height <= 4096,
                     "the thumbnail is " + std::to_string(query.width) + "x" + std::to_string(query.height))) {
      const size_t bytes = size_t{query.width} * query.height * 4;
      std::vector<uint8_t> pixels(bytes + 64, kGuard);
      ThumbnailQuery copy{0, 0, pixels.data()};
      const uint64_t copied = host.CallWith(check, "code 42 with a buffer", qvx::kGetThumbnail, &copy);
      check.Expect(copied == 0, "code 42 with a buffer answered " + Hex(copied));
      bool guardKept = true;
      for (size_t byte = bytes; byte < pixels.size(); ++byte) guardKept = guardKept && pixels[byte] == kGuard;
      check.Expect(guardKept, "code 42 wrote past width x height x 4 bytes");
    }
  }
  {
    Check check(host.Report(), "inputs (code 10, capabilities 10 and 11): minimum not above maximum");
    const uint64_t minimum = host.Call(check, "code 10 for capability 10", qvx::kGetCapability, 10);
    const uint64_t maximum = host.Call(check, "code 10 for capability 11", qvx::kGetCapability, 11);
    check.Expect(!IsFailureAnswer(minimum) && !IsFailureAnswer(maximum) && minimum <= maximum,
                 "minimum " + Hex(minimum) + ", maximum " + Hex(maximum));
  }
}

void CheckDeinitialiseKeepsDefinitions(ValidateHost& host) {
  Check check(host.Report(), "after deinitialise (code 2) the definitions are answered again, unchanged");
  std::vector<std::string> before;
  for (uint32_t index = 0; index < host.ParameterCount(); ++index) {
    const char* name = ModuleLoader::AsText(host.Module().Call(qvx::kGetParameterName, index));
    before.push_back(name != nullptr ? name : "");
  }
  const uint64_t answer = host.Call(check, "code 2", qvx::kDeinitialise);
  check.Expect(answer == 0, "code 2 answered " + Hex(answer));
  const uint64_t count = host.Call(check, "code 4 after code 2", qvx::kGetParameterCount);
  check.Expect(count == host.ParameterCount(), "code 4 answered " + Hex(count) + " after code 2, before " +
                                                   std::to_string(host.ParameterCount()));
  for (uint32_t index = 0; index < before.size() && index < count; ++index) {
    const char* name = ModuleLoader::AsText(host.Call(check, "code 5 after code 2", qvx::kGetParameterName, index));
    check.Expect(name != nullptr && before[index] == name, "the name of " + Parameter(index) + " changed");
  }
  const uint64_t again = host.Call(check, "code 34 after code 2", qvx::kInitialise);
  check.Expect(again == 0, "code 34 after code 2 answered " + Hex(again));
}

}  // namespace

void RunRecordsGroup(ValidateHost& host) {
  CheckIdentity(host);
  CheckDetails(host);
  CheckParameters(host);
  CheckThumbnailAndInputs(host);
  CheckDeinitialiseKeepsDefinitions(host);
}

}  // namespace fxhost

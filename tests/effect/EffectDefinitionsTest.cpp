// What the module tells a host about the effect before any instance exists:
// identity, details, the eight parameter definitions and the input counts,
// all through plugMain and the prototype (no GL context needed).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/FunctionCodes.h"
#include "host/HostRecords.h"
#include "tests/support/PlugMainCalls.h"

namespace qvx::test {
namespace {

TEST(EffectDescriptor, IdentityRecord) {
  const auto* identity = reinterpret_cast<const PluginIdentity*>(Call(kGetIdentity));
  ASSERT_NE(identity, nullptr);
  EXPECT_EQ(std::string(identity->uniqueIdentifier, 4), "QX07");
  EXPECT_EQ(std::string(identity->name, sizeof identity->name), std::string("Quorvalentix\0\0\0\0", 16));
  EXPECT_EQ(identity->interfaceMajorVersion, 2u);
  EXPECT_EQ(identity->interfaceMinorVersion, 1u);
  EXPECT_EQ(identity->pluginType, 0u);
}

TEST(EffectDescriptor, DetailsRecordWithTheEmDashAsUtf8) {
  const auto* details = reinterpret_cast<const PluginDetails*>(Call(kGetDetails));
  ASSERT_NE(details, nullptr);
  EXPECT_EQ(details->pluginMajorVersion, 2u);
  EXPECT_EQ(details->pluginMinorVersion, 1u);
  const std::string description = details->description;
  EXPECT_EQ(description.size(), 67u);
  EXPECT_EQ(description, "Depth map visualizer \xE2\x80\x94 colormaps, cycling effects, edge detection");
  EXPECT_EQ(description.substr(21, 3), "\xE2\x80\x94");
  EXPECT_STREQ(details->about, "Velquarine");
  EXPECT_EQ(details->extendedDataSize, 0u);
  EXPECT_EQ(details->extendedData, nullptr);
}

struct Definition {
  const char* name;
  int32_t type;
  float defaultValue;
  std::vector<std::pair<const char*, float>> elements;
};

const Definition kDefinitions[8] = {
    {"Colormap", 11, 5.0f,
     {{"Inferno", 0.0f}, {"Viridis", 1.0f}, {"Magma", 2.0f}, {"Plasma", 3.0f}, {"Turbo", 4.0f}, {"Grayscale", 5.0f}}},
    {"Blend", 10, 1.0f, {}},
    {"Show Edges", 0, 0.0f, {}},
    {"Depth Sweep", 10, 0.0f, {}},
    {"Luma Pulse", 10, 0.0f, {}},
    {"Colormap Cycle", 10, 0.0f, {}},
    {"Isolate Band", 10, 0.0f, {}},
    {"Speed", 10, 0.5f, {}},
};

TEST(EffectParameters, EightDefinitionsWithNamesTypesDefaultsRangesAndElements) {
  ASSERT_EQ(Call(kInitialise), 0u);
  EXPECT_EQ(Call(kGetParameterCount), 8u);
  for (uint32_t index = 0; index < 8; ++index) {
    const Definition& d = kDefinitions[index];
    SCOPED_TRACE(d.name);
    EXPECT_STREQ(AsText(Call(kGetParameterName, index)), d.name);
    EXPECT_EQ(Call(kGetParameterType, index), static_cast<uint32_t>(d.type));
    EXPECT_EQ(Call(kGetParameterDefault, index), BitsOf(d.defaultValue));
    RangeQuery range{index, -1.0f, -1.0f};
    EXPECT_EQ(CallWith(kGetParameterRange, &range), 0u);
    EXPECT_EQ(range.minimum, 0.0f);
    EXPECT_EQ(range.maximum, 1.0f) << "no range of its own, the option parameter included";
    if (d.elements.empty()) continue;
    ASSERT_EQ(Call(kGetElementCount, index), d.elements.size());
    for (uint32_t position = 0; position < d.elements.size(); ++position) {
      IndexPair pair{index, position};
      EXPECT_STREQ(AsText(CallWith(kGetElementName, &pair)), d.elements[position].first);
      EXPECT_EQ(CallWith(kGetElementValue, &pair), BitsOf(d.elements[position].second));
    }
  }
  EXPECT_EQ(Call(kGetParameterName, 8), 0u) << "nothing past the eighth";
}

TEST(EffectParameters, TakesExactlyOneInput) {
  EXPECT_EQ(Call(kGetCapability, kCapabilityMinimumInputs), 1u);
  EXPECT_EQ(Call(kGetCapability, kCapabilityMaximumInputs), 1u);
  EXPECT_EQ(Call(kGetCapability, kCapability16), 0u);
}

}  // namespace
}  // namespace qvx::test

// The parameter registry on its own.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/PluginManager.h"
#include "host/FunctionCodes.h"
#include "tests/support/PlugMainCalls.h"

using qvx::test::BitsOf;

namespace {

struct Registry : CFFGLPluginManager {
  Registry() : CFFGLPluginManager(false) {}
  void SetPending(uint32_t index, uint64_t flags) { FindParameter(index)->pendingEvents = flags; }
};

TEST(ParameterRegistry, EmptyRegistryAnswersTheUnregisteredValues) {
  Registry registry;
  EXPECT_EQ(registry.GetParameterCount(), 0);
  EXPECT_EQ(registry.GetParameterName(0), nullptr);
  EXPECT_EQ(registry.GetParameterDefault(0), 0xFFFFFFFFu);
  EXPECT_EQ(registry.GetParameterType(0), -1);
  EXPECT_EQ(registry.GetParameterRange(0), std::make_pair(0.0f, 1.0f));
  EXPECT_EQ(registry.GetParameterUsage(0), -1);
  EXPECT_EQ(registry.GetParameterVisibility(0), -1);
  EXPECT_EQ(registry.GetElementCount(0), 0xFFFFFFFFu);
  EXPECT_EQ(registry.GetElementName(0, 0), nullptr);
  EXPECT_EQ(registry.GetElementValue(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(registry.SetElementValue(0, 0, 1.0f), 0xFFFFFFFFu);
  EXPECT_EQ(registry.GetFileExtensionCount(0), 0u);
  EXPECT_EQ(registry.GetSeparatorCount(0), 0u);
  EXPECT_EQ(registry.GetSeparator(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(registry.GetParameterGroup(0), "");
  EXPECT_EQ(registry.GetParameterDisplayName(0), "");
  EXPECT_EQ(registry.GetPendingEventCount(), 0u);
}

TEST(ParameterRegistry, OnlyStandardDefaultsAreClamped) {
  const struct {
    int32_t type;
    float given;
    float stored;
  } cases[] = {{10, 1.5f, 1.0f}, {10, -0.25f, 0.0f}, {10, 0.5f, 0.5f}, {0, 1.5f, 1.5f}, {11, 5.0f, 5.0f}, {42, -3.0f, -3.0f}};
  for (const auto& c : cases) {
    Registry registry;
    registry.AddParameter(3, "p", c.type, c.given);
    EXPECT_EQ(registry.GetParameterDefault(3), BitsOf(c.stored)) << "type " << c.type << " default " << c.given;
    EXPECT_EQ(registry.GetElementCount(3), 1u) << "one blank element whatever the type";
  }
}

TEST(ParameterRegistry, OptionParameterKeepsItsDefaultAndFixedElementList) {
  Registry registry;
  registry.AddOptionParameter(0, "Choice", 6, 5.0f);
  EXPECT_EQ(registry.GetParameterDefault(0), BitsOf(5.0f));
  EXPECT_EQ(registry.GetParameterRange(0), std::make_pair(0.0f, 1.0f));
  EXPECT_EQ(registry.GetElementCount(0), 6u);
  registry.SetOptionElement(0, 5, "Last", 5.0f);
  registry.SetOptionElement(0, 6, "Beyond", 6.0f);  // ignored: the list never grows
  registry.SetOptionElement(9, 0, "Nobody", 1.0f);  // ignored: unregistered
  EXPECT_EQ(registry.GetElementCount(0), 6u);
  EXPECT_STREQ(registry.GetElementName(0, 5), "Last");
  EXPECT_STREQ(registry.GetElementName(0, 0), "");

  registry.AddOptionParameter(1, "Empty", 0, 0.0f);
  EXPECT_EQ(registry.GetElementCount(1), 0u);
}

TEST(ParameterRegistry, IndicesAreKeysAndTheFirstDuplicateWins) {
  Registry registry;
  registry.AddParameter(7, "first", 0, 0.0f);
  registry.AddParameter(7, "second", 10, 1.0f);
  EXPECT_EQ(registry.GetParameterCount(), 2);
  EXPECT_STREQ(registry.GetParameterName(7), "first");
  EXPECT_EQ(registry.GetParameterType(7), 0);
  EXPECT_EQ(registry.GetParameterName(0), nullptr) << "position 0 is not index 0";
}

TEST(ParameterRegistry, TextsAreCopiesOfTheCallersTexts) {
  Registry registry;
  char name[] = "Name";
  registry.AddParameter(0, name, 0, 0.0f);
  name[0] = 'X';
  EXPECT_STREQ(registry.GetParameterName(0), "Name");
  registry.AddParameter(1, "Text", 100, 0.0f);
  EXPECT_STREQ(reinterpret_cast<const char*>(registry.GetParameterDefault(1)), "");
}

TEST(ParameterRegistry, PendingEventsAreTakenInOrderUpToTheCapacity) {
  Registry registry;
  for (uint32_t index = 0; index < 4; ++index) registry.AddParameter(index, "p", 0, 0.0f);
  registry.SetPending(0, 1);
  registry.SetPending(2, 4);
  registry.SetPending(3, 8);
  ParameterEventReport reports[2] = {};
  EXPECT_EQ(registry.TakePendingEvents(reports, 0), 0u);
  EXPECT_EQ(registry.GetPendingEventCount(), 3u) << "capacity 0 clears nothing";
  EXPECT_EQ(registry.TakePendingEvents(reports, 2), 2u);
  EXPECT_EQ(reports[0].parameterIndex, 0u);
  EXPECT_EQ(reports[1].parameterIndex, 2u);
  EXPECT_EQ(reports[1].eventFlags, 4u);
  EXPECT_EQ(registry.GetPendingEventCount(), 1u) << "the third stays pending";
  EXPECT_EQ(registry.TakePendingEvents(reports, 2), 1u);
  EXPECT_EQ(reports[0].parameterIndex, 3u);
}

}  // namespace

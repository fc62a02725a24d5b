// The instance base's default operations and its display text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "framework/Plugin.h"

namespace {

// One standard parameter whose value the test sets directly.
struct ValuePlugin : CFFGLPlugin {
  ValuePlugin() : CFFGLPlugin(false) {
    AddParameter(0, "Value", 10, 0.0f);
    AddParameter(1, "Text", 100, 0.0f);
  }
  float GetParameterFloat(uint32_t) override { return value; }
  float value = 0.0f;
};

TEST(PluginBase, DefaultOperations) {
  CFFGLPlugin plugin(false);
  EXPECT_EQ(plugin.SetParameterFloat(0, 1.0f), 0xFFFFFFFFu);
  EXPECT_EQ(plugin.SetParameterText(0, "x"), 0xFFFFFFFFu);
  EXPECT_EQ(plugin.RenderFrame(nullptr), 0xFFFFFFFFu);
  EXPECT_EQ(plugin.GetParameterFloat(0), 0.0f);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(plugin.GetParameterText(0)), 0xFFFFFFFFu);
  EXPECT_EQ(plugin.GetAuxiliaryText(), nullptr);
  EXPECT_EQ(plugin.OnConnect(), 0u);
  EXPECT_EQ(plugin.OnDisconnect(), 0u);
  EXPECT_EQ(plugin.ReleaseGL(), 0u);
  EXPECT_FALSE(plugin.connected);
}

TEST(PluginBase, InputStatusIsBoundedByMaximumInputs) {
  CFFGLPlugin plugin(false);
  EXPECT_EQ(plugin.QueryInputStatus(0), 0xFFFFFFFFu) << "no inputs declared";
  plugin.SetMaximumInputs(1);
  EXPECT_EQ(plugin.QueryInputStatus(0), 1u);
  EXPECT_EQ(plugin.QueryInputStatus(1), 0xFFFFFFFFu);
}

TEST(PluginBase, DisplayTextIsPrintfFixedAndAlwaysTerminated) {
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    float value;
    const char* expected;
  } cases[] = {
      {0.5f, "0.500000"},        {1.0f, "1.000000"},         {5.0f, "5.000000"},
      {-0.25f, "-0.250000"},     {99999999.0f, "100000000.00000"}, {-1e30f, "-10000000150474"},
      {inf, "inf"},              {-inf, "-inf"},
  };
  ValuePlugin plugin;
  plugin.selfPlugin = &plugin;
  for (const auto& c : cases) {
    plugin.value = c.value;
    const char* text = plugin.FormatParameterDisplay(0);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, c.expected) << c.value;
    for (size_t i = std::strlen(text); i < 16; ++i) EXPECT_EQ(text[i], '\0') << "byte " << i;
  }
  plugin.value = std::nanf("");
  const std::string nan = plugin.FormatParameterDisplay(0);
  EXPECT_NE(nan.find("nan"), std::string::npos);
}

TEST(PluginBase, DisplayTextSharesOneBufferAndKnowsUnregisteredIndices) {
  ValuePlugin first;
  ValuePlugin second;
  first.selfPlugin = &first;
  second.selfPlugin = &second;
  first.value = 123.0f;
  second.value = 0.5f;
  const char* a = first.FormatParameterDisplay(0);
  const char* b = second.FormatParameterDisplay(0);
  EXPECT_EQ(a, b);
  EXPECT_STREQ(a, "0.500000");
  EXPECT_EQ(first.FormatParameterDisplay(9), nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(first.FormatParameterDisplay(1)), 0xFFFFFFFFu)
      << "a text parameter shows GetParameterText's answer";
}

}  // namespace

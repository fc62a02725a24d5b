// The dispatcher driven through plugMain alone, as a host drives it, with the
// tests' own plug-in registered. These cases need no GL context.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/FunctionCodes.h"
#include "host/HostRecords.h"
#include "host/ThumbnailImage.h"
#include "tests/dispatch/TestPlugin.h"
#include "tests/support/PlugMainCalls.h"

using namespace qvx;
using namespace qvx::test;
using testplugin::control;

namespace {

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    Call(kDeinitialise);  // no prototype left over from an earlier case
    control().Reset();
  }
};

TEST_F(Dispatch, UnhandledCodesFailAndMakeNoPrototype) {
  for (uint32_t code : {1u, 3u, 11u, 12u, 14u, 24u, 25u, 26u, 27u, 28u, 29u, 30u, 52u, 1000u, 0xFFFFFFFFu}) {
    EXPECT_EQ(Call(code, 0x1234), kFailureAnswer) << "code " << code;
  }
  EXPECT_EQ(control().factoryCalls, 0);
}

TEST_F(Dispatch, IdentityRecordIsLaidOutByteForByte) {
  const auto* identity = reinterpret_cast<const unsigned char*>(Call(kGetIdentity));
  ASSERT_NE(identity, nullptr);
  const unsigned char expected[32] = {2, 0, 0, 0, 1, 0, 0, 0, 'T', 'P', 0, 0,
                                      'S', 'i', 'x', 't', 'e', 'e', 'n', ' ', 'c', 'h', 'a', 'r', 's', ' ', 'o', 'k',
                                      0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(identity, expected, sizeof expected), 0)
      << "a 24-character name is cut to 16 bytes without terminator; a 2-character id leaves two zero bytes";
}

TEST_F(Dispatch, DetailsPointAtTheDescriptorsOwnCopies) {
  const auto* details = reinterpret_cast<const PluginDetails*>(Call(kGetDetails));
  ASSERT_NE(details, nullptr);
  EXPECT_EQ(details->pluginMajorVersion, 3u);
  EXPECT_EQ(details->pluginMinorVersion, 4u);
  EXPECT_STREQ(details->description, "A plug-in for the tests");
  EXPECT_STREQ(details->about, "The tests");
  ASSERT_EQ(details->extendedDataSize, 3u);
  const auto* block = static_cast<const char*>(details->extendedData);
  EXPECT_EQ(block[0], 1);
  EXPECT_EQ(block[2], 3);
}

TEST_F(Dispatch, PrototypeIsMadeOnceAndRemadeAfterDeinitialise) {
  EXPECT_EQ(Call(kGetParameterCount), testplugin::kParameterCount);
  EXPECT_EQ(Call(kGetParameterCount), testplugin::kParameterCount);
  EXPECT_EQ(control().factoryCalls, 1);

  EXPECT_EQ(Call(kDeinitialise), kSuccess);
  EXPECT_EQ(control().deinitialiseHookCalls, 1) << "the clean-up hook runs; its failure answer is ignored";
  EXPECT_EQ(control().calls, std::vector<std::string>{"~TestPlugin"});

  EXPECT_EQ(Call(kGetParameterCount), testplugin::kParameterCount);
  EXPECT_EQ(control().factoryCalls, 2);
}

TEST_F(Dispatch, InitialiseRunsTheHookEveryTimeAndPassesItsRefusalOn) {
  EXPECT_EQ(Call(kInitialise), kSuccess);
  EXPECT_EQ(Call(kInitialise), kSuccess);
  EXPECT_EQ(control().initialiseHookCalls, 2);
  EXPECT_EQ(control().factoryCalls, 1);

  Call(kDeinitialise);
  control().initialiseHookFails = true;
  EXPECT_EQ(Call(kInitialise), 7u) << "the hook's own answer";
  EXPECT_EQ(Call(kGetParameterCount), kFailureAnswer);
  EXPECT_EQ(control().factoryCalls, 1);
}

// Each prototype-backed code's answer when no prototype can be made.
struct NoPrototypeCase {
  uint32_t code;
  uint64_t expected;
};

TEST_F(Dispatch, PrototypeBackedCodesGiveTheirOwnFailureAnswer) {
  for (bool throws : {false, true}) {
    control().factoryFails = !throws;
    control().factoryThrows = throws;
    IndexPair pair{0, 0};
    RangeQuery range{0, -5.0f, -5.0f};
    char buffer[8] = "xxxxxxx";
    TextCopyRequest copy{0, 0, buffer, sizeof buffer, 0};
    const NoPrototypeCase cases[] = {
        {kGetParameterCount, kFailureAnswer}, {kGetParameterName, 0},        {kGetParameterDefault, kFailureAnswer},
        {kGetCapability, kFailureAnswer},     {kGetParameterType, kFailureAnswer},
        {kGetElementCount, kFailureAnswer},   {kGetParameterUsage, kFailureAnswer},
        {kGetAuxiliaryText, 0},               {kInitialise, kFailureAnswer},
        {kGetFileExtensionCount, kFailureAnswer}, {kGetParameterVisibility, kFailureAnswer},
        {kGetSeparatorCount, 0},              {kGetParameterRange, kFailureAnswer}};
    for (const NoPrototypeCase& c : cases) {
      const uint64_t input = c.code == kGetParameterRange ? reinterpret_cast<uintptr_t>(&range) : 0;
      EXPECT_EQ(Call(c.code, input), c.expected) << "code " << c.code << (throws ? " (factory throws)" : "");
    }
    EXPECT_EQ(CallWith(kGetElementName, &pair), 0u);
    EXPECT_EQ(CallWith(kGetElementValue, &pair), kFailureAnswer);
    EXPECT_EQ(CallWith(kGetFileExtension, &pair), 0u);
    EXPECT_EQ(CallWith(kGetSeparator, &pair), kFailureAnswer);
    EXPECT_EQ(CallWith(kGetParameterGroup, &copy), kFailureAnswer);
    EXPECT_EQ(range.minimum, -5.0f) << "the range record is not touched";
    EXPECT_STREQ(buffer, "xxxxxxx");
  }
}

TEST_F(Dispatch, ParameterDefinitionsComeFromThePrototypesRegistry) {
  using namespace testplugin;
  EXPECT_STREQ(AsText(Call(kGetParameterName, kOption)), "Mode");
  EXPECT_EQ(Call(kGetParameterName, 99), 0u);

  EXPECT_EQ(Call(kGetParameterDefault, kBoolean), BitsOf(1.0f));
  EXPECT_EQ(Call(kGetParameterDefault, kStandard), BitsOf(1.0f)) << "a standard default is clamped to 0..1";
  EXPECT_EQ(Call(kGetParameterDefault, kOption), BitsOf(2.0f)) << "an option default is kept as it is";
  EXPECT_STREQ(AsText(Call(kGetParameterDefault, kText)), "hello");
  EXPECT_STREQ(AsText(Call(kGetParameterDefault, kFile)), "") << "a text-valued default with no text";
  EXPECT_EQ(Call(kGetParameterDefault, 99), kFailureAnswer);

  const uint32_t types[] = {0, 10, 11, 100, 14};
  const uint32_t elementCounts[] = {1, 1, 3, 1, 1};
  for (uint32_t index = 0; index < kParameterCount; ++index) {
    EXPECT_EQ(Call(kGetParameterType, index), types[index]);
    EXPECT_EQ(Call(kGetElementCount, index), elementCounts[index]);
    EXPECT_EQ(Call(kGetParameterUsage, index), 0u);
    EXPECT_EQ(Call(kGetParameterVisibility, index), 1u);
  }
  for (uint32_t code : {kGetParameterType, kGetElementCount, kGetParameterUsage, kGetParameterVisibility})
    EXPECT_EQ(Call(code, 99), kFailureAnswer) << "code " << code;

  IndexPair pair{kOption, 2};
  EXPECT_STREQ(AsText(CallWith(kGetElementName, &pair)), "High");
  EXPECT_EQ(CallWith(kGetElementValue, &pair), BitsOf(2.0f));
  pair.position = 3;
  EXPECT_EQ(CallWith(kGetElementName, &pair), 0u);
  EXPECT_EQ(CallWith(kGetElementValue, &pair), kFailureAnswer);
  pair = {kBoolean, 0};
  EXPECT_STREQ(AsText(CallWith(kGetElementName, &pair)), "") << "an ordinary parameter has one blank element";
  EXPECT_EQ(CallWith(kGetElementValue, &pair), BitsOf(0.0f));

  EXPECT_EQ(Call(kGetFileExtensionCount, kFile), 2u);
  EXPECT_EQ(Call(kGetFileExtensionCount, 99), 0u);
  pair = {kFile, 1};
  EXPECT_STREQ(AsText(CallWith(kGetFileExtension, &pair)), "exr");
  pair.position = 2;
  EXPECT_EQ(CallWith(kGetFileExtension, &pair), 0u);
  EXPECT_EQ(Call(kGetSeparatorCount, kFile), 1u);
  pair.position = 0;
  EXPECT_EQ(CallWith(kGetSeparator, &pair), 1u);
  pair.position = 1;
  EXPECT_EQ(CallWith(kGetSeparator, &pair), kFailureAnswer);

  EXPECT_EQ(Call(kGetAuxiliaryText), 0u);
}

TEST_F(Dispatch, RangeIsWrittenForRegisteredAndUnregisteredIndices) {
  for (uint32_t index : {static_cast<uint32_t>(testplugin::kStandard), 99u}) {
    RangeQuery range{index, -1.0f, -1.0f};
    EXPECT_EQ(CallWith(kGetParameterRange, &range), kSuccess);
    EXPECT_EQ(range.minimum, 0.0f);
    EXPECT_EQ(range.maximum, 1.0f);
  }
}

TEST_F(Dispatch, CapabilitiesAnswerFromThePrototype) {
  const std::pair<uint32_t, uint64_t> cases[] = {{5, 1}, {10, 1}, {11, 2}, {16, 0}, {0, 0}, {4, 0}, {12, 0}};
  for (const auto& [capability, expected] : cases)
    EXPECT_EQ(Call(kGetCapability, capability), expected) << "capability " << capability;
}

TEST_F(Dispatch, GroupTextIsCopiedWithoutTerminator) {
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  TextCopyRequest copy{testplugin::kOption, 0, buffer, sizeof buffer, 0};
  EXPECT_EQ(CallWith(kGetParameterGroup, &copy), kSuccess);
  EXPECT_EQ(std::string(buffer, sizeof buffer), "########") << "an empty group copies nothing";
  copy.bufferSize = 0;
  EXPECT_EQ(CallWith(kGetParameterGroup, &copy), kFailureAnswer);
}

TEST_F(Dispatch, ThumbnailSizeAndPixels) {
  ThumbnailQuery query{0, 0, nullptr};
  EXPECT_EQ(CallWith(kGetThumbnail, &query), kSuccess);
  EXPECT_EQ(query.width, 160u);
  EXPECT_EQ(query.height, 120u);

  std::vector<uint32_t> pixels(160 * 120 + 1, 0xDEADBEEF);
  query.pixels = pixels.data();
  EXPECT_EQ(CallWith(kGetThumbnail, &query), kSuccess);
  EXPECT_EQ(std::memcmp(pixels.data(), GetThumbnail()->GetPixelData(), 160 * 120 * 4), 0);
  EXPECT_EQ(pixels.back(), 0xDEADBEEFu) << "nothing beyond width x height x 4 bytes is written";
  EXPECT_EQ(Call(kGetThumbnail, 0), kFailureAnswer);
}

TEST_F(Dispatch, InstanceCodesWithoutALiveInstanceFailAndTouchNothing) {
  // Null, and a handle the dispatcher never issued: both refused before use.
  unsigned char neverIssued[64];
  std::memset(neverIssued, 0xAB, sizeof neverIssued);
  ParameterAssignment assignment{0, 0, {1.0f}};
  for (void* handle : {static_cast<void*>(nullptr), static_cast<void*>(neverIssued)}) {
    for (uint32_t code : {kGetParameterDisplay, kSetParameter, kGetParameter, kGetInputStatus, kRenderFrame,
                          kDestroyInstance, kSetHostTime, kConnect, kDisconnect, kResize, kSetElementValue,
                          kSetBeat, kSetHostInfo, kSetSampleRate, kCollectPendingEvents, kEnableCapability16,
                          kGetParameterDisplayName}) {
      EXPECT_EQ(CallWith(code, &assignment, handle), kFailureAnswer) << "code " << code;
    }
  }
  // Codes that prefer a named instance do not fall back to the prototype for a foreign handle.
  EXPECT_EQ(Call(kGetElementCount, 0, neverIssued), kFailureAnswer);
  IndexPair pair{0, 0};
  EXPECT_EQ(CallWith(kGetElementName, &pair, neverIssued), 0u);
  for (unsigned char byte : neverIssued) ASSERT_EQ(byte, 0xAB);
  EXPECT_TRUE(control().calls.empty());
}

TEST_F(Dispatch, NullRecordsAreRefused) {
  // Codes that read a record answer their failure value for a null input
  // instead of following it (no instance is needed to reach the check).
  for (uint32_t code : {kGetElementName, kGetFileExtension}) EXPECT_EQ(Call(code, 0), 0u) << "code " << code;
  for (uint32_t code : {kGetElementValue, kGetSeparator, kGetParameterRange, kGetParameterGroup, kGetThumbnail,
                        kCreateInstance})
    EXPECT_EQ(Call(code, 0), kFailureAnswer) << "code " << code;
  EXPECT_EQ(control().factoryCalls, 0) << "code 18 checks its input before making anything";
}

TEST_F(Dispatch, Code49WithAnotherValueMakesNoPrototype) {
  EXPECT_EQ(Call(kEnableCapability16, 15), kFailureAnswer);
  EXPECT_EQ(control().factoryCalls, 0);
}

}  // namespace

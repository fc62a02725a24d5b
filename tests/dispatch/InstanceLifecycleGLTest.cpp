// Instance creation, the per-instance requests and destruction through
// plugMain, in a real OpenGL 4.1 core context made through GLX.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/FunctionCodes.h"
#include "host/HostRecords.h"
#include "tests/dispatch/TestPlugin.h"
#include "tests/support/GLContext.h"
#include "tests/support/PlugMainCalls.h"

using namespace qvx;
using namespace qvx::test;
using testplugin::control;
using testplugin::TestPlugin;
using Calls = std::vector<std::string>;

namespace {

class InstanceLifecycle : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(context.Valid()) << context.Error();
    Call(kDeinitialise);
    control().Reset();
  }

  // A new instance, with the record of calls cleared afterwards.
  void* Create() {
    const uint64_t answer = CallWith(kCreateInstance, &viewport);
    EXPECT_NE(answer, kFailureAnswer);
    control().calls.clear();
    return AsHandle(answer);
  }

  GlxContext context;
  Viewport viewport{0, 0, 64, 32};
  FrameRenderRequest request{};
};

TEST_F(InstanceLifecycle, CreationAppliesEveryDefaultInIndexOrderThenInitGL) {
  const uint64_t answer = CallWith(kCreateInstance, &viewport);
  ASSERT_NE(answer, kFailureAnswer);
  ASSERT_NE(answer, 0u);
  EXPECT_EQ(control().calls, (Calls{"SetParameterFloat", "SetParameterFloat", "SetParameterFloat",
                                    "SetParameterText", "SetParameterText", "InitGL"}));
  auto* instance = static_cast<TestPlugin*>(AsHandle(answer));
  EXPECT_NE(instance->glBufferMadeInInitGL, 0u) << "the GL entry points are loaded before InitGL";
  EXPECT_EQ(instance->HostViewport().width, 64u);
  EXPECT_FALSE(instance->connected);

  EXPECT_EQ(Call(kGetParameter, testplugin::kStandard, instance), BitsOf(1.0f));
  EXPECT_EQ(Call(kGetParameter, testplugin::kOption, instance), BitsOf(2.0f));
  EXPECT_STREQ(AsText(Call(kGetParameter, testplugin::kText, instance)), "hello");
  EXPECT_STREQ(AsText(Call(kGetParameter, testplugin::kFile, instance)), "");
  EXPECT_EQ(Call(kDestroyInstance, 0, instance), kSuccess);
}

TEST_F(InstanceLifecycle, FailedCreationLeavesNothingBehind) {
  using testplugin::Control;
  const Calls defaults = {"SetParameterFloat", "SetParameterFloat", "SetParameterFloat", "SetParameterText",
                          "SetParameterText"};
  Calls initFails = defaults;
  initFails.insert(initFails.end(), {"InitGL", "ReleaseGL", "~TestPlugin"});
  const struct {
    const char* what;
    bool Control::*failure;
    Calls expected;
  } cases[] = {
      {"factory fails", &Control::factoryFails, {}},
      {"the first default refused", &Control::refuseDefaults, {"SetParameterFloat", "~TestPlugin"}},
      {"InitGL fails: ReleaseGL before destruction", &Control::initGLFails, initFails},
  };
  for (const auto& c : cases) {
    Call(kGetParameterCount);  // the prototype exists, so only the new instance shows below
    control().Reset();
    control().*c.failure = true;
    EXPECT_EQ(CallWith(kCreateInstance, &viewport), kFailureAnswer) << c.what;
    EXPECT_EQ(control().calls, c.expected) << c.what;
  }
  // After an InitGL failure the next creation runs InitGL again.
  control().Reset();
  void* instance = AsHandle(CallWith(kCreateInstance, &viewport));
  EXPECT_EQ(control().calls.back(), "InitGL");
  EXPECT_EQ(Call(kDestroyInstance, 0, instance), kSuccess);
}

TEST_F(InstanceLifecycle, FrameConnectsOnceUntilDisconnected) {
  void* instance = Create();
  EXPECT_EQ(CallWith(kRenderFrame, &request, instance), 42u) << "RenderFrame's answer is passed on";
  EXPECT_EQ(CallWith(kRenderFrame, &request, instance), 42u);
  EXPECT_EQ(control().calls, (Calls{"OnConnect", "RenderFrame", "RenderFrame"}));

  control().calls.clear();
  EXPECT_EQ(Call(kDisconnect, 0, instance), kSuccess);
  CallWith(kRenderFrame, &request, instance);
  EXPECT_EQ(control().calls, (Calls{"OnDisconnect", "OnConnect", "RenderFrame"}));

  // A refused connect leaves the instance unconnected; the next frame connects.
  Call(kDisconnect, 0, instance);
  control().calls.clear();
  control().connectFails = true;
  EXPECT_EQ(Call(kConnect, 0, instance), kFailureAnswer);
  CallWith(kRenderFrame, &request, instance);
  EXPECT_EQ(control().calls, (Calls{"OnConnect", "OnConnect", "RenderFrame"}));

  control().calls.clear();
  EXPECT_EQ(Call(kRenderFrame, 0, instance), kFailureAnswer) << "no request";
  EXPECT_TRUE(control().calls.empty());
  Call(kDestroyInstance, 0, instance);
}

TEST_F(InstanceLifecycle, DestructionOrderAndDeadHandles) {
  void* connected = Create();
  CallWith(kRenderFrame, &request, connected);
  control().calls.clear();
  control().disconnectFails = true;  // ignored: destruction disconnects unconditionally
  EXPECT_EQ(Call(kDestroyInstance, 0, connected), kSuccess);
  EXPECT_EQ(control().calls, (Calls{"OnDisconnect", "ReleaseGL", "~TestPlugin"}));

  void* neverConnected = Create();
  EXPECT_EQ(Call(kDestroyInstance, 0, neverConnected), kSuccess);
  EXPECT_EQ(control().calls, (Calls{"ReleaseGL", "~TestPlugin"}));

  // Dead handles are refused without being followed.
  control().calls.clear();
  EXPECT_EQ(Call(kDestroyInstance, 0, neverConnected), kFailureAnswer);
  EXPECT_EQ(CallWith(kRenderFrame, &request, connected), kFailureAnswer);
  EXPECT_EQ(Call(kGetParameter, 0, connected), kFailureAnswer);
  EXPECT_TRUE(control().calls.empty());
}

TEST_F(InstanceLifecycle, SeveralInstancesAreIndependent) {
  void* first = Create();
  void* second = Create();
  ASSERT_NE(first, second);
  ParameterAssignment assignment{testplugin::kStandard, 0, {0.25f}};
  EXPECT_EQ(CallWith(kSetParameter, &assignment, first), kSuccess);
  EXPECT_EQ(Call(kGetParameter, testplugin::kStandard, first), BitsOf(0.25f));
  EXPECT_EQ(Call(kGetParameter, testplugin::kStandard, second), BitsOf(1.0f));
  EXPECT_EQ(Call(kDestroyInstance, 0, first), kSuccess);
  EXPECT_EQ(Call(kGetParameter, testplugin::kStandard, second), BitsOf(1.0f)) << "the other stays live";
  EXPECT_EQ(Call(kDestroyInstance, 0, second), kSuccess);
}

TEST_F(InstanceLifecycle, ParameterValuesByType) {
  void* instance = Create();
  ParameterAssignment number{testplugin::kOption, 0, {}};
  number.value.floatValue = 1.0f;
  EXPECT_EQ(CallWith(kSetParameter, &number, instance), kSuccess);
  EXPECT_EQ(Call(kGetParameter, testplugin::kOption, instance), BitsOf(1.0f));

  const char caption[] = "copied";
  ParameterAssignment text{testplugin::kText, 0, {}};
  text.value.textValue = caption;
  EXPECT_EQ(CallWith(kSetParameter, &text, instance), kSuccess);
  EXPECT_STREQ(AsText(Call(kGetParameter, testplugin::kText, instance)), "copied");

  EXPECT_STREQ(AsText(Call(kGetParameterDisplay, testplugin::kOption, instance)), "1.000000")
      << "option parameters are shown as their number";
  EXPECT_STREQ(AsText(Call(kGetParameterDisplay, testplugin::kText, instance)), "copied");
  EXPECT_EQ(Call(kGetParameterDisplay, 99, instance), 0u);
  Call(kDestroyInstance, 0, instance);
}

TEST_F(InstanceLifecycle, HostStateReachesTheInstance) {
  void* instance = Create();
  auto* plugin = static_cast<TestPlugin*>(instance);
  double time = 12.5;
  EXPECT_EQ(CallWith(kSetHostTime, &time, instance), kSuccess);
  BeatInfo beat{128.0f, 0.25f};
  EXPECT_EQ(CallWith(kSetBeat, &beat, instance), kSuccess);
  HostInfo info{"Host", nullptr};
  EXPECT_EQ(CallWith(kSetHostInfo, &info, instance), kSuccess);
  EXPECT_EQ(Call(kSetSampleRate, static_cast<uint32_t>(-48000), instance), kSuccess);
  Viewport resized{1, 2, 3, 4};
  EXPECT_EQ(CallWith(kResize, &resized, instance), kSuccess);

  EXPECT_EQ(plugin->HostTime(), 12.5);
  EXPECT_EQ(plugin->Beats(), 128.0f);
  EXPECT_EQ(plugin->Phase(), 0.25f);
  EXPECT_EQ(plugin->HostName(), "Host");
  EXPECT_EQ(plugin->HostVersion(), "") << "a null text is stored as an empty one";
  EXPECT_EQ(plugin->SampleRate(), -48000);
  EXPECT_EQ(plugin->HostViewport().height, 4u);

  EXPECT_EQ(Call(kGetInputStatus, 0, instance), 1u);
  EXPECT_EQ(Call(kGetInputStatus, 1, instance), 1u);
  EXPECT_EQ(Call(kGetInputStatus, 2, instance), kFailureAnswer);

  // Null records: refused, nothing changed.
  for (uint32_t code : {kSetHostTime, kSetBeat, kSetHostInfo, kResize, kSetParameter, kSetElementValue,
                        kCollectPendingEvents, kGetParameterDisplayName})
    EXPECT_EQ(Call(code, 0, instance), kFailureAnswer) << "code " << code;
  EXPECT_EQ(plugin->Beats(), 128.0f);
  Call(kDestroyInstance, 0, instance);
}

TEST_F(InstanceLifecycle, ElementValuesBelongToTheNamedInstance) {
  void* instance = Create();
  ElementAssignment change{testplugin::kOption, 1, 9.0f};
  EXPECT_EQ(CallWith(kSetElementValue, &change, instance), kSuccess);
  IndexPair pair{testplugin::kOption, 1};
  EXPECT_EQ(CallWith(kGetElementValue, &pair, instance), BitsOf(9.0f));
  EXPECT_EQ(CallWith(kGetElementValue, &pair), BitsOf(1.0f)) << "the prototype keeps its own";
  change.elementPosition = 3;
  EXPECT_EQ(CallWith(kSetElementValue, &change, instance), kFailureAnswer);
  Call(kDestroyInstance, 0, instance);
}

TEST_F(InstanceLifecycle, PendingEventsAreReportedInOrderUpToTheCapacity) {
  void* instance = Create();
  auto* plugin = static_cast<TestPlugin*>(instance);
  plugin->SetPendingEvents(testplugin::kBoolean, 1);
  plugin->SetPendingEvents(testplugin::kOption, 2);
  plugin->SetPendingEvents(testplugin::kFile, 4);

  PendingEventQuery query{99, 0, nullptr};
  EXPECT_EQ(CallWith(kCollectPendingEvents, &query, instance), kSuccess);
  EXPECT_EQ(query.count, 3u);

  ParameterEventReport reports[3];
  std::memset(reports, 0xCD, sizeof reports);
  query = {2, 0, reports};
  EXPECT_EQ(CallWith(kCollectPendingEvents, &query, instance), kSuccess);
  ASSERT_EQ(query.count, 2u);
  EXPECT_EQ(reports[0].parameterIndex, testplugin::kBoolean);
  EXPECT_EQ(reports[0].eventFlags, 1u);
  EXPECT_EQ(reports[1].parameterIndex, testplugin::kOption);
  EXPECT_EQ(reports[0].gap, 0xCDCDCDCDu) << "bytes 4..7 of a report are not written";
  EXPECT_EQ(reports[2].parameterIndex, 0xCDCDCDCDu);

  query = {0, 0, reports};
  EXPECT_EQ(CallWith(kCollectPendingEvents, &query, instance), kSuccess);
  EXPECT_EQ(query.count, 0u) << "capacity 0 takes nothing";
  query = {5, 0, reports};
  CallWith(kCollectPendingEvents, &query, instance);
  ASSERT_EQ(query.count, 1u);
  EXPECT_EQ(reports[0].parameterIndex, testplugin::kFile);
  Call(kDestroyInstance, 0, instance);
}

TEST_F(InstanceLifecycle, DisplayNameIsCopiedIntoTheHostBuffer) {
  void* instance = Create();
  static_cast<TestPlugin*>(instance)->SetGroupAndDisplayName(testplugin::kBoolean, "g", "Twenty characters!!!");
  char buffer[17];
  std::memset(buffer, '#', sizeof buffer);
  TextCopyRequest copy{testplugin::kBoolean, 0, buffer, 16, 0};
  EXPECT_EQ(CallWith(kGetParameterDisplayName, &copy, instance), kSuccess);
  EXPECT_EQ(std::string(buffer, 17), "Twenty character#") << "fills all 16 bytes, no terminator";
  copy.bufferSize = 0;
  EXPECT_EQ(CallWith(kGetParameterDisplayName, &copy, instance), kFailureAnswer);
  Call(kDestroyInstance, 0, instance);
}

TEST_F(InstanceLifecycle, Capability16IsEnabledOnlyWhenThePrototypeSupportsIt) {
  for (bool supported : {false, true}) {
    Call(kDeinitialise);
    control().capability16 = supported;
    void* instance = Create();
    EXPECT_EQ(Call(kEnableCapability16, 16, instance), kFailureAnswer) << "this code always answers failure";
    EXPECT_EQ(static_cast<TestPlugin*>(instance)->IsCapability16Enabled(), supported ? 1u : 0u);
    EXPECT_EQ(Call(kGetCapability, 16), supported ? 1u : 0u);
    Call(kDestroyInstance, 0, instance);
  }
}

}  // namespace

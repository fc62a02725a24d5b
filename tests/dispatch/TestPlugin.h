// A small plug-in of the tests' own, registered as this test program's one
// descriptor, so that every function code, failure answer and lifecycle order
// of the dispatcher can be reached without the effect. It records the calls
// the dispatcher makes on it, and switches let a test make it fail.
#pragma once

#include <string>
#include <vector>

#include "framework/Plugin.h"

namespace testplugin {

// Parameter indices registered by TestPlugin, in registration order.
enum : uint32_t {
  kBoolean = 0,   // "Enabled", type 0, default 1.0
  kStandard = 1,  // "Amount", type 10, registered with 1.5 (clamped to 1.0)
  kOption = 2,    // "Mode", type 11, three elements, default 2.0
  kText = 3,      // "Caption", type 100
  kFile = 4,      // "Source", type 14, with file extensions and separators
  kParameterCount = 5,
};

// Behaviour switches and the record of what happened; Reset() before each test.
struct Control {
  bool factoryFails = false;
  bool factoryThrows = false;
  bool initGLFails = false;
  bool connectFails = false;
  bool disconnectFails = false;
  bool refuseDefaults = false;     // SetParameterFloat refuses every value
  bool capability16 = false;       // constructor argument of new instances
  bool initialiseHookFails = false;
  int factoryCalls = 0;
  int initialiseHookCalls = 0;
  int deinitialiseHookCalls = 0;
  std::vector<std::string> calls;  // "OnConnect", "RenderFrame", "ReleaseGL", "~TestPlugin", ...
  void Reset() { *this = Control(); }
};
Control& control();

class TestPlugin : public CFFGLPlugin {
 public:
  TestPlugin();
  ~TestPlugin() override;

  static uint32_t Create(CFFGLPlugin** instance);

  uint32_t InitGL(const Viewport* viewport) override;
  uint32_t ReleaseGL() override;
  uint32_t SetParameterFloat(uint32_t index, float value) override;
  uint32_t SetParameterText(uint32_t index, const char* value) override;
  float GetParameterFloat(uint32_t index) override;
  const char* GetParameterText(uint32_t index) override;
  uint32_t RenderFrame(const FrameRenderRequest* request) override;
  uint32_t OnConnect() override;
  uint32_t OnDisconnect() override;

  // Access for tests to state the framework keeps for derived classes.
  void SetPendingEvents(uint32_t index, uint64_t flags) { FindParameter(index)->pendingEvents = flags; }
  void SetGroupAndDisplayName(uint32_t index, const char* group, const char* displayName);
  const ::Viewport& HostViewport() const { return viewport; }
  float Beats() const { return beatsPerMinute; }
  float Phase() const { return barPhase; }
  const std::string& HostName() const { return hostName; }
  const std::string& HostVersion() const { return hostVersion; }
  double HostTime() const { return hostTime; }
  int32_t SampleRate() const { return sampleRate; }

  uint32_t glBufferMadeInInitGL = 0;  // proof that GL entry points work in InitGL

 private:
  float values[kParameterCount] = {};
  std::string texts[kParameterCount];
};

}  // namespace testplugin

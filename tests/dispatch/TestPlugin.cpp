#include "tests/dispatch/TestPlugin.h"

#include <GL/glew.h>

#include <new>

#include "host/FunctionCodes.h"
#include "host/PluginDescriptor.h"

namespace testplugin {

Control& control() {
  static Control state;
  return state;
}

namespace {

uint32_t InitialiseHook() {
  ++control().initialiseHookCalls;
  return control().initialiseHookFails ? 7u : 0u;
}

uint32_t DeinitialiseHook() {
  ++control().deinitialiseHookCalls;
  return qvx::kFailure;  // ignored by the dispatcher
}

const char extendedData[] = {1, 2, 3};

CFFGLPluginDescriptor descriptor(TestPlugin::Create, "TP", "Sixteen chars ok and cut", 2, 1, 3, 4, 0,
                                 "A plug-in for the tests", "The tests", sizeof extendedData, extendedData,
                                 InitialiseHook, DeinitialiseHook);

}  // namespace

TestPlugin::TestPlugin() : CFFGLPlugin(control().capability16) {
  AddParameter(kBoolean, "Enabled", qvx::kTypeBoolean, 1.0f);
  AddParameter(kStandard, "Amount", qvx::kTypeStandard, 1.5f);
  AddOptionParameter(kOption, "Mode", 3, 2.0f);
  SetOptionElement(kOption, 0, "Low", 0.0f);
  SetOptionElement(kOption, 1, "Mid", 1.0f);
  SetOptionElement(kOption, 2, "High", 2.0f);
  AddParameter(kText, "Caption", qvx::kTypeText, 0.0f);
  AddParameter(kFile, "Source", qvx::kTypeFile, 0.0f);
  ParameterRecord* file = FindParameter(kFile);
  file->fileExtensions = {"png", "exr"};
  file->separators = {1};
  FindParameter(kText)->defaultText = "hello";
  SetMinimumInputs(1);
  SetMaximumInputs(2);
}

TestPlugin::~TestPlugin() { control().calls.push_back("~TestPlugin"); }

uint32_t TestPlugin::Create(CFFGLPlugin** instance) {
  ++control().factoryCalls;
  *instance = nullptr;
  if (control().factoryThrows) throw std::bad_alloc();
  if (control().factoryFails) return qvx::kFailure;
  *instance = new TestPlugin();
  return qvx::kSuccess;
}

uint32_t TestPlugin::InitGL(const ::Viewport* hostViewport) {
  control().calls.push_back("InitGL");
  if (control().initGLFails) return qvx::kFailure;
  glGenBuffers(1, &glBufferMadeInInitGL);
  return CFFGLPlugin::InitGL(hostViewport);
}

uint32_t TestPlugin::ReleaseGL() {
  control().calls.push_back("ReleaseGL");
  if (glBufferMadeInInitGL != 0) glDeleteBuffers(1, &glBufferMadeInInitGL);
  glBufferMadeInInitGL = 0;
  return qvx::kFailure;  // ignored by the dispatcher
}

uint32_t TestPlugin::SetParameterFloat(uint32_t index, float value) {
  control().calls.push_back("SetParameterFloat");
  if (control().refuseDefaults || index >= kParameterCount) return qvx::kFailure;
  values[index] = value;
  return qvx::kSuccess;
}

uint32_t TestPlugin::SetParameterText(uint32_t index, const char* value) {
  control().calls.push_back("SetParameterText");
  if (index >= kParameterCount) return qvx::kFailure;
  texts[index] = value;
  return qvx::kSuccess;
}

float TestPlugin::GetParameterFloat(uint32_t index) { return index < kParameterCount ? values[index] : 0.0f; }

const char* TestPlugin::GetParameterText(uint32_t index) {
  return index < kParameterCount ? texts[index].c_str() : nullptr;
}

uint32_t TestPlugin::RenderFrame(const FrameRenderRequest*) {
  control().calls.push_back("RenderFrame");
  return 42;  // passed on unchanged
}

uint32_t TestPlugin::OnConnect() {
  control().calls.push_back("OnConnect");
  return control().connectFails ? qvx::kFailure : qvx::kSuccess;
}

uint32_t TestPlugin::OnDisconnect() {
  control().calls.push_back("OnDisconnect");
  return control().disconnectFails ? qvx::kFailure : qvx::kSuccess;
}

void TestPlugin::SetGroupAndDisplayName(uint32_t index, const char* group, const char* displayName) {
  FindParameter(index)->group = group;
  FindParameter(index)->displayName = displayName;
}

}  // namespace testplugin

#include "framework/Plugin.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "host/FunctionCodes.h"

namespace {

// Shared by all instances: each FormatParameterDisplay call overwrites it.
char parameterDisplayText[16];

// "%f" of any float widened to double fits: at most 39 integer digits, a
// sign, a point and six decimals.
constexpr size_t kFormatScratch = 64;

}  // namespace

CFFGLPlugin::CFFGLPlugin(bool supportsCapability16) : CFFGLPluginManager(supportsCapability16) {}

CFFGLPlugin::~CFFGLPlugin() {
  hostVersion.clear();
  hostName.clear();
}

uint32_t CFFGLPlugin::InitGL(const Viewport* hostViewport) {
  viewport = *hostViewport;
  return qvx::kSuccess;
}

uint32_t CFFGLPlugin::ReleaseGL() { return qvx::kSuccess; }

const char* CFFGLPlugin::FormatParameterDisplay(uint32_t index) {
  CFFGLPlugin* plugin = selfPlugin != nullptr ? selfPlugin : this;
  const int32_t type = plugin->GetParameterType(index);
  if (type == -1) return nullptr;
  if (qvx::IsTextValued(type)) return plugin->GetParameterText(index);

  char scratch[kFormatScratch];
  const double value = plugin->GetParameterFloat(index);
  std::snprintf(scratch, sizeof scratch, "%f", value);

  // At most 15 characters, so the buffer always stays terminated; longer
  // texts (huge values) are cut at the end.
  std::memset(parameterDisplayText, 0, sizeof parameterDisplayText);
  const size_t length = std::min(std::strlen(scratch), sizeof parameterDisplayText - 1);
  std::memcpy(parameterDisplayText, scratch, length);
  return parameterDisplayText;
}

uint32_t CFFGLPlugin::SetParameterFloat(uint32_t, float) { return qvx::kFailure; }
uint32_t CFFGLPlugin::SetParameterText(uint32_t, const char*) { return qvx::kFailure; }
float CFFGLPlugin::GetParameterFloat(uint32_t) { return 0.0f; }

const char* CFFGLPlugin::GetParameterText(uint32_t) {
  return reinterpret_cast<const char*>(static_cast<uintptr_t>(qvx::kFailure));
}

uint32_t CFFGLPlugin::RenderFrame(const FrameRenderRequest*) { return qvx::kFailure; }

uint32_t CFFGLPlugin::SetHostTime(double time) {
  hostTime = time;
  return qvx::kSuccess;
}

void CFFGLPlugin::SetBeat(float bpm, float phase) {
  beatsPerMinute = bpm;
  barPhase = phase;
}

void CFFGLPlugin::SetHostIdentity(const char* name, const char* version) {
  hostName = name != nullptr ? name : "";
  hostVersion = version != nullptr ? version : "";
}

void CFFGLPlugin::SetAudioSampleRate(int32_t rate) { sampleRate = rate; }

uint32_t CFFGLPlugin::QueryInputStatus(uint32_t inputIndex) {
  return inputIndex < static_cast<uint32_t>(maximumInputs) ? 1u : qvx::kFailure;
}

const char* CFFGLPlugin::GetAuxiliaryText() { return nullptr; }
uint32_t CFFGLPlugin::OnConnect() { return qvx::kSuccess; }
uint32_t CFFGLPlugin::OnDisconnect() { return qvx::kSuccess; }

uint32_t CFFGLPlugin::OnResize(const Viewport* hostViewport) {
  viewport = *hostViewport;
  return qvx::kSuccess;
}

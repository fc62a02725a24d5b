#include "effect/Tessivane.h"

#include <GL/glew.h>

#include <cmath>
#include <limits>
#include <new>

#include "effect/DepthShaders.h"
#include "ffglex/ScopedBindings.h"
#include "host/FunctionCodes.h"
#include "host/LogChannels.h"

namespace {

// Texts the host's log receives from InitGL.
constexpr const char* kInitOkText = "Quorvalentix v3.0: InitGL OK";
constexpr const char* kShaderFailedText = "Quorvalentix: shader compile failed";
constexpr const char* kQuadFailedText = "Quorvalentix: quad init failed";

// One clock step per frame is speed x 2/60: at the default speed 0.5 that is
// one time unit per second at 60 frames per second.
constexpr double kFrameSeconds = 0.016666666666666666;
// "Time" wraps here so that the float the shader gets keeps its precision.
constexpr double kTimeWrap = 100000.0;

constexpr uint32_t kInputTextureUnit = 0;

// colormap + 0.5, truncated toward zero (so 2.4 -> 2, 2.5 -> 3, -0.4 -> 0).
// Values beyond the int range (or NaN) saturate instead of being undefined;
// the shader shows every index outside 0..4 as grayscale either way.
int32_t ColormapIndex(float colormap) {
  const float rounded = colormap + 0.5f;
  if (!(rounded > -2147483648.0f)) return std::numeric_limits<int32_t>::min();
  if (rounded >= 2147483648.0f) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(rounded);
}

}  // namespace

uint32_t Tessivane::Create(CFFGLPlugin** instance) {
  *instance = nullptr;
  // A throwing constructor frees the memory before the exception leaves here.
  Tessivane* made = new (std::nothrow) Tessivane();
  if (made == nullptr) return qvx::kFailure;
  *instance = made;
  return qvx::kSuccess;
}

Tessivane::Tessivane() : CFFGLPlugin(false) {
  AddOptionParameter(kColormap, "Colormap", 6, 5.0f);
  SetOptionElement(kColormap, 0, "Inferno", 0.0f);
  SetOptionElement(kColormap, 1, "Viridis", 1.0f);
  SetOptionElement(kColormap, 2, "Magma", 2.0f);
  SetOptionElement(kColormap, 3, "Plasma", 3.0f);
  SetOptionElement(kColormap, 4, "Turbo", 4.0f);
  SetOptionElement(kColormap, 5, "Grayscale", 5.0f);

  // The defaults are the members' construction values.
  AddParameter(kBlend, "Blend", qvx::kTypeStandard, GetParameterFloat(kBlend));
  AddParameter(kShowEdges, "Show Edges", qvx::kTypeBoolean, GetParameterFloat(kShowEdges));
  AddParameter(kDepthSweep, "Depth Sweep", qvx::kTypeStandard, GetParameterFloat(kDepthSweep));
  AddParameter(kLumaPulse, "Luma Pulse", qvx::kTypeStandard, GetParameterFloat(kLumaPulse));
  AddParameter(kColormapCycle, "Colormap Cycle", qvx::kTypeStandard, GetParameterFloat(kColormapCycle));
  AddParameter(kIsolateBand, "Isolate Band", qvx::kTypeStandard, GetParameterFloat(kIsolateBand));
  AddParameter(kSpeed, "Speed", qvx::kTypeStandard, GetParameterFloat(kSpeed));

  SetMinimumInputs(1);
  SetMaximumInputs(1);
}

// Members go quad, then shader, then the base: no GL call (ReleaseGL came first).
Tessivane::~Tessivane() = default;

uint32_t Tessivane::InitGL(const Viewport* hostViewport) {
  if (!shader.Build(depthVertexShaderText, depthFragmentShaderText)) {
    qvx::SendHostLog(kShaderFailedText);
    return qvx::kFailure;
  }
  // A failed quad leaves the program built; the ReleaseGL that follows deletes it.
  if (!quad.Setup(false)) {
    qvx::SendHostLog(kQuadFailedText);
    return qvx::kFailure;
  }
  qvx::SendHostLog(kInitOkText);
  viewport = *hostViewport;
  return qvx::kSuccess;
}

uint32_t Tessivane::ReleaseGL() {
  shader.Release();
  quad.Release();
  return qvx::kSuccess;
}

float* Tessivane::ParameterMember(uint32_t index) {
  switch (index) {
    case kColormap: return &colormap;
    case kBlend: return &blend;
    case kShowEdges: return &showEdges;
    case kDepthSweep: return &depthSweep;
    case kLumaPulse: return &lumaPulse;
    case kColormapCycle: return &colormapCycle;
    case kIsolateBand: return &isolateBand;
    case kSpeed: return &speed;
    default: return nullptr;
  }
}

uint32_t Tessivane::SetParameterFloat(uint32_t index, float value) {
  float* member = ParameterMember(index);
  if (member == nullptr) return qvx::kFailure;
  *member = value;  // stored as given: no clamping, no rounding
  return qvx::kSuccess;
}

float Tessivane::GetParameterFloat(uint32_t index) {
  const float* member = ParameterMember(index);
  return member != nullptr ? *member : 0.0f;
}

// The whole per-frame path; it allocates nothing.
uint32_t Tessivane::RenderFrame(const FrameRenderRequest* request) {
  // A count without an array is refused like no input at all, not read through.
  if (request->inputTextureCount < 1 || request->inputTextures == nullptr) return qvx::kFailure;
  const TextureDescriptor* input = request->inputTextures[0];
  if (input == nullptr) return qvx::kFailure;

  accumulatedTime += static_cast<double>(speed) * kFrameSeconds * 2.0;

  glBindFramebuffer(GL_FRAMEBUFFER, request->hostFramebuffer);
  // The whole allocated texture; MaxUV below confines sampling to the picture.
  glViewport(0, 0, static_cast<GLsizei>(input->hardwareWidth), static_cast<GLsizei>(input->hardwareHeight));

  ffglex::ScopedProgramBinding programBinding(shader.GetProgramName());
  ffglex::ScopedActiveTextureUnit unitBinding(kInputTextureUnit);
  ffglex::Scoped2DTextureBinding textureBinding(input->textureName);

  shader.SetUniformInt("InputTexture", static_cast<int32_t>(kInputTextureUnit));
  shader.SetUniformVec2("MaxUV", static_cast<float>(input->width) / static_cast<float>(input->hardwareWidth),
                        static_cast<float>(input->height) / static_cast<float>(input->hardwareHeight));
  shader.SetUniformFloat("Blend", blend);
  shader.SetUniformInt("Colormap", ColormapIndex(colormap));
  shader.SetUniformFloat("ShowEdges", showEdges);
  shader.SetUniformFloat("Time", static_cast<float>(std::fmod(accumulatedTime, kTimeWrap)));
  shader.SetUniformFloat("DepthSweep", depthSweep);
  shader.SetUniformFloat("LumaPulse", lumaPulse);
  shader.SetUniformFloat("ColormapCycle", colormapCycle);
  shader.SetUniformFloat("IsolateBand", isolateBand);

  quad.Draw();
  return qvx::kSuccess;  // the scopes unbind texture, unit, then program
}

#include "tools/fxhost/ValidateHost.h"

#include <functional>

#include "host/FunctionCodes.h"
#include "tools/fxhost/Error.h"
#include "tools/fxhost/GLFunctions.h"
#include "tools/fxhost/HostLog.h"
#include "tools/fxhost/ValidateGLState.h"

namespace fxhost {
namespace {

// The picture inside the input texture is smaller than its allocation, as
// many hosts hand it over.
constexpr uint32_t kPictureWidth = 60;
constexpr uint32_t kPictureHeight = 50;

std::string Hex(uint64_t answer) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(answer));
  return text;
}

}  // namespace

ValidateHost::ValidateHost(const ValidateSettings& validateSettings, const std::string& group,
                           ValidateReport& validateReport, bool withGL)
    : settings(validateSettings),
      report(validateReport),
      random(validateSettings.seed ^ std::hash<std::string>{}(group)) {
  HostLog::SetEcho(false);  // the module's log texts would only clutter the group's output
  module = std::make_unique<ModuleLoader>(settings.module);
  const uint64_t count = module->Call(qvx::kGetParameterCount);
  parameterCount = static_cast<uint32_t>(count) == qvx::kFailure ? 0 : static_cast<uint32_t>(count);
  for (uint32_t index = 0; index < parameterCount && index < 4096; ++index)
    parameterTypes.push_back(static_cast<int32_t>(module->Call(qvx::kGetParameterType, index)));
  if (!withGL) return;
  context = CreateGLContext(settings.gl.empty() ? ContextKinds().front() : settings.gl);
  LoadGLFunctions();
  MakeHostGLObjects();
}

ValidateHost::~ValidateHost() {
  if (context != nullptr) {
    glDeleteFramebuffers(2, framebuffers);
    glDeleteTextures(2, colours);
    glDeleteTextures(1, &inputTexture);
  }
  context.reset();  // before the module is deinitialised and unloaded
  module.reset();
}

void ValidateHost::MakeHostGLObjects() {
  std::vector<uint8_t> texels(kHostSide * kHostSide * 4);
  for (uint32_t y = 0; y < kHostSide; ++y)
    for (uint32_t x = 0; x < kHostSide; ++x) {
      uint8_t* texel = &texels[(y * kHostSide + x) * 4];
      texel[0] = texel[1] = texel[2] = static_cast<uint8_t>((x + y) * 2);
      texel[3] = 255;
    }
  glGenTextures(1, &inputTexture);
  glBindTexture(GL_TEXTURE_2D, inputTexture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kHostSide, kHostSide, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glGenTextures(2, colours);
  glGenFramebuffers(2, framebuffers);
  for (int target = 0; target < 2; ++target) {
    glBindTexture(GL_TEXTURE_2D, colours[target]);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kHostSide, kHostSide, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffers[target]);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colours[target], 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
      throw Error("cannot make the host's framebuffers");
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  CheckGLError("making the host's GL objects");
  input = TextureDescriptor{kPictureWidth, kPictureHeight, kHostSide, kHostSide, inputTexture};
}

uint64_t ValidateHost::Call(Check& check, const std::string& what, uint32_t code, uint64_t inputValue,
                            void* instance) {
  check.Step(what);
  ++requests;
  if (context == nullptr) return module->Call(code, inputValue, instance);
  const GLBindings before = GLBindings::Read();
  const uint64_t answer = module->Call(code, inputValue, instance);
  const std::string wrong = CheckCallBindings(before, GLBindings::Read());
  check.Expect(wrong.empty(), what + ": " + wrong);
  return answer;
}

void* ValidateHost::Create(Check& check, const std::string& what) {
  Viewport viewport{0, 0, kHostSide, kHostSide};
  const uint64_t answer = CallWith(check, what, qvx::kCreateInstance, &viewport);
  const bool made = answer != 0 && static_cast<uint32_t>(answer) != qvx::kFailure;
  check.Expect(made, what + " answered " + Hex(answer) + " instead of an instance");
  return made ? reinterpret_cast<void*>(static_cast<uintptr_t>(answer)) : nullptr;
}

void ValidateHost::Destroy(Check& check, const std::string& what, void* instance) {
  const uint64_t answer = Call(check, what, qvx::kDestroyInstance, 0, instance);
  check.Expect(static_cast<uint32_t>(answer) == qvx::kSuccess, what + " answered " + Hex(answer) + " instead of 0");
}

uint64_t ValidateHost::Render(Check& check, const std::string& what, void* instance, int target) {
  TextureDescriptor* inputs[1] = {&input};
  FrameRenderRequest request{};
  request.inputTextureCount = 1;
  request.inputTextures = inputs;
  request.hostFramebuffer = framebuffers[target];
  const uint64_t answer = RenderRequest(check, what, instance, &request);
  check.Expect(static_cast<uint32_t>(answer) == qvx::kSuccess, what + " answered " + Hex(answer) + " instead of 0");
  return answer;
}

uint64_t ValidateHost::RenderRequest(Check& check, const std::string& what, void* instance,
                                     FrameRenderRequest* request) {
  TakeGLErrors();  // only what the module leaves counts
  check.Step(what);
  ++requests;
  const GLBindings before = GLBindings::Read();
  const uint64_t answer = module->CallWith(qvx::kRenderFrame, request, instance);
  const GLBindings after = GLBindings::Read();
  const std::string errors = TakeGLErrors();
  if (static_cast<uint32_t>(answer) != qvx::kSuccess) {
    const std::string wrong = CheckCallBindings(before, after);
    check.Expect(wrong.empty(), what + ": " + wrong);
    return answer;
  }
  const TextureDescriptor* first =
      request->inputTextureCount > 0 && request->inputTextures != nullptr ? request->inputTextures[0] : nullptr;
  if (!check.Expect(first != nullptr, what + " answered success without a first input")) return answer;
  const std::string wrong = CheckFrameBindings(before, after, request->hostFramebuffer,
                                               static_cast<GLsizei>(first->hardwareWidth),
                                               static_cast<GLsizei>(first->hardwareHeight));
  check.Expect(wrong.empty(), what + ": " + wrong);
  check.Expect(errors.empty(), what + ": " + errors);
  return answer;
}

void ValidateHost::FillFramebuffer(int target) {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffers[target]);
  glViewport(0, 0, kHostSide, kHostSide);
  glClearColor(0.2f, 0.9f, 0.1f, 0.6f);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

std::vector<uint8_t> ValidateHost::ReadFramebuffer(int target) {
  std::vector<uint8_t> pixels(kHostSide * kHostSide * 4);
  GLint previous = 0;
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffers[target]);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kHostSide, kHostSide, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previous));
  return pixels;
}

bool ValidateHost::TextValued(uint32_t index) const {
  return index < parameterTypes.size() && qvx::IsTextValued(parameterTypes[index]);
}

}  // namespace fxhost

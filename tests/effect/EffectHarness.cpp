#include "tests/effect/EffectHarness.h"

#include <algorithm>
#include <cmath>

#include "host/FunctionCodes.h"
#include "tests/support/PlugMainCalls.h"

namespace qvx::test {
namespace {

constexpr uint32_t kPatchSize = 8;

GLint GLWrap(TextureWrap wrap) {
  switch (wrap) {
    case TextureWrap::kRepeat: return GL_REPEAT;
    case TextureWrap::kClampToEdge: return GL_CLAMP_TO_EDGE;
    case TextureWrap::kMirroredRepeat: return GL_MIRRORED_REPEAT;
  }
  return GL_CLAMP_TO_EDGE;
}

// A small deterministic generator, so every run sees the same texels.
class Lcg {
 public:
  float Next(float low, float high) {
    state = state * 1664525u + 1013904223u;
    return low + (high - low) * static_cast<float>(state >> 8) / static_cast<float>(1u << 24);
  }

 private:
  uint32_t state = 12345u;
};

}  // namespace

ReferenceTexture MakeDepthTexture(uint32_t width, uint32_t height, TextureWrap wrap) {
  ReferenceTexture texture;
  texture.width = width;
  texture.height = height;
  texture.wrapS = wrap;
  texture.wrapT = wrap;
  texture.rgb.resize(static_cast<size_t>(width) * height * 3);

  const uint32_t patchesAcross = (width + kPatchSize - 1) / kPatchSize;
  const uint32_t patchCount = patchesAcross * ((height + kPatchSize - 1) / kPatchSize);
  // Spreads the luminances so that neighbouring patches differ by far more
  // than the edge threshold.
  const uint32_t stride = patchCount % 5 == 0 ? 7 : 5;
  std::vector<float> tintA(patchCount), tintB(patchCount);
  Lcg random;
  for (uint32_t k = 0; k < patchCount; ++k) {
    tintA[k] = random.Next(-0.12f, 0.12f);
    tintB[k] = random.Next(-0.12f, 0.12f);
  }

  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t patch = (y / kPatchSize) * patchesAcross + x / kPatchSize;
      const uint32_t rank = (patch * stride) % patchCount;
      const uint32_t localX = x % kPatchSize;
      const uint32_t localY = y % kPatchSize;
      float luma = 0.02f + 0.9f * (static_cast<float>(rank) + 0.5f) / static_cast<float>(patchCount);
      luma += 0.0015f * static_cast<float>(localX) + 0.001f * static_cast<float>(localY);
      // Two steps inside the patch: one whose edge sum stays just under the
      // threshold (about 0.025) and one just over it (about 0.035).
      if (localX >= 3) luma += 0.02f;
      if (localX >= 6) luma += 0.03f;
      // Tints along directions of zero luma, so the colour varies while the
      // luminance stays as planned (until a channel clamps).
      const float r = luma + 0.587f * tintA[patch];
      const float g = luma - 0.299f * tintA[patch] + 0.114f * tintB[patch];
      const float b = luma - 0.587f * tintB[patch];
      float* texel = &texture.rgb[3 * (static_cast<size_t>(y) * width + x)];
      texel[0] = std::clamp(r, 0.0f, 1.0f);
      texel[1] = std::clamp(g, 0.0f, 1.0f);
      texel[2] = std::clamp(b, 0.0f, 1.0f);
    }
  }
  return texture;
}

InputTexture::InputTexture(const ReferenceTexture& texels) : width(texels.width), height(texels.height) {
  std::vector<float> rgba(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
    rgba[4 * i + 0] = texels.rgb[3 * i + 0];
    rgba[4 * i + 1] = texels.rgb[3 * i + 1];
    rgba[4 * i + 2] = texels.rgb[3 * i + 2];
    rgba[4 * i + 3] = 0.25f;
  }
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0, GL_RGBA,
               GL_FLOAT, rgba.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLWrap(texels.wrapS));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLWrap(texels.wrapT));
  glBindTexture(GL_TEXTURE_2D, 0);
}

InputTexture::~InputTexture() { glDeleteTextures(1, &name); }

TextureDescriptor InputTexture::Describe(uint32_t pictureWidth, uint32_t pictureHeight) const {
  return TextureDescriptor{pictureWidth, pictureHeight, width, height, name};
}

FloatFramebuffer::FloatFramebuffer(uint32_t width_, uint32_t height_) : width(width_), height(height_) {
  glGenTextures(1, &colour);
  glBindTexture(GL_TEXTURE_2D, colour);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0, GL_RGBA,
               GL_FLOAT, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

FloatFramebuffer::~FloatFramebuffer() {
  glDeleteFramebuffers(1, &framebuffer);
  glDeleteTextures(1, &colour);
}

void FloatFramebuffer::Clear() {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
  glClearColor(-7.0f, 9.0f, -5.0f, 0.5f);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

std::vector<ReferenceRGBA> FloatFramebuffer::Read() const {
  std::vector<ReferenceRGBA> pixels(static_cast<size_t>(width) * height);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGBA, GL_FLOAT, pixels.data());
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  return pixels;
}

EffectInstance::EffectInstance(uint32_t viewportWidth, uint32_t viewportHeight) {
  Viewport viewport{0, 0, viewportWidth, viewportHeight};
  const uint64_t answer = CallWith(kCreateInstance, &viewport);
  if (answer != kFailureAnswer) handle = AsHandle(answer);
}

EffectInstance::~EffectInstance() {
  if (handle != nullptr) Call(kDestroyInstance, 0, handle);
}

uint64_t EffectInstance::SetParameter(uint32_t index, float value) {
  ParameterAssignment assignment{};
  assignment.parameterIndex = index;
  assignment.value.floatValue = value;
  return CallWith(kSetParameter, &assignment, handle);
}

float EffectInstance::GetParameter(uint32_t index) { return AsFloat(Call(kGetParameter, index, handle)); }

uint64_t EffectInstance::Render(const TextureDescriptor* input, GLuint framebuffer) {
  TextureDescriptor* inputs[1] = {const_cast<TextureDescriptor*>(input)};
  FrameRenderRequest request{};
  request.inputTextureCount = 1;
  request.inputTextures = inputs;
  request.hostFramebuffer = framebuffer;
  return CallWith(kRenderFrame, &request, handle);
}

uint64_t EffectInstance::RenderWithoutInputs(GLuint framebuffer) {
  FrameRenderRequest request{};
  request.inputTextureCount = 0;
  request.inputTextures = nullptr;
  request.hostFramebuffer = framebuffer;
  return CallWith(kRenderFrame, &request, handle);
}

float ClockModel::Time() const { return static_cast<float>(std::fmod(accumulated, 100000.0)); }

PixelDifference ComparePixels(const std::vector<ReferenceRGBA>& actual, const std::vector<ReferenceRGBA>& expected) {
  PixelDifference difference;
  const size_t count = std::min(actual.size(), expected.size());
  for (size_t i = 0; i < count; ++i) {
    const float a[4] = {actual[i].r, actual[i].g, actual[i].b, actual[i].a};
    const float e[4] = {expected[i].r, expected[i].g, expected[i].b, expected[i].a};
    for (int c = 0; c < 4; ++c) {
      const float delta = std::isnan(a[c]) ? INFINITY : std::fabs(a[c] - e[c]);
      if (delta > difference.largest) difference = {delta, i, c};
    }
  }
  return difference;
}

}  // namespace qvx::test

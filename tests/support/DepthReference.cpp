#include "tests/support/DepthReference.h"

#include <algorithm>
#include <cmath>

namespace qvx::test {
namespace {

using Colour = std::array<float, 3>;

// The colour maps as tables of evenly spaced control points.
constexpr std::array<Colour, 5> kInferno = {{
    {0.0f, 0.0f, 0.02f}, {0.42f, 0.1f, 0.55f}, {0.88f, 0.29f, 0.16f}, {0.99f, 0.68f, 0.2f}, {0.99f, 0.99f, 0.75f}}};
constexpr std::array<Colour, 5> kViridis = {{
    {0.27f, 0.0f, 0.33f}, {0.28f, 0.36f, 0.56f}, {0.13f, 0.57f, 0.55f}, {0.54f, 0.77f, 0.25f}, {0.99f, 0.91f, 0.14f}}};
constexpr std::array<Colour, 5> kMagma = {{
    {0.0f, 0.0f, 0.02f}, {0.38f, 0.1f, 0.55f}, {0.82f, 0.24f, 0.38f}, {0.98f, 0.64f, 0.46f}, {0.99f, 0.99f, 0.75f}}};
constexpr std::array<Colour, 5> kPlasma = {{
    {0.05f, 0.03f, 0.53f}, {0.55f, 0.05f, 0.59f}, {0.87f, 0.32f, 0.26f}, {0.98f, 0.72f, 0.08f}, {0.94f, 0.97f, 0.13f}}};
constexpr std::array<Colour, 6> kTurbo = {{{0.19f, 0.07f, 0.23f},
                                           {0.11f, 0.39f, 0.85f},
                                           {0.1f, 0.76f, 0.55f},
                                           {0.68f, 0.89f, 0.14f},
                                           {0.96f, 0.44f, 0.0f},
                                           {0.48f, 0.01f, 0.01f}}};

// Interior positions of the two kinds of map, tested in ascending order.
constexpr std::array<float, 3> kFivePointInterior = {0.25f, 0.5f, 0.75f};
constexpr std::array<float, 4> kSixPointInterior = {0.2f, 0.4f, 0.6f, 0.8f};
constexpr std::array<float, 5> kSixPointStarts = {0.0f, 0.2f, 0.4f, 0.6f, 0.8f};

constexpr std::array<float, 3> kLumaWeights = {0.299f, 0.587f, 0.114f};

// GLSL's mix: x * (1 - a) + y * a.
float Mix(float x, float y, float a) { return x * (1.0f - a) + y * a; }
Colour Mix(const Colour& x, const Colour& y, float a) {
  return {Mix(x[0], y[0], a), Mix(x[1], y[1], a), Mix(x[2], y[2], a)};
}

float Fract(float x) { return x - std::floor(x); }

float Smoothstep(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

float Luma(const Colour& c) { return c[0] * kLumaWeights[0] + c[1] * kLumaWeights[1] + c[2] * kLumaWeights[2]; }

float CircularDistance(float a, float b) {
  const float difference = std::fabs(a - b);
  return std::min(difference, 1.0f - difference);
}

template <size_t N>
Colour FivePointLookup(const std::array<Colour, N>& map, float t) {
  size_t segment = 0;
  while (segment < kFivePointInterior.size() && !(t < kFivePointInterior[segment])) ++segment;
  const float start = 0.25f * static_cast<float>(segment);
  return Mix(map[segment], map[segment + 1], (t - start) * 4.0f);
}

Colour SixPointLookup(const std::array<Colour, 6>& map, float t) {
  size_t segment = 0;
  while (segment < kSixPointInterior.size() && !(t < kSixPointInterior[segment])) ++segment;
  return Mix(map[segment], map[segment + 1], (t - kSixPointStarts[segment]) * 5.0f);
}

// The texel index a nearest-filtered coordinate (in texels) reads.
int64_t WrapIndex(double coordinate, uint32_t size, TextureWrap wrap) {
  const int64_t n = size;
  const int64_t i = static_cast<int64_t>(std::floor(coordinate));
  switch (wrap) {
    case TextureWrap::kRepeat:
      return ((i % n) + n) % n;
    case TextureWrap::kClampToEdge:
      return std::clamp<int64_t>(i, 0, n - 1);
    case TextureWrap::kMirroredRepeat: {
      const int64_t a = (((i % (2 * n)) + 2 * n) % (2 * n)) - n;
      const int64_t mirrored = a >= 0 ? a : -(1 + a);
      return (n - 1) - mirrored;
    }
  }
  return 0;
}

double DistanceFromWhole(double x) { return std::fabs(x - std::round(x)); }

class Sampler {
 public:
  Sampler(const ReferenceTexture& texture_, DepthReferenceResult& result_) : texture(texture_), result(result_) {}

  // The texel nearest to a texture coordinate (0..1 over the allocated texture).
  Colour Sample(double s, double t) {
    const double u = s * texture.width;
    const double v = t * texture.height;
    result.texelBoundaryMargin = std::min({result.texelBoundaryMargin, DistanceFromWhole(u), DistanceFromWhole(v)});
    const size_t x = static_cast<size_t>(WrapIndex(u, texture.width, texture.wrapS));
    const size_t y = static_cast<size_t>(WrapIndex(v, texture.height, texture.wrapT));
    const float* texel = &texture.rgb[3 * (y * texture.width + x)];
    return {texel[0], texel[1], texel[2]};
  }

 private:
  const ReferenceTexture& texture;
  DepthReferenceResult& result;
};

}  // namespace

std::array<float, 2> ReferenceMaxUV(uint32_t width, uint32_t height, uint32_t hardwareWidth,
                                    uint32_t hardwareHeight) {
  return {static_cast<float>(width) / static_cast<float>(hardwareWidth),
          static_cast<float>(height) / static_cast<float>(hardwareHeight)};
}

Colour ReferenceColormap(float t, int32_t index) {
  t = std::clamp(t, 0.0f, 1.0f);
  switch (index) {
    case 0: return FivePointLookup(kInferno, t);
    case 1: return FivePointLookup(kViridis, t);
    case 2: return FivePointLookup(kMagma, t);
    case 3: return FivePointLookup(kPlasma, t);
    case 4: return SixPointLookup(kTurbo, t);
    default: return {t, t, t};
  }
}

DepthReferenceResult RenderDepthReference(const ReferenceTexture& texture, const DepthUniforms& u) {
  DepthReferenceResult result;
  result.pixels.resize(static_cast<size_t>(texture.width) * texture.height);
  Sampler sampler(texture, result);
  const float texelX = 1.0f / static_cast<float>(texture.width);
  const float texelY = 1.0f / static_cast<float>(texture.height);

  for (uint32_t y = 0; y < texture.height; ++y) {
    for (uint32_t x = 0; x < texture.width; ++x) {
      // The quad's coordinate at the pixel's centre, scaled onto the picture.
      const double s = (x + 0.5) / texture.width * u.maxU;
      const double t = (y + 0.5) / texture.height * u.maxV;
      const Colour input = sampler.Sample(s, t);
      const float d = Luma(input);

      float dMapped = d;
      if (u.colormapCycle > 0.0f) {
        const float cycled = d + u.time * u.colormapCycle * 0.5f;
        result.cycleWrapMargin = std::min(result.cycleWrapMargin, DistanceFromWhole(cycled));
        dMapped = Fract(cycled);
      }
      Colour colour = ReferenceColormap(dMapped, u.colormap);

      if (u.depthSweep > 0.0f) {
        const float band = 1.0f - Smoothstep(0.0f, 0.15f, CircularDistance(d, Fract(u.time * 0.3f)));
        for (float& c : colour) c += band * u.depthSweep * 1.5f;
      }
      if (u.lumaPulse > 0.0f) {
        const float phase1 = std::sin(u.time * 2.0f + d * 6.2832f) * 0.5f + 0.5f;
        const float phase2 = std::sin(u.time * 3.1f + d * 12.566f) * 0.5f + 0.5f;
        const float pulse = Mix(phase1, phase2, 0.3f);
        for (float& c : colour) c *= 1.0f + (pulse - 0.5f) * u.lumaPulse * 1.2f;
      }
      if (u.isolateBand > 0.0f) {
        const float mask = 1.0f - Smoothstep(0.12f, 0.15f, CircularDistance(d, Fract(u.time * 0.25f)));
        for (int c = 0; c < 3; ++c)
          colour[c] = Mix(colour[c], colour[c] * mask + input[c] * (1.0f - mask), u.isolateBand);
      }
      if (u.showEdges > 0.5f) {
        const float left = Luma(sampler.Sample(s - texelX, t));
        const float right = Luma(sampler.Sample(s + texelX, t));
        const float up = Luma(sampler.Sample(s, t + texelY));
        const float down = Luma(sampler.Sample(s, t - texelY));
        const float edge = std::fabs(right - left) + std::fabs(up - down);
        result.edgeThresholdMargin = std::min<double>(result.edgeThresholdMargin, std::fabs(edge - 0.03f));
        if (edge >= 0.03f) {
          const float glow = 1.0f + std::sin(u.time * 4.0f) * 0.2f * u.lumaPulse;
          colour = {glow, glow, glow};
        }
      }

      result.pixels[static_cast<size_t>(y) * texture.width + x] = {
          Mix(input[0], colour[0], u.blend), Mix(input[1], colour[1], u.blend), Mix(input[2], colour[2], u.blend),
          1.0f};
    }
  }
  return result;
}

}  // namespace qvx::test

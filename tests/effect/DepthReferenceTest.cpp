// The CPU reference that the pixel tests trust, checked against worked
// values of the colour lookup and the animation steps, and the test depth
// map checked to make every setting visible.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "tests/effect/EffectHarness.h"
#include "tests/support/DepthReference.h"

namespace qvx::test {
namespace {

using Colour = std::array<float, 3>;

void ExpectColour(const Colour& actual, const Colour& expected) {
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(actual[c], expected[c], 1e-6f) << "channel " << c;
}

TEST(DepthReferenceColormap, WorkedValues) {
  ExpectColour(ReferenceColormap(0.25f, 0), {0.42f, 0.1f, 0.55f});
  ExpectColour(ReferenceColormap(1.0f, 0), {0.99f, 0.99f, 0.75f});
  ExpectColour(ReferenceColormap(1.0f, 4), {0.48f, 0.01f, 0.01f});
  ExpectColour(ReferenceColormap(1.7f, 1), {0.99f, 0.91f, 0.14f});
  ExpectColour(ReferenceColormap(-0.3f, 3), {0.05f, 0.03f, 0.53f});
  ExpectColour(ReferenceColormap(0.5f, 9), {0.5f, 0.5f, 0.5f});
  ExpectColour(ReferenceColormap(0.5f, -1), {0.5f, 0.5f, 0.5f});
  ExpectColour(ReferenceColormap(0.6f, 4), {0.68f, 0.89f, 0.14f});
  // Halfway inside segments: the average of the two points.
  ExpectColour(ReferenceColormap(0.625f, 2), {0.9f, 0.44f, 0.42f});
  ExpectColour(ReferenceColormap(0.3f, 4), {0.105f, 0.575f, 0.7f});
}

// One pixel of a 1 x 1 grey input of the given depth.
ReferenceRGBA RenderDepth(float depth, DepthUniforms uniforms) {
  ReferenceTexture texture;
  texture.width = 1;
  texture.height = 1;
  texture.rgb = {depth, depth, depth};
  return RenderDepthReference(texture, uniforms).pixels[0];
}

TEST(DepthReferenceSteps, WorkedValues) {
  DepthUniforms u;
  u.colormap = 1;
  u.colormapCycle = 1.0f;
  u.time = 1.0f;  // depth 0.8 takes the colour of 0.3
  const Colour cycled = ReferenceColormap(0.3f, 1);
  const ReferenceRGBA c = RenderDepth(0.8f, u);
  EXPECT_NEAR(c.r, cycled[0], 1e-5f);
  EXPECT_NEAR(c.g, cycled[1], 1e-5f);

  DepthUniforms sweep;
  sweep.depthSweep = 1.0f;
  sweep.time = 1.0f;  // sweep position 0.3: depth 0.3 gains 1.5 on every channel
  EXPECT_NEAR(RenderDepth(0.3f, sweep).g, 0.3f + 1.5f, 1e-5f);
  sweep.time = 0.05f / 0.3f;  // position 0.05 is 0.1 away from depth 0.95, not 0.9
  EXPECT_GT(RenderDepth(0.95f, sweep).r, 0.95f + 0.1f);

  DepthUniforms isolate;
  isolate.colormap = 0;
  isolate.isolateBand = 1.0f;
  isolate.time = 2.0f;  // band centre 0.5
  const ReferenceRGBA outside = RenderDepth(0.7f, isolate);
  EXPECT_EQ(outside.r, 0.7f) << "0.15 or more away: the input exactly";
  const Colour inside = ReferenceColormap(0.6f, 0);
  EXPECT_NEAR(RenderDepth(0.6f, isolate).r, inside[0], 1e-6f);

  DepthUniforms blendZero;
  blendZero.colormap = 4;
  blendZero.blend = 0.0f;
  const ReferenceRGBA input = RenderDepth(0.4f, blendZero);
  EXPECT_EQ(input.r, 0.4f);
  EXPECT_EQ(input.a, 1.0f);
}

TEST(DepthReferenceSteps, EdgesAreWhiteAndFlickerWithLumaPulse) {
  ReferenceTexture texture;
  texture.width = 4;
  texture.height = 1;
  texture.rgb = {0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.9f, 0.9f, 0.9f, 0.9f, 0.9f, 0.9f};
  DepthUniforms u;
  u.showEdges = 1.0f;
  u.time = 0.3f;
  const auto plain = RenderDepthReference(texture, u).pixels;
  EXPECT_EQ(plain[1].r, 1.0f);
  EXPECT_EQ(plain[2].g, 1.0f);
  EXPECT_NEAR(plain[0].r, 0.1f, 1e-6f) << "clamped neighbours see no step";
  u.lumaPulse = 0.5f;
  EXPECT_NEAR(RenderDepthReference(texture, u).pixels[1].b, 1.0f + std::sin(1.2f) * 0.1f, 1e-6f);
  u.showEdges = 0.5f;
  EXPECT_NE(RenderDepthReference(texture, u).pixels[1].b, 1.0f);
}

// Every pixel test would pass for a setting the effect ignored if the test
// map gave that setting nothing to change.
TEST(DepthTestMap, EverySettingChangesThePicture) {
  const ReferenceTexture texels = MakeDepthTexture(32, 32, TextureWrap::kClampToEdge);
  DepthUniforms base;
  base.colormap = 0;
  base.time = 0.7f;
  const auto basePixels = RenderDepthReference(texels, base).pixels;
  std::vector<DepthUniforms> variants;
  for (int map : {1, 2, 3, 4, 5}) {
    variants.push_back(base);
    variants.back().colormap = map;
  }
  for (float DepthUniforms::*field : {&DepthUniforms::depthSweep, &DepthUniforms::lumaPulse,
                                      &DepthUniforms::colormapCycle, &DepthUniforms::isolateBand,
                                      &DepthUniforms::showEdges}) {
    variants.push_back(base);
    variants.back().*field = 1.0f;
  }
  for (size_t i = 0; i < variants.size(); ++i)
    EXPECT_GT(ComparePixels(RenderDepthReference(texels, variants[i]).pixels, basePixels).largest, 0.05f)
        << "variant " << i;
}

}  // namespace
}  // namespace qvx::test

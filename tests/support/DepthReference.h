// A CPU model of the depth visualiser's fragment stage, written from the
// colour-map tables and the per-pixel step list, for comparing rendered
// pixels with what they should be. It knows nothing of GL: the caller
// describes the input texture (its whole allocated size, RGB texels, nearest
// filtering, a wrap mode per axis) and the ten uniform values, and gets the
// expected RGBA of every pixel of a viewport the size of that texture.
//
// Arithmetic is single precision, as in the shader. Pixel rows and texel rows
// are in GL order: row 0 is the bottom row, the first row glTexImage2D takes
// and glReadPixels returns.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace qvx::test {

enum class TextureWrap { kRepeat, kClampToEdge, kMirroredRepeat };

struct ReferenceTexture {
  uint32_t width = 0;   // allocated (hardware) size; also the viewport's size
  uint32_t height = 0;
  std::vector<float> rgb;  // width * height texels, three floats each, row 0 first
  TextureWrap wrapS = TextureWrap::kClampToEdge;
  TextureWrap wrapT = TextureWrap::kClampToEdge;
};

// The uniform values of one frame ("InputTexture" is the texture above).
struct DepthUniforms {
  float maxU = 1.0f;  // "MaxUV"
  float maxV = 1.0f;
  float blend = 1.0f;
  int32_t colormap = 5;
  float showEdges = 0.0f;
  float time = 0.0f;
  float depthSweep = 0.0f;
  float lumaPulse = 0.0f;
  float colormapCycle = 0.0f;
  float isolateBand = 0.0f;
};

struct ReferenceRGBA {
  float r, g, b, a;
};

struct DepthReferenceResult {
  std::vector<ReferenceRGBA> pixels;  // width * height, row 0 first
  // How far the frame stays from the points where a tiny rounding difference
  // flips a result: the smallest distance of any sample position from a texel
  // boundary (in texels), of the cycled depth from a whole number, and of an
  // edge sum from the 0.03 threshold (edges on only). A comparison with a GPU
  // is only meaningful when these are clearly above float rounding.
  double texelBoundaryMargin = 1.0;
  double cycleWrapMargin = 1.0;
  double edgeThresholdMargin = 1.0;
};

// "MaxUV" for a picture inside an allocated texture: single-precision division.
std::array<float, 2> ReferenceMaxUV(uint32_t width, uint32_t height, uint32_t hardwareWidth,
                                    uint32_t hardwareHeight);

// The colour lookup alone: t clamped to 0..1, then the map the index names
// (0 inferno, 1 viridis, 2 magma, 3 plasma, 4 turbo, any other grayscale).
std::array<float, 3> ReferenceColormap(float t, int32_t index);

DepthReferenceResult RenderDepthReference(const ReferenceTexture& texture, const DepthUniforms& uniforms);

}  // namespace qvx::test

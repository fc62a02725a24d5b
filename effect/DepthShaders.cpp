#include "effect/DepthShaders.h"

const char* const depthVertexShaderText = R"(#version 410 core
layout(location = 0) in vec4 vPosition;
layout(location = 1) in vec2 vUV;

out vec2 uv;

void main() {
  gl_Position = vPosition;
  uv = vUV;
}
)";

// Written for a renderer that may run every branch with masked lanes (a
// software rasteriser does, so every step costs on every pixel), without
// changing what any pixel gets: one map's points are read, packed one word a
// point; sin is a short polynomial of its own; what depends on the uniforms
// alone is computed before the steps; texture reads are the ones the steps
// need. A GPU, which branches over the steps that are off, finds all of this
// cheap.
const char* const depthFragmentShaderText = R"(#version 410 core
uniform sampler2D InputTexture;
uniform vec2 MaxUV;
uniform float Blend;
uniform int Colormap;
uniform float ShowEdges;
uniform float Time;
uniform float DepthSweep;
uniform float LumaPulse;
uniform float ColormapCycle;
uniform float IsolateBand;

in vec2 uv;
out vec4 fragColor;

// BT.601 luma: the depth a pixel's colour encodes.
const vec3 kLumaWeights = vec3(0.299, 0.587, 0.114);

// Control points of every map, map after map, each map's points evenly spaced
// from 0 to 1: inferno, viridis, magma and plasma five each, turbo six. Every
// control value has two decimals, so a point is packed as its red, green and
// blue in hundredths (red in the low byte): one table read per point instead
// of three, and a correctly rounded division by 100 gives back exactly the
// float of the decimal.
const uint kMapPoints[26] = uint[26](
  0x020000u, 0x370A2Au, 0x101D58u, 0x144463u, 0x4B6363u,
  0x21001Bu, 0x38241Cu, 0x37390Du, 0x194D36u, 0x0E5B63u,
  0x020000u, 0x370A26u, 0x261852u, 0x2E4062u, 0x4B6363u,
  0x350305u, 0x3B0537u, 0x1A2057u, 0x084862u, 0x0D615Eu,
  0x170713u, 0x55270Bu, 0x374C0Au, 0x0E5944u, 0x002C60u, 0x010130u);

vec3 unpackPoint(uint point) {
  return vec3(float(point & 0xFFu), float((point >> 8) & 0xFFu), float(point >> 16)) / 100.0;
}

// The colour at t (0 to 1) of the map whose points start at `first`: a
// straight line between the two points around t. Interior positions are
// tested strictly (t on a position starts the next segment), so t = 1 lands
// on the last point.
vec3 rampColor(int first, bool sixPoints, float t) {
  vec4 interior = sixPoints ? vec4(0.2, 0.4, 0.6, 0.8) : vec4(0.25, 0.5, 0.75, 2.0);
  float width = sixPoints ? 0.2 : 0.25;
  float segments = sixPoints ? 5.0 : 4.0;
  int segment = int(dot(step(interior, vec4(t)), vec4(1.0)));
  int start = first + segment;
  return mix(unpackPoint(kMapPoints[start]), unpackPoint(kMapPoints[start + 1]),
             (t - float(segment) * width) * segments);
}

vec3 inferno(float t) { return rampColor(0, false, t); }
vec3 viridis(float t) { return rampColor(5, false, t); }
vec3 magma(float t) { return rampColor(10, false, t); }
vec3 plasma(float t) { return rampColor(15, false, t); }
vec3 turbo(float t) { return rampColor(20, true, t); }

// 0 inferno, 1 viridis, 2 magma, 3 plasma, 4 turbo, anything else grayscale.
// The maps lie five points apart in the table, so the index finds its map
// with one multiplication instead of a call per map.
vec3 applyColormap(float t, int index) {
  t = clamp(t, 0.0, 1.0);
  if (index < 0 || index > 4) return vec3(t);
  return rampColor(index * 5, index == 4, t);
}

// Distance between two depths on a circle of circumference 1: depth 0 and
// depth 1 are neighbours.
float circularDistance(float a, float b) {
  float difference = abs(a - b);
  return min(difference, 1.0 - difference);
}

// sin(x) within 6e-7 for |x| up to 4e5 (the clock wraps at 1e5 and the
// fastest phase runs at 4 per unit), with fewer instructions than a software
// rasteriser's general sin: x less the nearest multiple of 2 pi (2 pi split in
// three parts whose products with the multiple are exact), then an odd
// polynomial fitted on [-pi, pi].
float sine(float x) {
  float turns = floor(x * 0.159154937 + 0.5);
  float r = x - turns * 6.28125;
  r -= turns * 0.00193786621;
  r -= turns * -2.55903137e-06;
  float z = r * r;
  return r * (0.999999523 + z * (-0.166665345 + z * (0.00833228789 +
         z * (-0.000198056747 + z * (2.69642169e-06 + z * -2.02303934e-08)))));
}

float luma(vec2 position) { return dot(texture(InputTexture, position).rgb, kLumaWeights); }

void main() {
  // What depends on the uniforms alone, computed before the steps: a GPU
  // branches over the steps that are off and finds these cheap, while a
  // renderer that runs every step on every pixel can compute them once for a
  // whole block of pixels instead of once per pixel.
  float cycleShift = Time * ColormapCycle * 0.5;
  float sweepCentre = fract(Time * 0.3);
  float sliceCentre = fract(Time * 0.25);
  float glow = 1.0 + sine(Time * 4.0) * 0.2 * LumaPulse;
  vec2 texel = vec2(1.0) / vec2(textureSize(InputTexture, 0));

  vec2 tc = uv * MaxUV;
  vec3 inputColor = texture(InputTexture, tc).rgb;
  float d = dot(inputColor, kLumaWeights);

  // Cycling turns the depth-to-colour mapping once every 2 / ColormapCycle.
  float dMapped = d;
  if (ColormapCycle > 0.0) dMapped = fract(d + cycleShift);
  vec3 depthColor = applyColormap(dMapped, Colormap);

  // A bright band sweeping through depth.
  if (DepthSweep > 0.0) {
    float band = 1.0 - smoothstep(0.0, 0.15, circularDistance(d, sweepCentre));
    depthColor += band * DepthSweep * 1.5;
  }

  // Brightness breathing at a depth-dependent phase.
  if (LumaPulse > 0.0) {
    float phase1 = sine(Time * 2.0 + d * 6.2832) * 0.5 + 0.5;
    float phase2 = sine(Time * 3.1 + d * 12.566) * 0.5 + 0.5;
    float pulse = mix(phase1, phase2, 0.3);
    depthColor *= 1.0 + (pulse - 0.5) * LumaPulse * 1.2;
  }

  // Only a sweeping slice of depth keeps the effect's colours; the rest shows the input.
  if (IsolateBand > 0.0) {
    float mask = 1.0 - smoothstep(0.12, 0.15, circularDistance(d, sliceCentre));
    depthColor = mix(depthColor, depthColor * mask + inputColor * (1.0 - mask), IsolateBand);
  }

  // Depth discontinuities in (flickering) white; the neighbours are one texel
  // of the whole allocated texture away and wrap as the texture does.
  if (ShowEdges > 0.5) {
    float left = luma(tc + vec2(-texel.x, 0.0));
    float right = luma(tc + vec2(texel.x, 0.0));
    float up = luma(tc + vec2(0.0, texel.y));
    float down = luma(tc + vec2(0.0, -texel.y));
    float edge = abs(right - left) + abs(up - down);
    depthColor = mix(depthColor, vec3(glow), step(0.03, edge));
  }

  fragColor = vec4(mix(inputColor, depthColor, Blend), 1.0);
}
)";

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
// software rasteriser does, so every step costs on every pixel): the colour
// lookup evaluates one map, never all five, and picks that map's points by
// comparing the map index, which is the same for every pixel, rather than by
// indexing the table per pixel, which such a renderer gathers lane by lane.
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
// from 0 to 1: inferno, viridis, magma and plasma five each, turbo six.
const vec3 kMapPoints[26] = vec3[26](
  vec3(0.0, 0.0, 0.02), vec3(0.42, 0.1, 0.55), vec3(0.88, 0.29, 0.16), vec3(0.99, 0.68, 0.2), vec3(0.99, 0.99, 0.75),
  vec3(0.27, 0.0, 0.33), vec3(0.28, 0.36, 0.56), vec3(0.13, 0.57, 0.55), vec3(0.54, 0.77, 0.25), vec3(0.99, 0.91, 0.14),
  vec3(0.0, 0.0, 0.02), vec3(0.38, 0.1, 0.55), vec3(0.82, 0.24, 0.38), vec3(0.98, 0.64, 0.46), vec3(0.99, 0.99, 0.75),
  vec3(0.05, 0.03, 0.53), vec3(0.55, 0.05, 0.59), vec3(0.87, 0.32, 0.26), vec3(0.98, 0.72, 0.08), vec3(0.94, 0.97, 0.13),
  vec3(0.19, 0.07, 0.23), vec3(0.11, 0.39, 0.85), vec3(0.1, 0.76, 0.55), vec3(0.68, 0.89, 0.14), vec3(0.96, 0.44, 0.0),
  vec3(0.48, 0.01, 0.01));

// Point k (a constant) of map m. m is the same for every pixel, so these
// comparisons choose among constants and no pixel indexes the table.
vec3 mapPoint(int m, int k) {
  vec3 point = kMapPoints[20 + k];
  if (m == 0) point = kMapPoints[k];
  if (m == 1) point = kMapPoints[5 + k];
  if (m == 2) point = kMapPoints[10 + k];
  if (m == 3) point = kMapPoints[15 + k];
  return point;
}

// The colour of map m (0 to 4) at t (0 to 1): a straight line between the
// two points around t. Interior positions are tested strictly (t on a
// position starts the next segment), so t = 1 lands on the last point.
vec3 rampColor(int m, float t) {
  bool sixPoints = m == 4;
  vec4 interior = sixPoints ? vec4(0.2, 0.4, 0.6, 0.8) : vec4(0.25, 0.5, 0.75, 2.0);
  float width = sixPoints ? 0.2 : 0.25;
  float segments = sixPoints ? 5.0 : 4.0;
  vec4 past = step(interior, vec4(t));
  vec3 start = mapPoint(m, 0), end = mapPoint(m, 1);
  if (past.x > 0.0) { start = end; end = mapPoint(m, 2); }
  if (past.y > 0.0) { start = end; end = mapPoint(m, 3); }
  if (past.z > 0.0) { start = end; end = mapPoint(m, 4); }
  if (past.w > 0.0) { start = end; end = kMapPoints[25]; }
  float segment = dot(past, vec4(1.0));
  return mix(start, end, (t - segment * width) * segments);
}

vec3 inferno(float t) { return rampColor(0, t); }
vec3 viridis(float t) { return rampColor(1, t); }
vec3 magma(float t) { return rampColor(2, t); }
vec3 plasma(float t) { return rampColor(3, t); }
vec3 turbo(float t) { return rampColor(4, t); }

// 0 inferno, 1 viridis, 2 magma, 3 plasma, 4 turbo, anything else grayscale.
vec3 applyColormap(float t, int index) {
  t = clamp(t, 0.0, 1.0);
  if (index < 0 || index > 4) return vec3(t);
  return rampColor(index, t);
}

// Distance between two depths on a circle of circumference 1: depth 0 and
// depth 1 are neighbours.
float circularDistance(float a, float b) {
  float difference = abs(a - b);
  return min(difference, 1.0 - difference);
}

float luma(vec2 position) { return dot(texture(InputTexture, position).rgb, kLumaWeights); }

void main() {
  vec2 tc = uv * MaxUV;
  vec3 inputColor = texture(InputTexture, tc).rgb;
  float d = dot(inputColor, kLumaWeights);

  // Cycling turns the depth-to-colour mapping once every 2 / ColormapCycle.
  float dMapped = d;
  if (ColormapCycle > 0.0) dMapped = fract(d + Time * ColormapCycle * 0.5);
  vec3 depthColor = applyColormap(dMapped, Colormap);

  // A bright band sweeping through depth.
  if (DepthSweep > 0.0) {
    float band = 1.0 - smoothstep(0.0, 0.15, circularDistance(d, fract(Time * 0.3)));
    depthColor += band * DepthSweep * 1.5;
  }

  // Brightness breathing at a depth-dependent phase.
  if (LumaPulse > 0.0) {
    float phase1 = sin(Time * 2.0 + d * 6.2832) * 0.5 + 0.5;
    float phase2 = sin(Time * 3.1 + d * 12.566) * 0.5 + 0.5;
    float pulse = mix(phase1, phase2, 0.3);
    depthColor *= 1.0 + (pulse - 0.5) * LumaPulse * 1.2;
  }

  // Only a sweeping slice of depth keeps the effect's colours; the rest shows the input.
  if (IsolateBand > 0.0) {
    float mask = 1.0 - smoothstep(0.12, 0.15, circularDistance(d, fract(Time * 0.25)));
    depthColor = mix(depthColor, depthColor * mask + inputColor * (1.0 - mask), IsolateBand);
  }

  // Depth discontinuities in (flickering) white; the neighbours are one texel
  // of the whole allocated texture away and wrap as the texture does.
  if (ShowEdges > 0.5) {
    vec2 texel = vec2(1.0) / vec2(textureSize(InputTexture, 0));
    float left = luma(tc + vec2(-texel.x, 0.0));
    float right = luma(tc + vec2(texel.x, 0.0));
    float up = luma(tc + vec2(0.0, texel.y));
    float down = luma(tc + vec2(0.0, -texel.y));
    float edge = abs(right - left) + abs(up - down);
    float glow = 1.0 + sin(Time * 4.0) * 0.2 * LumaPulse;
    depthColor = mix(depthColor, vec3(glow), step(0.03, edge));
  }

  fragColor = vec4(mix(inputColor, depthColor, Blend), 1.0);
}
)";

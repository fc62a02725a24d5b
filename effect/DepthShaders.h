// The two GLSL 4.10 core texts of the depth program, compiled as they are.
//
// Interface: attribute vPosition (location 0, vec4; the quad gives x, y, z)
// and vUV (location 1, vec2); the one varying uv; the fragment output
// fragColor. Uniforms: InputTexture (sampler2D, the depth map on unit 0),
// MaxUV (vec2), Blend, ShowEdges, Time, DepthSweep, LumaPulse, ColormapCycle,
// IsolateBand (float) and Colormap (int: 0 inferno, 1 viridis, 2 magma,
// 3 plasma, 4 turbo, anything else grayscale).
#pragma once

extern const char* const depthVertexShaderText;
extern const char* const depthFragmentShaderText;

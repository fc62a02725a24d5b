// Tessivane: the depth-map visualiser, the module's only plugin class. It
// keeps the eight parameter values the host sets and its own animation clock,
// and on every frame draws the first input texture through the depth program
// (DepthShaders.h) into the host's framebuffer.
//
// Construction and destruction make no GL call: the dispatcher also makes a
// prototype instance, possibly without a context, to answer parameter queries.
// GL objects live from a successful InitGL to ReleaseGL.
#pragma once

#include <cstdint>

#include "ffglex/FullscreenQuad.h"
#include "ffglex/ShaderProgram.h"
#include "framework/Plugin.h"

class Tessivane : public CFFGLPlugin {
 public:
  // Parameter indices, in registration order.
  enum Parameter : uint32_t {
    kColormap = 0,
    kBlend = 1,
    kShowEdges = 2,
    kDepthSweep = 3,
    kLumaPulse = 4,
    kColormapCycle = 5,
    kIsolateBand = 6,
    kSpeed = 7,
  };

  // The descriptor's factory: stores the new instance (null on failure) and
  // answers 0 or 0xFFFFFFFF.
  static uint32_t Create(CFFGLPlugin** instance);

  Tessivane();
  ~Tessivane() override;

  // Builds the program and the quad; reports the outcome to the host log.
  uint32_t InitGL(const Viewport* hostViewport) override;
  // Deletes the program and the quad; safe after a failed InitGL and twice.
  uint32_t ReleaseGL() override;
  // Indices 0..7 store the value unchanged; any other index is refused.
  uint32_t SetParameterFloat(uint32_t index, float value) override;
  // Indices 0..7 answer the stored value; any other index 0.0.
  float GetParameterFloat(uint32_t index) override;
  // One frame: needs a first input texture; advances the clock by one step.
  uint32_t RenderFrame(const FrameRenderRequest* request) override;

 private:
  // The member a parameter index stores into, or null above 7.
  float* ParameterMember(uint32_t index);

  ffglex::ShaderProgram shader;
  ffglex::FullscreenQuad quad;
  float colormap = 5.0f;  // value of the chosen option element; rounded only for the shader
  float blend = 1.0f;
  float showEdges = 0.0f;
  float depthSweep = 0.0f;
  float lumaPulse = 0.0f;
  float colormapCycle = 0.0f;
  float isolateBand = 0.0f;
  float speed = 0.5f;
  // The animation clock in shader time units. Double precision so that the
  // per-frame step keeps its weight however long the instance runs; nothing
  // resets it.
  double accumulatedTime = 0.0;
};

// The physical limit of the effect's job: a program that does nothing but
// read the input texture once and write it out, drawn with the same quad
// layout, the same viewport and the same per-frame binds as the effect. The
// module's frame cost is reported against it.
#pragma once

#include "bench/support/FrameScene.h"
#include "ffglex/FullscreenQuad.h"
#include "ffglex/ShaderProgram.h"

namespace qvx::bench {

class PassThrough {
 public:
  PassThrough();  // builds; exits with a message if the driver refuses
  ~PassThrough();
  PassThrough(const PassThrough&) = delete;
  PassThrough& operator=(const PassThrough&) = delete;

  // Submits one frame into the scene's framebuffer; does not wait.
  void Draw(FrameScene& scene);

 private:
  ffglex::ShaderProgram program;
  ffglex::FullscreenQuad quad;
};

}  // namespace qvx::bench

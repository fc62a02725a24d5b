// Reference programs drawn with the same quad layout, the same viewport and
// the same per-frame binds as the effect:
//  - the pass-through, the physical limit of the effect's job: read the input
//    texture once and write it out. The module's frame cost is reported
//    against it;
//  - five reads: the pass-through plus the four neighbour reads of the edge
//    step and nothing else, the least a renderer that runs every step on
//    every pixel must do for the effect.
#pragma once

#include "bench/support/FrameScene.h"
#include "ffglex/FullscreenQuad.h"
#include "ffglex/ShaderProgram.h"

namespace qvx::bench {

class PassThrough {
 public:
  enum class Reads { kOne, kFive };
  explicit PassThrough(Reads reads = Reads::kOne);  // builds; exits with a message if the driver refuses
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

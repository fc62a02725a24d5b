#include "bench/support/PassThrough.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstdlib>

#include "ffglex/ScopedBindings.h"

namespace qvx::bench {
namespace {

const char* const kVertexText = R"(#version 410 core
layout(location = 0) in vec4 vPosition;
layout(location = 1) in vec2 vUV;
out vec2 uv;
void main() {
  gl_Position = vPosition;
  uv = vUV;
}
)";

// One texture read at the same coordinate the effect reads, alpha forced to 1
// as the effect does.
const char* const kFragmentText = R"(#version 410 core
uniform sampler2D InputTexture;
uniform vec2 MaxUV;
in vec2 uv;
out vec4 fragColor;
void main() {
  fragColor = vec4(texture(InputTexture, uv * MaxUV).rgb, 1.0);
}
)";

// The same read, plus the four reads one texel away that the edge step makes;
// their luminances feed the output so the compiler keeps them.
const char* const kFiveReadsFragmentText = R"(#version 410 core
uniform sampler2D InputTexture;
uniform vec2 MaxUV;
in vec2 uv;
out vec4 fragColor;
float luma(vec2 position) { return dot(texture(InputTexture, position).rgb, vec3(0.299, 0.587, 0.114)); }
void main() {
  vec2 tc = uv * MaxUV;
  vec2 texel = vec2(1.0) / vec2(textureSize(InputTexture, 0));
  float edge = abs(luma(tc + vec2(texel.x, 0.0)) - luma(tc - vec2(texel.x, 0.0))) +
               abs(luma(tc + vec2(0.0, texel.y)) - luma(tc - vec2(0.0, texel.y)));
  fragColor = vec4(texture(InputTexture, tc).rgb + edge, 1.0);
}
)";

}  // namespace

PassThrough::PassThrough(Reads reads) {
  const char* fragmentText = reads == Reads::kOne ? kFragmentText : kFiveReadsFragmentText;
  if (!program.Build(kVertexText, fragmentText) || !quad.Setup(false)) {
    std::fprintf(stderr, "benchmark: the pass-through program does not build\n");
    std::exit(2);
  }
}

PassThrough::~PassThrough() {
  quad.Release();
  program.Release();
}

void PassThrough::Draw(FrameScene& scene) {
  glBindFramebuffer(GL_FRAMEBUFFER, scene.Framebuffer());
  glViewport(0, 0, static_cast<GLsizei>(scene.Width()), static_cast<GLsizei>(scene.Height()));
  ffglex::ScopedProgramBinding programBinding(program.GetProgramName());
  ffglex::ScopedActiveTextureUnit unitBinding(0);
  ffglex::Scoped2DTextureBinding textureBinding(scene.InputTexture());
  program.SetUniformInt("InputTexture", 0);
  program.SetUniformVec2("MaxUV", 1.0f, 1.0f);
  quad.Draw();
}

}  // namespace qvx::bench

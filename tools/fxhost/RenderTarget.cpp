#include "tools/fxhost/RenderTarget.h"

#include "tools/fxhost/Error.h"
#include "tools/fxhost/GLFunctions.h"

namespace fxhost {

RenderTarget::RenderTarget(uint32_t targetWidth, uint32_t targetHeight) : width(targetWidth), height(targetHeight) {
  glGenTextures(1, &colour);
  glBindTexture(GL_TEXTURE_2D, colour);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0, GL_RGBA,
               GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glBindTexture(GL_TEXTURE_2D, 0);
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
  const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (status != GL_FRAMEBUFFER_COMPLETE) {
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &colour);
    throw Error("cannot make a " + std::to_string(width) + "x" + std::to_string(height) + " RGBA8 framebuffer");
  }
  Clear();  // once: the module covers every pixel of the viewport each frame
  CheckGLError("making the framebuffer");
}

RenderTarget::~RenderTarget() {
  glDeleteFramebuffers(1, &framebuffer);
  glDeleteTextures(1, &colour);
}

void RenderTarget::Clear() {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace fxhost

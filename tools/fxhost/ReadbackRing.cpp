#include "tools/fxhost/ReadbackRing.h"

#include "tools/fxhost/Error.h"
#include "tools/fxhost/GLFunctions.h"

namespace fxhost {

ReadbackRing::ReadbackRing(uint32_t frameWidth, uint32_t frameHeight, size_t slotCount)
    : width(frameWidth), height(frameHeight), frameBytes(static_cast<size_t>(frameWidth) * frameHeight * 4),
      slots(slotCount) {
  for (size_t i = 0; i < slots.size(); ++i) {
    glGenBuffers(1, &slots[i].buffer);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, slots[i].buffer);
    glBufferData(GL_PIXEL_PACK_BUFFER, static_cast<GLsizeiptr>(frameBytes), nullptr, GL_STREAM_READ);
    free.push_back(slots.size() - 1 - i);
  }
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  CheckGLError("making the read-back buffers");
}

ReadbackRing::~ReadbackRing() {
  for (Slot& slot : slots) {
    if (slot.fence != nullptr) glDeleteSync(slot.fence);
    glDeleteBuffers(1, &slot.buffer);
  }
}

void ReadbackRing::Start(GLuint framebuffer, uint64_t frameIndex, const Consumer& consume) {
  if (free.empty()) FinishOldest(true, consume);
  const size_t number = free.back();
  free.pop_back();
  Slot& slot = slots[number];
  slot.frameIndex = frameIndex;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, slot.buffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  slot.fence = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
  glFlush();  // the fence must reach the GL, or a later zero-timeout check never sees it signalled
  inFlight.push_back(number);
  CheckGLError("reading the frame back");
}

void ReadbackRing::Collect(bool wait, const Consumer& consume) {
  while (!inFlight.empty() && FinishOldest(wait, consume)) {
  }
}

bool ReadbackRing::FinishOldest(bool wait, const Consumer& consume) {
  Slot& slot = slots[inFlight.front()];
  GLenum state = glClientWaitSync(slot.fence, 0, 0);
  while (wait && state == GL_TIMEOUT_EXPIRED) {
    state = glClientWaitSync(slot.fence, GL_SYNC_FLUSH_COMMANDS_BIT, 1000000000ull);  // 1 s at a time
  }
  if (state == GL_WAIT_FAILED) throw Error("waiting for a frame's read-back failed");
  if (state == GL_TIMEOUT_EXPIRED) return false;

  glDeleteSync(slot.fence);
  slot.fence = nullptr;
  glBindBuffer(GL_PIXEL_PACK_BUFFER, slot.buffer);
  const void* pixels = glMapBufferRange(GL_PIXEL_PACK_BUFFER, 0, static_cast<GLsizeiptr>(frameBytes), GL_MAP_READ_BIT);
  if (pixels == nullptr) {
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    throw Error("cannot map a frame's read-back buffer");
  }
  const uint64_t frameIndex = slot.frameIndex;
  const size_t number = inFlight.front();
  inFlight.pop_front();
  free.push_back(number);
  // The consumer may throw (a failed encoder); the buffer is unmapped either way.
  struct Unmap {
    ~Unmap() {
      glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
      glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    }
  } unmap;
  consume(frameIndex, static_cast<const uint8_t*>(pixels));
  return true;
}

}  // namespace fxhost

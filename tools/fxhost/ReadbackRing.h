// Asynchronous read-back of rendered frames: each frame is copied from the
// framebuffer into one of a few pixel-buffer objects, a fence marks when the
// copy is done, and the pixels are handed over only once it is, oldest first.
// Rendering the next frames goes on while earlier copies complete; the
// render loop blocks only when every buffer of the ring is still in flight.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace fxhost {

class ReadbackRing {
 public:
  // Receives a finished frame; the pixels (RGBA8 rows, bottom row of the
  // framebuffer first, which is the picture's top row) are valid only during the call.
  using Consumer = std::function<void(uint64_t frameIndex, const uint8_t* rgba)>;

  ReadbackRing(uint32_t width, uint32_t height, size_t slotCount);
  ~ReadbackRing();
  ReadbackRing(const ReadbackRing&) = delete;
  ReadbackRing& operator=(const ReadbackRing&) = delete;

  // Starts copying the framebuffer's first colour attachment. When no buffer
  // is free, first waits for the oldest copy and hands it over.
  void Start(GLuint framebuffer, uint64_t frameIndex, const Consumer& consume);
  // Hands over the copies that are done, in order; with wait, all of them.
  void Collect(bool wait, const Consumer& consume);
  size_t InFlight() const { return inFlight.size(); }

 private:
  struct Slot {
    GLuint buffer = 0;
    GLsync fence = nullptr;
    uint64_t frameIndex = 0;
  };
  // Waits (or only checks, without wait) for the oldest copy; true when handed over.
  bool FinishOldest(bool wait, const Consumer& consume);

  uint32_t width;
  uint32_t height;
  size_t frameBytes;
  std::vector<Slot> slots;
  std::deque<size_t> inFlight;  // slot numbers, oldest first
  std::vector<size_t> free;
};

}  // namespace fxhost

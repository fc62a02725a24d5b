// Reusable frame-sized byte buffers, so encoding a long render does not
// allocate (and page in) a fresh frame of memory for every frame.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace fxhost {

class FramePool {
 public:
  using Buffer = std::shared_ptr<std::vector<uint8_t>>;

  explicit FramePool(size_t frameBytes) : bytes(frameBytes) {}

  // A buffer of frameBytes; it returns to the pool when its last holder lets go.
  Buffer Take() {
    std::unique_ptr<std::vector<uint8_t>> buffer;
    {
      std::lock_guard<std::mutex> lock(state->mutex);
      if (!state->free.empty()) {
        buffer = std::move(state->free.back());
        state->free.pop_back();
      }
    }
    if (!buffer) buffer = std::make_unique<std::vector<uint8_t>>(bytes);
    std::weak_ptr<State> home = state;
    return Buffer(buffer.release(), [home](std::vector<uint8_t>* returned) {
      if (auto pool = home.lock()) {
        std::lock_guard<std::mutex> lock(pool->mutex);
        pool->free.emplace_back(returned);
      } else {
        delete returned;
      }
    });
  }

 private:
  struct State {
    std::mutex mutex;
    std::vector<std::unique_ptr<std::vector<uint8_t>>> free;
  };
  size_t bytes;
  std::shared_ptr<State> state = std::make_shared<State>();
};

}  // namespace fxhost

// Reads values front to back out of a fuzz input. Past the end every read
// answers zero, so any byte string decodes to some sequence of requests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace qvx::fuzz {

class FuzzBytes {
 public:
  FuzzBytes(const uint8_t* bytes, size_t length) : data(bytes), size(length) {}

  bool Empty() const { return position >= size; }

  uint8_t Byte() {
    uint8_t value = 0;
    Fill(&value, sizeof value);
    return value;
  }
  uint32_t U32() {
    uint32_t value = 0;
    Fill(&value, sizeof value);
    return value;
  }
  uint64_t U64() {
    uint64_t value = 0;
    Fill(&value, sizeof value);
    return value;
  }

  // Copies up to `count` bytes into `out`, zero-filling what the input lacks.
  void Fill(void* out, size_t count) {
    const size_t available = position < size ? size - position : 0;
    const size_t taken = count < available ? count : available;
    if (taken > 0) std::memcpy(out, data + position, taken);
    std::memset(static_cast<uint8_t*>(out) + taken, 0, count - taken);
    position += taken;
  }

 private:
  const uint8_t* data;
  size_t size;
  size_t position = 0;
};

}  // namespace qvx::fuzz

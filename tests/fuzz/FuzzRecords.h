// Turns fuzz bytes into the input of one plugMain request the way a careless
// but not malicious host would: every record is a heap block of exactly its
// size (so the sanitizer sees any read past it), every pointer inside a record
// is null or points at memory of the promised size, and everything else
// (indices, sizes, floats, GL names) is whatever the bytes say.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "tests/fuzz/FuzzBytes.h"

namespace qvx::fuzz {

// The host-side GL objects a frame request can name.
struct HostGLObjects {
  GLuint texture = 0;      // a complete 16 x 16 RGBA8 texture
  GLuint framebuffer = 0;  // complete, one 16 x 16 colour attachment
  uint32_t thumbnailWidth = 0;
  uint32_t thumbnailHeight = 0;
};

// Heap blocks that live for one request only: the module must not keep a
// pointer into a host record past the call.
class RecordArena {
 public:
  void* Allocate(size_t bytes);
  void Clear() { blocks.clear(); }

 private:
  std::vector<std::unique_ptr<uint8_t[]>> blocks;
};

// What a frame request (code 17) named, for the checks after the call.
struct FrameFacts {
  bool firstInputPresent = false;
  bool everythingValid = false;  // real texture, real framebuffer, sensible sizes
  bool framebufferExists = false;
  GLuint framebuffer = 0;
  bool viewportPredictable = false;
  GLint viewportWidth = 0;
  GLint viewportHeight = 0;
};

struct BuiltInput {
  uint64_t input = 0;
  bool nullRecord = false;
  FrameFacts frame;
};

// True for the codes whose input is the address of a host record.
bool TakesRecord(uint32_t code);

// Decodes the input of `code` from the bytes. Record codes get a null input
// when the bytes say so, otherwise a record in the arena.
BuiltInput BuildInput(uint32_t code, FuzzBytes& bytes, RecordArena& arena, const HostGLObjects& gl);

}  // namespace qvx::fuzz

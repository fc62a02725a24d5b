// The host side of the plugMain fuzz target. It owns one OpenGL context for
// the process (EGL on Mesa's surfaceless platform: no X server), a texture
// and a framebuffer that frame requests can name, and the handles the module
// has issued. Each input is decoded into a sequence of requests:
//
//   op byte      < 0xF0: function code (op % 64, so unhandled codes 52..63 too)
//                0xF0..0xF7: a 32-bit function code follows
//                0xF8..0xFB: install a log callback; 0xFC..0xFF: remove it
//   handle byte  % 8: 0 null; 1-4 a live handle (next byte picks which);
//                5 a destroyed handle; 6 eight raw bytes; 7 an address that
//                was never issued
//   input        per code, see FuzzRecords.h
//
// After every request it checks what a host relies on and aborts (a finding)
// when the module broke it: the failure answer for unhandled codes, null
// records and handles that are not live; texts that end; the GL bindings the
// module promises to leave. At the end of an input every live instance is
// destroyed, so inputs do not leak into each other. With QVX_FUZZ_TRACE set
// in the environment every request is printed with its answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/FuzzRecords.h"

namespace qvx::fuzz {

class FuzzHost {
 public:
  // Makes the context and the host's GL objects; exits the process with a
  // message when no 4.1 core context can be made.
  FuzzHost();
  void Run(const uint8_t* data, size_t size);

 private:
  void* PickHandle(FuzzBytes& bytes);
  void Request(uint32_t code, FuzzBytes& bytes);
  void CheckAnswer(uint32_t code, const BuiltInput& built, void* handle, bool handleLive, uint64_t answer);
  void CheckFrameState(const FrameFacts& facts, uint64_t answer, GLint framebufferBefore);
  void DestroyEverything();

  HostGLObjects gl;
  RecordArena arena;
  std::vector<void*> live;
  std::vector<void*> destroyed;
  uint8_t neverIssued[64] = {};
  bool trace;  // QVX_FUZZ_TRACE set: every request and its answer on stderr
};

}  // namespace qvx::fuzz

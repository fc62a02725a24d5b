// What every in-process benchmark needs from OpenGL: a 4.1 core context made
// the way a host makes one, the GL entry points, and a description of the
// driver for the results table.
//
// QVX_BENCH_CONTEXT picks the context: "glx" (the default: GLX on $DISPLAY,
// so the benchmarks run under the same virtual X server as the tests) or
// "egl" (fxhost's headless EGL context: a hardware device first, for machines
// with a GPU and no X server).
#pragma once

#include <memory>
#include <string>

namespace qvx::bench {

class BenchGL {
 public:
  // Makes the context current and loads the entry points; on failure prints
  // why and exits, since no figure could be measured without them.
  BenchGL();
  ~BenchGL();
  BenchGL(const BenchGL&) = delete;
  BenchGL& operator=(const BenchGL&) = delete;

  // "GL_RENDERER / GL_VERSION", e.g. "llvmpipe (LLVM 15.0.6, 256 bits) / 4.5 (Core Profile) Mesa 22.3.6".
  std::string DriverText() const;
  // How the context was made, e.g. "GLX on :99".
  const std::string& ContextText() const { return how; }

 private:
  struct Contexts;
  std::unique_ptr<Contexts> contexts;
  std::string how;
};

// Adds the driver, the context and the CPU model to Google Benchmark's
// context block, so every report says what it was measured on.
void DescribeMachine(const BenchGL& gl);

}  // namespace qvx::bench

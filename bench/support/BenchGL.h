// What every in-process benchmark needs from OpenGL: a 4.1 core context made
// the way a host makes one (GLX on $DISPLAY, so the benchmarks run under the
// same virtual X server as the tests), the GL entry points, and a description
// of the driver for the results table.
#pragma once

#include <string>

#include "tests/support/GLContext.h"

namespace qvx::bench {

class BenchGL {
 public:
  // Makes the context current and loads the entry points; on failure prints
  // why and exits, since no figure could be measured without them.
  BenchGL();

  // "GL_RENDERER / GL_VERSION", e.g. "llvmpipe (LLVM 15.0.6, 256 bits) / 4.5 (Core Profile) Mesa 22.3.6".
  std::string DriverText() const;

 private:
  qvx::test::GlxContext context;
};

// Adds the driver and the CPU model to Google Benchmark's context block, so
// every report says what it was measured on.
void DescribeMachine(const BenchGL& gl);

}  // namespace qvx::bench

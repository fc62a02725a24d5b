#include "bench/support/BenchGL.h"

#include <GL/glew.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace qvx::bench {
namespace {

std::string GLText(GLenum name) {
  const GLubyte* text = glGetString(name);
  return text != nullptr ? reinterpret_cast<const char*>(text) : "?";
}

std::string CpuModel() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("model name", 0) == 0) {
      const size_t colon = line.find(':');
      if (colon != std::string::npos) return line.substr(colon + 2);
    }
  }
  return "?";
}

}  // namespace

BenchGL::BenchGL() {
  if (!context.Valid()) {
    std::fprintf(stderr, "benchmark: %s\n", context.Error().c_str());
    std::exit(2);
  }
  if (!qvx::test::LoadGLForTests()) {
    std::fprintf(stderr, "benchmark: cannot load the OpenGL entry points\n");
    std::exit(2);
  }
}

std::string BenchGL::DriverText() const { return GLText(GL_RENDERER) + " / " + GLText(GL_VERSION); }

void DescribeMachine(const BenchGL& gl) {
  benchmark::AddCustomContext("gl_driver", gl.DriverText());
  benchmark::AddCustomContext("cpu_model", CpuModel());
}

}  // namespace qvx::bench

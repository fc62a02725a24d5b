#include "bench/support/BenchGL.h"

#include <GL/glew.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>

#include "tests/support/GLContext.h"
#ifdef QVX_BENCH_HAS_EGL
#include "tools/fxhost/GLContext.h"
#endif

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

[[noreturn]] void GiveUp(const std::string& why) {
  std::fprintf(stderr, "benchmark: %s\n", why.c_str());
  std::exit(2);
}

}  // namespace

struct BenchGL::Contexts {
  std::unique_ptr<qvx::test::GlxContext> glx;
#ifdef QVX_BENCH_HAS_EGL
  std::unique_ptr<fxhost::GLContext> egl;
#endif
};

BenchGL::BenchGL() : contexts(std::make_unique<Contexts>()) {
  const char* chosen = std::getenv("QVX_BENCH_CONTEXT");
  const std::string kind = chosen != nullptr ? chosen : "glx";
  if (kind == "glx") {
    contexts->glx = std::make_unique<qvx::test::GlxContext>();
    if (!contexts->glx->Valid()) GiveUp(contexts->glx->Error());
    const char* display = std::getenv("DISPLAY");
    how = std::string("GLX on ") + (display != nullptr ? display : "?");
  } else if (kind == "egl") {
#ifdef QVX_BENCH_HAS_EGL
    try {
      contexts->egl = fxhost::CreateGLContext("egl");
    } catch (const std::exception& error) {
      GiveUp(error.what());
    }
    how = contexts->egl->Describe();
#else
    GiveUp("this build has no EGL context (fxhost is not built)");
#endif
  } else {
    GiveUp("QVX_BENCH_CONTEXT must be glx or egl, not '" + kind + "'");
  }
  if (!qvx::test::LoadGLForTests()) GiveUp("cannot load the OpenGL entry points");
}

BenchGL::~BenchGL() = default;

std::string BenchGL::DriverText() const { return GLText(GL_RENDERER) + " / " + GLText(GL_VERSION); }

void DescribeMachine(const BenchGL& gl) {
  benchmark::AddCustomContext("gl_driver", gl.DriverText());
  benchmark::AddCustomContext("gl_context", gl.ContextText());
  benchmark::AddCustomContext("cpu_model", CpuModel());
}

}  // namespace qvx::bench

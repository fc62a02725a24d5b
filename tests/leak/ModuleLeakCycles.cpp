// Create-render-destroy cycles of a module, loaded by path and driven only
// through plugMain, as a host would over a long show. It checks the answers,
// that every GL object an instance made is gone after it is destroyed, and
// (outside sanitizer builds) that the heap memory the module's own code holds
// is back where it was (ModuleAllocations.h). Memory the module loses is
// found by running it under LeakSanitizer (the sanitizer build's test) or
// valgrind (scripts/leak-check).
//
//   module_leak_cycles MODULE [CYCLES]   (default 200 cycles)
#include <GL/glew.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "host/FunctionCodes.h"
#include "host/HostRecords.h"
#include "tools/fxhost/GLContext.h"
#include "tools/fxhost/GLFunctions.h"
#include "tools/fxhost/HostLog.h"
#include "tools/fxhost/ModuleLoader.h"
#include "tools/fxhost/RenderTarget.h"
#include "tests/leak/ModuleAllocations.h"
#include "tools/fxhost/ValidateGLState.h"

namespace {

constexpr uint32_t kSide = 64;
constexpr GLuint kCensusNames = 8192;

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "module_leak_cycles: %s\n", why.c_str());
  std::exit(1);
}

GLuint MakeInputTexture() {
  std::vector<uint8_t> texels(kSide * kSide * 4, 0x80);
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kSide, kSide, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glBindTexture(GL_TEXTURE_2D, 0);
  return texture;
}

// One instance's life: created, every parameter set, two frames, destroyed.
// Answers the heap the module's code held while the instance was alive.
size_t Cycle(const fxhost::ModuleLoader& module, TextureDescriptor& input, GLuint framebuffer, int cycle) {
  Viewport viewport{0, 0, kSide, kSide};
  const uint64_t made = module.CallWith(qvx::kCreateInstance, &viewport);
  if (made == 0 || static_cast<uint32_t>(made) == qvx::kFailure) Fail("code 18 failed in cycle " + std::to_string(cycle));
  void* instance = reinterpret_cast<void*>(static_cast<uintptr_t>(made));
  const auto count = static_cast<uint32_t>(module.Call(qvx::kGetParameterCount));
  for (uint32_t index = 0; index < count && count != qvx::kFailure; ++index) {
    const auto type = static_cast<int32_t>(module.Call(qvx::kGetParameterType, index));
    ParameterAssignment assignment{};
    assignment.parameterIndex = index;
    if (qvx::IsTextValued(type)) {
      assignment.value.textValue = "leak check";
    } else {
      assignment.value.floatValue = static_cast<float>((cycle + index) % 5) * 0.25f;
    }
    module.CallWith(qvx::kSetParameter, &assignment, instance);
  }
  const size_t heldWhileAlive = qvx::leak::ModuleBytesAlive();
  TextureDescriptor* inputs[1] = {&input};
  FrameRenderRequest request{1, 0, inputs, framebuffer, 0};
  for (int frame = 0; frame < 2; ++frame)
    if (module.CallWith(qvx::kRenderFrame, &request, instance) != qvx::kSuccess)
      Fail("code 17 failed in cycle " + std::to_string(cycle));
  // A host shows each frame before the next, which waits for the GL; without
  // it the software driver keeps every destroyed program's compiled code until
  // the queued frames are done, and the heap grows for reasons of its own.
  glFinish();
  if (module.Call(qvx::kDestroyInstance, 0, instance) != qvx::kSuccess)
    Fail("code 19 failed in cycle " + std::to_string(cycle));
  return heldWhileAlive;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: module_leak_cycles MODULE [CYCLES]\n");
    return 2;
  }
  const int cycles = argc == 3 ? std::atoi(argv[2]) : 200;
  if (cycles < 1) Fail("the number of cycles must be at least 1");
  try {
    fxhost::HostLog::SetEcho(false);
    auto module = std::make_unique<fxhost::ModuleLoader>(argv[1]);
    if (void* library = dlopen(argv[1], RTLD_NOW | RTLD_NOLOAD)) {
      qvx::leak::TrackModule(dlsym(library, "plugMain"));
      dlclose(library);
    }
    auto context = fxhost::CreateGLContext("egl");
    fxhost::LoadGLFunctions();
    const GLuint texture = MakeInputTexture();
    {
      fxhost::RenderTarget target(kSide, kSide);
      TextureDescriptor input{kSide, kSide, kSide, kSide, texture};

      // The first cycle may set up what a module keeps for its whole life.
      const size_t heldByAnInstance = Cycle(*module, input, target.Framebuffer(), 0);
      const fxhost::GLObjectCensus before = fxhost::GLObjectCensus::Take(kCensusNames);
      const size_t bytesBefore = qvx::leak::ModuleBytesAlive();
      const size_t blocksBefore = qvx::leak::ModuleBlocksAlive();
      for (int cycle = 1; cycle <= cycles; ++cycle) Cycle(*module, input, target.Framebuffer(), cycle);
      const size_t bytesAfter = qvx::leak::ModuleBytesAlive();
      const size_t blocksAfter = qvx::leak::ModuleBlocksAlive();
      const std::string more = fxhost::GLObjectCensus::Take(kCensusNames).MoreThan(before);
      std::printf("module_leak_cycles: %d create-render-destroy cycles of %s\n", cycles, argv[1]);
      std::printf("module_leak_cycles: GL objects left behind: %s\n", more.empty() ? "none" : more.c_str());
      if (!qvx::leak::Tracking())
        std::printf("module_leak_cycles: the module's own allocations are not counted here (another allocator "
                    "replaces operator new)\n");
      else
        std::printf("module_leak_cycles: heap held by the module's code: %zu bytes in %zu blocks before the "
                    "cycles, %zu bytes in %zu blocks after (%zu bytes while an instance lives)\n",
                    bytesBefore, blocksBefore, bytesAfter, blocksAfter, heldByAnInstance);
      if (!more.empty()) Fail("instances left GL objects behind: " + more);
      if (bytesAfter > bytesBefore || blocksAfter > blocksBefore)
        Fail("the module's code holds " + std::to_string(bytesAfter - bytesBefore) + " bytes more after the cycles");
    }
    glDeleteTextures(1, &texture);
    context.reset();
    module.reset();  // deinitialised and unloaded: whatever it still holds is lost now
  } catch (const std::exception& error) {
    Fail(error.what());
  }
  return 0;
}

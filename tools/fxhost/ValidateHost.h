// The host side of one validation group, inside its child process: the
// module loaded through its two exports, fxhost's own GL context, an input
// texture and two framebuffers a frame request can name, and calls into the
// module that check, after each one, the GL bindings a module promises to
// leave (ValidateGLState.h).
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "host/HostRecords.h"
#include "tools/fxhost/GLContext.h"
#include "tools/fxhost/ModuleLoader.h"
#include "tools/fxhost/ValidateReport.h"

namespace fxhost {

struct ValidateSettings {
  std::string module;
  int strictness = 5;  // 1..10: repetitions grow with it
  uint64_t seed = 1;
  std::string gl;  // context kind; empty: the default
};

class ValidateHost {
 public:
  // Loads the module (code 34 included) and, when `withGL`, makes the
  // context and the host's GL objects. Throws Error when either fails.
  ValidateHost(const ValidateSettings& settings, const std::string& group, ValidateReport& report, bool withGL);
  ~ValidateHost();
  ValidateHost(const ValidateHost&) = delete;
  ValidateHost& operator=(const ValidateHost&) = delete;

  const ValidateSettings& Settings() const { return settings; }
  ValidateReport& Report() { return report; }
  std::mt19937_64& Random() { return random; }
  const ModuleLoader& Module() const { return *module; }

  // A plain call, announced as a step of the check; with GL, the bindings
  // every call must leave are checked after it.
  uint64_t Call(Check& check, const std::string& what, uint32_t code, uint64_t input = 0, void* instance = nullptr);
  template <typename Record>
  uint64_t CallWith(Check& check, const std::string& what, uint32_t code, Record* record, void* instance = nullptr) {
    return Call(check, what, code, static_cast<uint64_t>(reinterpret_cast<uintptr_t>(record)), instance);
  }

  // Code 18 with a 64 x 64 viewport; null (and a failed expectation) when refused.
  void* Create(Check& check, const std::string& what);
  // Code 19; expects 0.
  void Destroy(Check& check, const std::string& what, void* instance);
  // Code 17 with the host's input into framebuffer `target` (0 or 1); on
  // success the frame's bindings and the absence of GL errors are checked.
  uint64_t Render(Check& check, const std::string& what, void* instance, int target = 0);
  // Code 17 with a request the host builds itself; checks as Render.
  uint64_t RenderRequest(Check& check, const std::string& what, void* instance, FrameRenderRequest* request);

  GLuint Framebuffer(int target) const { return framebuffers[target]; }
  TextureDescriptor* Input() { return &input; }
  // Fills the framebuffer with a colour no effect is likely to draw, and reads it back.
  void FillFramebuffer(int target);
  std::vector<uint8_t> ReadFramebuffer(int target);

  // How many requests the group has made through Call and RenderRequest.
  size_t Requests() const { return requests; }

  // What the module says about its parameters (codes 4 and 15), asked at load.
  uint32_t ParameterCount() const { return parameterCount; }
  bool TextValued(uint32_t index) const;

 private:
  void MakeHostGLObjects();

  ValidateSettings settings;
  ValidateReport& report;
  std::mt19937_64 random;
  std::unique_ptr<ModuleLoader> module;
  std::unique_ptr<GLContext> context;
  GLuint inputTexture = 0;
  GLuint colours[2] = {0, 0};
  GLuint framebuffers[2] = {0, 0};
  TextureDescriptor input{};
  uint32_t parameterCount = 0;
  std::vector<int32_t> parameterTypes;
  size_t requests = 0;
};

// Side of the host's framebuffers and of the input texture's allocation.
constexpr uint32_t kHostSide = 64;

}  // namespace fxhost

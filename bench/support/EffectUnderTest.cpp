#include "bench/support/EffectUnderTest.h"

#include <cstdio>
#include <cstdlib>

#include "host/Exports.h"
#include "host/FunctionCodes.h"

namespace qvx::bench {

//                                          map   blend edges sweep pulse cycle band  speed
const EffectSettings kDefaultSettings = {"defaults", {5.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f}};
const EffectSettings kAllEffectsSettings = {"all_on", {4.0f, 0.8f, 1.0f, 0.6f, 0.5f, 0.4f, 0.7f, 0.5f}};

namespace {

uint64_t Address(const void* record) { return reinterpret_cast<uintptr_t>(record); }

}  // namespace

EffectUnderTest::EffectUnderTest(uint32_t viewportWidth, uint32_t viewportHeight) {
  plugMain(kInitialise, 0, nullptr);
  Viewport viewport{0, 0, viewportWidth, viewportHeight};
  const uint64_t answer = plugMain(kCreateInstance, Address(&viewport), nullptr);
  if (answer == kFailure || answer == 0) {
    std::fprintf(stderr, "benchmark: code 18 failed\n");
    std::exit(2);
  }
  handle = reinterpret_cast<void*>(static_cast<uintptr_t>(answer));
}

EffectUnderTest::~EffectUnderTest() { plugMain(kDestroyInstance, 0, handle); }

void EffectUnderTest::Apply(const EffectSettings& settings) {
  for (uint32_t index = 0; index < 8; ++index) {
    ParameterAssignment assignment{};
    assignment.parameterIndex = index;
    assignment.value.floatValue = settings.values[index];
    plugMain(kSetParameter, Address(&assignment), handle);
  }
}

uint64_t EffectUnderTest::Render(FrameRenderRequest* request) {
  return plugMain(kRenderFrame, Address(request), handle);
}

}  // namespace qvx::bench

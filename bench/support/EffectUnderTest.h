// The module's effect, driven the way a host drives it: every request goes
// through plugMain (the effect's sources are linked into the benchmark, so
// the dispatcher and the instance are the module's own code).
#pragma once

#include <cstdint>

#include "host/HostRecords.h"

namespace qvx::bench {

// Values for the eight parameters, in index order.
struct EffectSettings {
  const char* name;
  float values[8];
};

// The parameter defaults: grayscale, every animation off.
extern const EffectSettings kDefaultSettings;
// Everything on: edges, sweep, pulse, cycling, isolated band and a colour map.
extern const EffectSettings kAllEffectsSettings;

class EffectUnderTest {
 public:
  // Code 34, then code 18 with the given viewport; exits if creation fails.
  EffectUnderTest(uint32_t viewportWidth, uint32_t viewportHeight);
  ~EffectUnderTest();  // code 19
  EffectUnderTest(const EffectUnderTest&) = delete;
  EffectUnderTest& operator=(const EffectUnderTest&) = delete;

  void Apply(const EffectSettings& settings);  // code 8, once per parameter
  // Code 17; answers plugMain's result.
  uint64_t Render(FrameRenderRequest* request);
  void* Handle() const { return handle; }

 private:
  void* handle = nullptr;
};

}  // namespace qvx::bench

// The prototype instance: made through the descriptor's factory on the first
// request that needs it, kept until code 2. It answers the plugin-wide
// parameter and capability queries; it never gets defaults, InitGL or a
// selfPlugin, and making it needs no GL context.
#pragma once

#include <cstdint>

class CFFGLPlugin;

namespace qvx {

// Runs the initialisation hook (every time), then makes the prototype if there
// is none. Answers 0, 0xFFFFFFFF, or the hook's own non-zero answer.
uint32_t EnsurePrototype();

// The prototype, made first when there is none; null when it cannot be made.
CFFGLPlugin* PrototypeOrNull();

// Code 2: destroys the prototype (if any) and runs the clean-up hook.
uint32_t Deinitialise();

}  // namespace qvx

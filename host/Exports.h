// The module's two exported entry points. Everything else in the module is
// hidden; these are plain, unmangled C symbols.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define QVX_EXPORT __declspec(dllexport)
#else
#define QVX_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

// The host's log function: receives one NUL-terminated text; its result is ignored.
typedef void (*HostLogCallback)(const char* text);

// One entry for every request. functionCode names the request; input is ignored,
// a 32-bit value in its low half, or the address of a host record; instance is
// a handle that code 18 answered, or null. The answer is a result code, a number
// or float bits in the low 32 bits, or an address filling all 64 bits.
// Never throws. Call from one thread at a time.
QVX_EXPORT uint64_t plugMain(uint32_t functionCode, uint64_t input, void* instance);

// Installs (or, with null, removes) the host's log function. Any time, any order.
QVX_EXPORT void SetLogCallback(HostLogCallback callback);

}  // extern "C"

// Creation and destruction of the instances the host renders with (codes 18
// and 19), the once-per-load OpenGL loading, and the set of live handles.
#pragma once

#include <cstdint>

#include "host/HostRecords.h"

class CFFGLPlugin;

namespace qvx {

// Code 18, with the host's GL context current: factory, defaults from the
// prototype's registry, GL loading (once per load; a failure is final),
// InitGL. Answers the new instance's address, or 0xFFFFFFFF with nothing left behind.
uint64_t CreateInstance(const Viewport* viewport);

// Code 19: disconnects a connected instance, ReleaseGL, destruction.
uint32_t DestroyInstance(CFFGLPlugin* instance);

// The live instance a handle names, or null for null, stale or foreign handles.
CFFGLPlugin* FindLiveInstance(const void* handle);

}  // namespace qvx

#include "bench/support/AllocationCounter.h"

#include <dlfcn.h>
#include <execinfo.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstring>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
}

namespace {

// Relaxed: the driver's worker threads allocate too, and only the totals of a
// quiet interval are read.
std::atomic<uint64_t> allocations{0};
std::atomic<uint64_t> outsideDriver{0};
std::atomic<bool> attributing{false};
// Set while this thread walks its stack: the walk may allocate itself.
thread_local bool walking = false;

bool IsGLLibrary(const char* path) {
  static const char* const kNames[] = {"/dri/", "libGL", "libEGL", "libglapi", "libLLVM", "libgallium"};
  for (const char* name : kNames)
    if (std::strstr(path, name) != nullptr) return true;
  return false;
}

bool CalledFromGL() {
  void* frames[64];
  const int depth = backtrace(frames, 64);
  for (int i = 2; i < depth; ++i) {  // 0 and 1 are this counter
    Dl_info info;
    if (dladdr(frames[i], &info) != 0 && info.dli_fname != nullptr && IsGLLibrary(info.dli_fname)) return true;
  }
  return false;
}

void Count() {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (!attributing.load(std::memory_order_relaxed) || walking) return;
  walking = true;
  if (!CalledFromGL()) outsideDriver.fetch_add(1, std::memory_order_relaxed);
  walking = false;
}

}  // namespace

namespace qvx::bench {

AllocationCounts HeapAllocations() {
  return {allocations.load(std::memory_order_relaxed), outsideDriver.load(std::memory_order_relaxed)};
}

void SetAllocationAttribution(bool on) {
  if (on) {
    // The first stack walk loads the unwinder, which allocates: do it now.
    walking = true;
    void* frames[4];
    backtrace(frames, 4);
    walking = false;
  }
  attributing.store(on, std::memory_order_relaxed);
}

}  // namespace qvx::bench

// Default visibility: these must interpose the C library's definitions for
// every shared object in the process, the GL driver included.
#define QVX_INTERPOSE extern "C" __attribute__((visibility("default")))

QVX_INTERPOSE void* malloc(size_t size) {
  Count();
  return __libc_malloc(size);
}

QVX_INTERPOSE void* calloc(size_t count, size_t size) {
  Count();
  return __libc_calloc(count, size);
}

QVX_INTERPOSE void* realloc(void* pointer, size_t size) {
  Count();
  return __libc_realloc(pointer, size);
}

QVX_INTERPOSE void* memalign(size_t alignment, size_t size) {
  Count();
  return __libc_memalign(alignment, size);
}

QVX_INTERPOSE void* aligned_alloc(size_t alignment, size_t size) {
  Count();
  return __libc_memalign(alignment, size);
}

QVX_INTERPOSE int posix_memalign(void** result, size_t alignment, size_t size) {
  if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) return EINVAL;
  Count();
  void* pointer = __libc_memalign(alignment, size);
  if (pointer == nullptr) return ENOMEM;
  *result = pointer;
  return 0;
}

// Counts every heap allocation the process makes (malloc, calloc, realloc,
// posix_memalign, aligned_alloc and memalign, which operator new and the GL
// driver use as well), by interposing those functions in the benchmark
// executable and forwarding to the C library's own allocator. Linked only
// into the benchmark that reports allocations per frame.
//
// With attribution on, each allocation's call stack is walked and the
// allocation is counted as the driver's when any frame lies in the GL
// libraries (Mesa's driver, libGL, libGLX, libEGL, LLVM), otherwise as the
// caller's own (the module and the benchmark are linked into the executable).
#pragma once

#include <cstdint>

namespace qvx::bench {

struct AllocationCounts {
  uint64_t total = 0;
  uint64_t outsideDriver = 0;  // counted only while attribution is on
};

AllocationCounts HeapAllocations();
// Slow (a stack walk per allocation): turn on only around what is measured.
void SetAllocationAttribution(bool on);

}  // namespace qvx::bench

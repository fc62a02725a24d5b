// Counts the heap memory that a module's own code has allocated and not yet
// freed, so a leak that stays reachable (which neither LeakSanitizer nor
// valgrind calls lost) is seen too. The program replaces the global
// operator new and delete; an allocation counts as the module's when the
// call to operator new comes from the module's machine code. Allocations the
// GL driver makes on the module's behalf are the driver's and do not count.
//
// Not built under AddressSanitizer, which owns operator new itself; valgrind
// replaces it at run time. Either way the count is off and says so.
#pragma once

#include <cstddef>

namespace qvx::leak {

// Starts attributing allocations to the loaded module whose `plugMain` this is.
void TrackModule(const void* plugMain);

// Bytes and blocks the module's code holds right now.
size_t ModuleBytesAlive();
size_t ModuleBlocksAlive();

// False when the allocation functions are not this file's: in sanitizer
// builds, and under valgrind, which replaces them itself.
bool Tracking();

}  // namespace qvx::leak

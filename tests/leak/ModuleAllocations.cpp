#include "tests/leak/ModuleAllocations.h"

#if !defined(__SANITIZE_ADDRESS__)

#include <dlfcn.h>
#include <link.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace qvx::leak {
namespace {

uintptr_t codeStart = 0;
uintptr_t codeEnd = 0;

// An open-addressing table of the module's live blocks. It never allocates:
// it lives inside operator new.
constexpr size_t kSlots = size_t{1} << 16;
struct Slot {
  void* block;
  size_t size;
};
Slot slots[kSlots];
size_t bytesAlive = 0;
size_t blocksAlive = 0;
size_t allocationsSeen = 0;  // stays 0 where another allocator won (valgrind replaces operator new too)

size_t SlotOf(void* block) { return (reinterpret_cast<uintptr_t>(block) >> 4) * 0x9E3779B97F4A7C15ull % kSlots; }

void Remember(void* block, size_t size) {
  for (size_t probe = SlotOf(block);; probe = (probe + 1) % kSlots) {
    if (slots[probe].block == nullptr) {
      slots[probe] = {block, size};
      bytesAlive += size;
      ++blocksAlive;
      return;
    }
  }
}

void Forget(void* block) {
  for (size_t probe = SlotOf(block); slots[probe].block != nullptr; probe = (probe + 1) % kSlots) {
    if (slots[probe].block != block) continue;
    bytesAlive -= slots[probe].size;
    --blocksAlive;
    // Re-insert the rest of the cluster so that lookups past this slot still work.
    slots[probe] = {nullptr, 0};
    for (size_t next = (probe + 1) % kSlots; slots[next].block != nullptr; next = (next + 1) % kSlots) {
      const Slot moved = slots[next];
      slots[next] = {nullptr, 0};
      bytesAlive -= moved.size;
      --blocksAlive;
      Remember(moved.block, moved.size);
    }
    return;
  }
}

bool FromModule(const void* caller) {
  const auto address = reinterpret_cast<uintptr_t>(caller);
  return address >= codeStart && address < codeEnd;
}

void* Allocate(size_t size, const void* caller) {
  ++allocationsSeen;
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  if (FromModule(caller)) Remember(block, size);
  return block;
}

void Release(void* block) {
  if (block == nullptr) return;
  if (blocksAlive > 0) Forget(block);
  std::free(block);
}

}  // namespace

void TrackModule(const void* plugMain) {
  Dl_info info{};
  if (dladdr(plugMain, &info) == 0) return;
  struct Search {
    uintptr_t base;
    uintptr_t start;
    uintptr_t end;
  } search{reinterpret_cast<uintptr_t>(info.dli_fbase), 0, 0};
  dl_iterate_phdr(
      [](dl_phdr_info* object, size_t, void* data) {
        auto* found = static_cast<Search*>(data);
        if (object->dlpi_addr != found->base) return 0;
        for (int segment = 0; segment < object->dlpi_phnum; ++segment) {
          const ElfW(Phdr)& header = object->dlpi_phdr[segment];
          if (header.p_type != PT_LOAD || (header.p_flags & PF_X) == 0) continue;
          found->start = object->dlpi_addr + header.p_vaddr;
          found->end = found->start + header.p_memsz;
        }
        return 1;
      },
      &search);
  codeStart = search.start;
  codeEnd = search.end;
}

size_t ModuleBytesAlive() { return bytesAlive; }
size_t ModuleBlocksAlive() { return blocksAlive; }
bool Tracking() { return allocationsSeen > 0; }

}  // namespace qvx::leak

// The replaced allocation functions: each records who called it.
void* operator new(size_t size) { return qvx::leak::Allocate(size, __builtin_return_address(0)); }
void* operator new[](size_t size) { return qvx::leak::Allocate(size, __builtin_return_address(0)); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return qvx::leak::Allocate(size, __builtin_return_address(0));
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  try {
    return qvx::leak::Allocate(size, __builtin_return_address(0));
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* block) noexcept { qvx::leak::Release(block); }
void operator delete[](void* block) noexcept { qvx::leak::Release(block); }
void operator delete(void* block, size_t) noexcept { qvx::leak::Release(block); }
void operator delete[](void* block, size_t) noexcept { qvx::leak::Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { qvx::leak::Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { qvx::leak::Release(block); }

#else

namespace qvx::leak {
void TrackModule(const void*) {}
size_t ModuleBytesAlive() { return 0; }
size_t ModuleBlocksAlive() { return 0; }
bool Tracking() { return false; }
}  // namespace qvx::leak

#endif

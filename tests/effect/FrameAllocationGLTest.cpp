// A frame allocates nothing. This program replaces the global allocation
// functions with counting ones and counts around plugMain's code 17. The
// driver may allocate while it compiles a program variant on first use, so
// frames are counted after a warm-up with the same settings. operator new is
// counted from any caller (module code reaches it directly or through the
// C++ library); malloc, calloc and realloc only when called from this
// program's own code, which holds the module's code but not the driver's.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdlib>
#include <memory>
#include <new>

#include "tests/effect/EffectHarness.h"
#include "tests/support/GLContext.h"

#if defined(__SANITIZE_ADDRESS__)
#define QVX_COUNT_MALLOC 0  // the sanitizer owns malloc
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define QVX_COUNT_MALLOC 0
#else
#define QVX_COUNT_MALLOC 1
#endif
#else
#define QVX_COUNT_MALLOC 1
#endif

namespace {
void* volatile sink = nullptr;  // keeps test allocations from being optimised away
bool counting = false;
size_t newCount = 0;
size_t mallocCount = 0;
}  // namespace

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);
extern char __executable_start;
extern char etext;
}

namespace {

void* CountedNew(size_t size) {
  if (counting) ++newCount;
  void* pointer = __libc_malloc(size == 0 ? 1 : size);
  if (pointer == nullptr) throw std::bad_alloc();
  return pointer;
}

void* CountedAlignedNew(size_t size, std::align_val_t alignment) {
  if (counting) ++newCount;
  void* pointer = __libc_memalign(static_cast<size_t>(alignment), size == 0 ? 1 : size);
  if (pointer == nullptr) throw std::bad_alloc();
  return pointer;
}

#if QVX_COUNT_MALLOC
bool FromThisProgram(const void* caller) {
  return caller >= static_cast<const void*>(&__executable_start) && caller < static_cast<const void*>(&etext);
}
#endif

}  // namespace

void* operator new(size_t size) { return CountedNew(size); }
void* operator new[](size_t size) { return CountedNew(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return CountedNew(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void* operator new(size_t size, std::align_val_t alignment) { return CountedAlignedNew(size, alignment); }
void* operator new[](size_t size, std::align_val_t alignment) { return CountedAlignedNew(size, alignment); }
void operator delete(void* pointer) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer) noexcept { __libc_free(pointer); }
void operator delete(void* pointer, size_t) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer, size_t) noexcept { __libc_free(pointer); }
void operator delete(void* pointer, std::align_val_t) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer, std::align_val_t) noexcept { __libc_free(pointer); }
void operator delete(void* pointer, size_t, std::align_val_t) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer, size_t, std::align_val_t) noexcept { __libc_free(pointer); }

#if QVX_COUNT_MALLOC
extern "C" void* malloc(size_t size) {
  if (counting && FromThisProgram(__builtin_return_address(0))) ++mallocCount;
  return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
  if (counting && FromThisProgram(__builtin_return_address(0))) ++mallocCount;
  return __libc_calloc(count, size);
}
extern "C" void* realloc(void* pointer, size_t size) {
  if (counting && FromThisProgram(__builtin_return_address(0))) ++mallocCount;
  return __libc_realloc(pointer, size);
}
#endif

namespace qvx::test {
namespace {

class CountAllocations {
 public:
  CountAllocations() {
    newCount = 0;
    mallocCount = 0;
    counting = true;
  }
  ~CountAllocations() { counting = false; }
};

TEST(FrameAllocation, TheCountersSeeAllocationsFromThisProgram) {
  size_t news = 0, mallocs = 0;
  {
    CountAllocations scope;
    auto value = std::make_unique<int>(7);
    sink = value.get();
    sink = std::malloc(16);
    news = newCount;
    mallocs = mallocCount;
    std::free(sink);
  }
  EXPECT_EQ(news, 1u);
  EXPECT_EQ(mallocs, QVX_COUNT_MALLOC ? 1u : 0u);
}

TEST(FrameAllocation, AFrameAllocatesNothing) {
  GlxContext context;
  ASSERT_TRUE(context.Valid()) << context.Error();
  ASSERT_TRUE(LoadGLForTests());
  const ReferenceTexture texels = MakeDepthTexture(64, 32, TextureWrap::kClampToEdge);
  InputTexture texture(texels);
  const TextureDescriptor input = texture.Describe(40, 24);
  FloatFramebuffer target(64, 32);
  EffectInstance effect;
  ASSERT_NE(effect.Handle(), nullptr);
  // Every optional step on, so every branch of the frame runs.
  const float settings[8] = {4.0f, 0.8f, 1.0f, 0.6f, 0.5f, 0.4f, 0.7f, 0.9f};
  for (uint32_t index = 0; index < 8; ++index) ASSERT_EQ(effect.SetParameter(index, settings[index]), 0u);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(effect.Render(&input, target.Name()), 0u);
  glFinish();

  size_t news = 0, mallocs = 0;
  {
    CountAllocations scope;
    for (int i = 0; i < 20; ++i) ASSERT_EQ(effect.Render(&input, target.Name()), 0u);
    news = newCount;
    mallocs = mallocCount;
  }
  EXPECT_EQ(news, 0u);
  EXPECT_EQ(mallocs, 0u);
}

}  // namespace
}  // namespace qvx::test

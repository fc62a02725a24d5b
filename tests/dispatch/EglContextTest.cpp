// A host that makes its context through EGL (headless, no X server): GLEW's
// GLX build answers "no GLX display" there although every OpenGL entry point
// is loaded; the module must still create working instances.
#include <gtest/gtest.h>

#include <cstdlib>

#include "host/FunctionCodes.h"
#include "tests/dispatch/TestPlugin.h"
#include "tests/support/GLContext.h"
#include "tests/support/PlugMainCalls.h"

using namespace qvx;
using namespace qvx::test;

TEST(EglContext, InstancesAreCreatedInASurfacelessContext) {
  unsetenv("DISPLAY");  // prove that no X server is involved
  EglSurfacelessContext context;
  ASSERT_TRUE(context.Valid()) << context.Error();
  Viewport viewport{0, 0, 8, 8};
  const uint64_t answer = CallWith(kCreateInstance, &viewport);
  ASSERT_NE(answer, kFailureAnswer);
  auto* instance = static_cast<testplugin::TestPlugin*>(AsHandle(answer));
  EXPECT_NE(instance->glBufferMadeInInitGL, 0u) << "GL entry points work inside InitGL";
  EXPECT_EQ(Call(kDestroyInstance, 0, instance), kSuccess);
}

// Loading the OpenGL entry points is attempted once per module load. Run in a
// process of its own: the first creation happens with no context current, so
// loading fails, and that failure is final even once a context is current.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/FunctionCodes.h"
#include "tests/dispatch/TestPlugin.h"
#include "tests/support/GLContext.h"
#include "tests/support/PlugMainCalls.h"

using namespace qvx;
using namespace qvx::test;
using testplugin::control;

TEST(GLLoading, FailureWithoutAContextIsFinalForTheModulesLife) {
  Viewport viewport{0, 0, 8, 8};
  Call(kGetParameterCount);
  control().Reset();
  EXPECT_EQ(CallWith(kCreateInstance, &viewport), kFailureAnswer);
  EXPECT_EQ(control().factoryCalls, 1);
  EXPECT_EQ(control().calls.back(), "~TestPlugin") << "the new instance is destroyed, InitGL never ran";

  GlxContext context;
  ASSERT_TRUE(context.Valid()) << context.Error();
  control().Reset();
  EXPECT_EQ(CallWith(kCreateInstance, &viewport), kFailureAnswer) << "loading is not retried";
  EXPECT_EQ(std::count(control().calls.begin(), control().calls.end(), "InitGL"), 0);
  EXPECT_EQ(control().calls.back(), "~TestPlugin");
}

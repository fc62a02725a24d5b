// A module whose static initialisation registered no descriptor: every code
// that needs one answers its failure value instead of following a null pointer.
#include <gtest/gtest.h>

#include "host/FunctionCodes.h"
#include "host/HostRecords.h"
#include "tests/support/PlugMainCalls.h"

using namespace qvx;
using namespace qvx::test;

TEST(NoDescriptor, EveryCodeThatNeedsItFails) {
  Viewport viewport{0, 0, 8, 8};
  EXPECT_EQ(Call(kGetIdentity), 0u);
  EXPECT_EQ(Call(kGetDetails), 0u);
  EXPECT_EQ(Call(kDeinitialise), kFailureAnswer);
  EXPECT_EQ(Call(kInitialise), kFailureAnswer);
  EXPECT_EQ(Call(kGetParameterCount), kFailureAnswer);
  EXPECT_EQ(Call(kGetParameterName, 0), 0u);
  EXPECT_EQ(Call(kGetSeparatorCount, 0), 0u);
  EXPECT_EQ(CallWith(kCreateInstance, &viewport), kFailureAnswer);
  ThumbnailQuery query{};
  EXPECT_EQ(CallWith(kGetThumbnail, &query), kSuccess) << "the thumbnail does not depend on the descriptor";
  EXPECT_EQ(query.width, 160u);
}

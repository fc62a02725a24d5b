// The host log and the shader-error log, captured.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/Exports.h"
#include "host/LogChannels.h"

namespace {

std::vector<std::string> firstReceived;
std::vector<std::string> secondReceived;
void First(const char* text) { firstReceived.emplace_back(text); }
void Second(const char* text) { secondReceived.emplace_back(text); }

TEST(HostLog, OnlyTheLatestCallbackReceivesAndNullUninstalls) {
  qvx::SendHostLog("lost: no callback yet");
  SetLogCallback(First);
  qvx::SendHostLog("one");
  qvx::SendHostLog(nullptr);
  SetLogCallback(Second);
  qvx::SendHostLog("two");
  SetLogCallback(nullptr);
  qvx::SendHostLog("dropped");
  EXPECT_EQ(firstReceived, std::vector<std::string>{"one"});
  EXPECT_EQ(secondReceived, std::vector<std::string>{"two"});
}

TEST(ShaderErrorLog, OneLineOnStandardOutputAndNoneToTheHost) {
  firstReceived.clear();
  SetLogCallback(First);
  const struct {
    const char* log;
    std::string expected;
  } cases[] = {
      {"0:1(1): error: syntax", "Vertex Shader error: 0:1(1): error: syntax\n"},
      {"", "Vertex Shader error: \n"},
      {"line one\nline two", "Vertex Shader error: line one\nline two\n"},
  };
  for (const auto& c : cases) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    qvx::LogShaderError({"Vertex Shader error: ", c.log});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.expected);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.expected) << "the debugger half, then its own \"\\n\"";
  }
  EXPECT_TRUE(firstReceived.empty());
  SetLogCallback(nullptr);
}

}  // namespace

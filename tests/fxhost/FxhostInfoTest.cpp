// fxhost info and --help, end to end.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "tests/fxhost/FxhostTestSupport.h"

namespace qvx::test {
namespace {

bool HasLine(const std::string& text, const std::string& pattern) {
  return std::regex_search(text, std::regex(pattern, std::regex::multiline));
}

TEST(FxhostInfo, ShowsIdentityTextsCapabilitiesAndEveryParameter) {
  WorkFolder folder;
  const RunResult run = RunFxhost({"info", QVX_MODULE_PATH}, folder.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const char* expectedLines[] = {
      "^Name: +Quorvalentix$",
      "^Identifier: +QX07$",
      "^Plugin type: +effect \\(0\\)$",
      "^Interface: +2\\.1$",
      "^Version: +2\\.1$",
      "^Description: +Depth map visualizer \xE2\x80\x94 colormaps, cycling effects, edge detection$",
      "^About: +Velquarine$",
      "^Inputs: +1 to 1$",
      "^Capabilities: +5 yes, 16 no$",
      "^Thumbnail: +160x120$",
      "^Parameters \\(8\\):$",
      // index, name, type, default, range, option elements
      "^ +0 +Colormap +option +5 \\(Grayscale\\) +0 to 1 +Inferno=0, Viridis=1, Magma=2, Plasma=3, Turbo=4, "
      "Grayscale=5$",
      "^ +1 +Blend +standard +1 +0 to 1$",
      "^ +2 +Show Edges +boolean +0 \\(off\\) +0 to 1$",
      "^ +3 +Depth Sweep +standard +0 +0 to 1$",
      "^ +4 +Luma Pulse +standard +0 +0 to 1$",
      "^ +5 +Colormap Cycle +standard +0 +0 to 1$",
      "^ +6 +Isolate Band +standard +0 +0 to 1$",
      "^ +7 +Speed +standard +0\\.5 +0 to 1$",
  };
  for (const char* line : expectedLines) EXPECT_TRUE(HasLine(run.out, line)) << line << "\nin:\n" << run.out;
}

TEST(FxhostInfo, FindsTheModuleBuiltBesideIt) {
  WorkFolder folder;
  const RunResult run = RunFxhost({"info"}, folder.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string expected = std::filesystem::weakly_canonical(QVX_MODULE_PATH).string();
  EXPECT_TRUE(HasLine(run.out, "^Module: +" + std::regex_replace(expected, std::regex("[.^$|()\\[\\]{}*+?\\\\]"),
                                                                   "\\$&") + "$"))
      << run.out;
}

// The thumbnail arrives packed R<<24|G<<16|B<<8|A in little-endian memory;
// the PNG must hold the colours the module drew.
TEST(FxhostInfo, WritesTheThumbnailWithItsColours) {
  WorkFolder folder;
  const RunResult run = RunFxhost({"info", QVX_MODULE_PATH, "--thumbnail", "pictures/thumb.png"}, folder.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Picture thumbnail = ReadPicture(folder / "pictures/thumb.png");
  ASSERT_EQ(thumbnail.width, 160u);
  ASSERT_EQ(thumbnail.height, 120u);
  ASSERT_EQ(thumbnail.channels, 4u);
  auto pixel = [&](uint32_t x, uint32_t y) {
    return std::vector<uint16_t>{thumbnail.At(x, y, 0), thumbnail.At(x, y, 1), thumbnail.At(x, y, 2),
                                 thumbnail.At(x, y, 3)};
  };
  EXPECT_EQ(pixel(0, 0), (std::vector<uint16_t>{255, 0, 128, 255}));     // the gradient's top row
  EXPECT_EQ(pixel(80, 15), (std::vector<uint16_t>{57, 255, 20, 255}));   // a green line
  EXPECT_EQ(pixel(9, 15), (std::vector<uint16_t>{229, 0, 115, 255}));    // beside it, the gradient
  EXPECT_EQ(pixel(10, 10), (std::vector<uint16_t>{80, 80, 80, 255}));    // a grey line
  int green = 0;
  for (uint32_t y = 0; y < 120; ++y) {
    for (uint32_t x = 0; x < 160; ++x) green += pixel(x, y) == std::vector<uint16_t>{57, 255, 20, 255} ? 1 : 0;
  }
  EXPECT_EQ(green, 834);
}

TEST(FxhostHelp, EveryCommandExplainsItsOptions) {
  struct HelpCase {
    std::vector<std::string> arguments;
    std::vector<std::string> mentions;
  };
  const HelpCase cases[] = {
      {{"--help"}, {"info", "render", "sheet", "--version"}},
      {{"info", "--help"}, {"--thumbnail", "module"}},
      {{"render", "--help"},
       {"--input", "--output", "--param", "--range", "--invert", "--no-depth", "--frames", "--size", "--pad",
        "--glx", "--gl", "--null", "--render-only", "--fps", "--ffmpeg", "--save-input", "--nearest", "--quiet"}},
      {{"sheet", "--help"}, {"--output", "--tile", "--columns", "--frame", "--param", "--input", "--glx"}},
  };
  WorkFolder folder;
  for (const HelpCase& c : cases) {
    const RunResult run = RunFxhost(c.arguments, folder.Path());
    EXPECT_EQ(run.exitCode, 0) << c.arguments.front();
    for (const std::string& mention : c.mentions) {
      EXPECT_NE(run.out.find(mention), std::string::npos) << c.arguments.front() << " does not mention " << mention;
    }
  }
}

}  // namespace
}  // namespace qvx::test

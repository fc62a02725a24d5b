// fxhost render's outputs and inputs beyond a single picture: numbered
// sequences (each frame the right one, whatever order read-backs complete
// in), the last frame of a run, video through ffmpeg, the null sink, and
// sequences and folders as input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/fxhost/FxhostTestSupport.h"

namespace qvx::test {
namespace {

constexpr int kTolerance = 2;

// The fixture stretched over 1000 to 4000 mm, as the module receives it.
std::vector<uint16_t> FixtureInput() {
  std::vector<uint16_t> values;
  for (uint32_t y = 0; y < kFixtureHeight; ++y) {
    for (uint32_t x = 0; x < kFixtureWidth; ++x) {
      const uint16_t raw = ExpectedRawDepth(x, y);
      const double depth = raw == 0 ? 0.0 : std::min(std::max((raw - 1000.0) / 3000.0, 0.0), 1.0);
      values.push_back(static_cast<uint16_t>(std::lround(depth * 65535.0)));
    }
  }
  return values;
}

DepthReferenceResult FixtureReferenceAt(int frames) {
  DepthUniforms uniforms;
  uniforms.colormap = 3;  // Plasma
  uniforms.depthSweep = 1.0f;
  uniforms.time = EffectTime(frames, 0.5f);
  return RenderDepthReference(GreyTexture(FixtureInput(), kFixtureWidth, kFixtureHeight, kFixtureWidth,
                                          kFixtureHeight),
                              uniforms);
}

const std::vector<std::string> kSweepArguments = {"--nearest", "--range", "1000:4000", "--param", "Colormap=Plasma",
                                                  "--param", "Depth Sweep=1"};

std::vector<std::string> RenderArguments(std::vector<std::string> extra) {
  std::vector<std::string> arguments = {"render", QVX_MODULE_PATH, "-i", DepthFixturePath()};
  arguments.insert(arguments.end(), kSweepArguments.begin(), kSweepArguments.end());
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  return arguments;
}

TEST(FxhostOutput, NumberedSequenceHoldsEachFrameUnderItsNumber) {
  WorkFolder folder;
  const RunResult run = RunFxhost(RenderArguments({"--frames", "9", "-o", "frames/f_%03d.png"}), folder.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::vector<std::string> expectedFiles;
  for (int frame = 1; frame <= 9; ++frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frames/f_%03d.png", frame);
    expectedFiles.push_back(name);
  }
  ASSERT_EQ(folder.Files(), expectedFiles);
  // The sweep moves every frame, so a frame filed under the wrong number shows.
  for (int frame = 1; frame <= 9; ++frame) {
    const Picture picture = ReadPicture(folder / expectedFiles[frame - 1]);
    EXPECT_EQ(CompareWithReference(picture, FixtureReferenceAt(frame), kTolerance), "") << expectedFiles[frame - 1];
  }
}

TEST(FxhostOutput, SinglePictureOfSeveralFramesIsTheLast) {
  WorkFolder folder;
  const RunResult run = RunFxhost(RenderArguments({"--frames", "17", "-o", "last.png"}), folder.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"last.png"});
  EXPECT_EQ(CompareWithReference(ReadPicture(folder / "last.png"), FixtureReferenceAt(17), kTolerance), "");
}

TEST(FxhostOutput, NullSinkRendersAndWritesNothing) {
  WorkFolder folder;
  const RunResult run = RunFxhost(RenderArguments({"--frames", "12", "--null"}), folder.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("rendered 12 frames"), std::string::npos) << run.out;
  EXPECT_TRUE(folder.Files().empty());
}

TEST(FxhostOutput, VideosHoldEveryFrame) {
  for (const char* name : {"clip.mp4", "clip.webm"}) {
    WorkFolder folder;
    const RunResult run = RunFxhost(RenderArguments({"--frames", "6", "-o", name}), folder.Path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(folder.Files(), std::vector<std::string>{name}) << "no temporary file may stay behind";
    const std::string probe = "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                              "stream=nb_read_frames,width,height -of csv=p=0 '" + (folder / name) + "'";
    FILE* pipe = popen(probe.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[128] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    pclose(pipe);
    ASSERT_TRUE(read) << "ffprobe read nothing from " << name;
    EXPECT_EQ(std::string(line), "96,48,6\n") << name;
  }
}

// 8-bit grey passes unchanged: each output frame is its own input picture's level.
TEST(FxhostOutput, SequencesAndFoldersFeedOnePicturePerFrame) {
  WorkFolder folder;
  const uint8_t levels[] = {40, 120, 200};
  std::filesystem::create_directories(folder / "in");
  for (int i = 0; i < 3; ++i) {
    WriteGrey8(folder / ("in/depth_" + std::to_string(i + 1) + ".png"), 8, 6, std::vector<uint8_t>(48, levels[i]));
  }
  struct InputCase {
    const char* input;
    const char* frames;  // more than the sequence holds: it starts over
  };
  for (const InputCase& c : {InputCase{"in/depth_%d.png", "4"}, InputCase{"in", "4"}}) {
    std::filesystem::remove_all(folder / "out");
    const RunResult run = RunFxhost(
        {"render", QVX_MODULE_PATH, "-i", c.input, "--frames", c.frames, "-o", "out/o_%d.png"}, folder.Path());
    ASSERT_EQ(run.exitCode, 0) << c.input << ": " << run.err;
    for (int frame = 1; frame <= 4; ++frame) {
      const Picture picture = ReadPicture(folder / ("out/o_" + std::to_string(frame) + ".png"));
      ASSERT_EQ(picture.width, 8u);
      const int expected = levels[(frame - 1) % 3];
      for (int channel = 0; channel < 3; ++channel) {
        EXPECT_NEAR(picture.At(4, 3, channel), expected, 1) << c.input << " frame " << frame;
      }
      EXPECT_EQ(picture.At(4, 3, 3), 255);
    }
  }
}

// Every PNG layout reaches the module as the colour it holds: with the
// default grey map the output is the input's luma (BT.601), alpha ignored.
TEST(FxhostInput, EveryPngLayoutReachesTheModuleAsItsColour) {
  struct LayoutCase {
    const char* name;
    uint32_t channels;
    uint32_t bitDepth;
    std::vector<uint16_t> pixel;
    bool palette;
    std::vector<std::string> extra;
    int expectedGrey;  // 0..255
  };
  const LayoutCase cases[] = {
      {"grey8", 1, 8, {200}, false, {}, 200},
      {"grey-alpha8", 2, 8, {200, 77}, false, {}, 200},
      {"rgb8", 3, 8, {255, 0, 0}, false, {}, 76},      // 0.299 x 255
      {"rgba8", 4, 8, {0, 255, 0, 10}, false, {}, 150},  // 0.587 x 255
      {"palette", 3, 8, {0, 0, 255}, true, {}, 29},     // 0.114 x 255
      // 16-bit grey is stretched by default; this range leaves it as stored.
      {"grey16", 1, 16, {40000}, false, {"--range", "0:65535"}, 156},
      {"grey-alpha16", 2, 16, {40000, 3}, false, {"--range", "0:65535"}, 156},
      {"rgb16", 3, 16, {65535, 32768, 0}, false, {}, 151},  // (0.299 + 0.587 x 0.5) x 255
      {"rgba16", 4, 16, {0, 0, 65535, 1000}, false, {}, 29},
  };
  WorkFolder folder;
  for (const LayoutCase& c : cases) {
    Picture picture;
    picture.width = 5;
    picture.height = 3;
    picture.channels = c.channels;
    picture.bitDepth = c.bitDepth;
    for (int i = 0; i < 15; ++i) picture.samples.insert(picture.samples.end(), c.pixel.begin(), c.pixel.end());
    const std::string input = std::string(c.name) + ".png";
    WritePicture(folder / input, picture, c.palette);
    std::vector<std::string> arguments = {"render", QVX_MODULE_PATH, "-i", input, "-o", "out.png"};
    arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
    const RunResult run = RunFxhost(arguments, folder.Path());
    ASSERT_EQ(run.exitCode, 0) << c.name << ": " << run.err;
    const Picture output = ReadPicture(folder / "out.png");
    ASSERT_EQ(output.width, 5u) << c.name;
    for (int channel = 0; channel < 3; ++channel) EXPECT_NEAR(output.At(2, 1, channel), c.expectedGrey, 1) << c.name;
    EXPECT_EQ(output.At(2, 1, 3), 255) << c.name;
  }
}

}  // namespace
}  // namespace qvx::test

// Bad input gets a one-line error and a non-zero exit, never a crash, and
// leaves no file behind that looks complete.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/fxhost/FxhostTestSupport.h"

namespace qvx::test {
namespace {

// A PNG whose header claims a size far beyond what fxhost accepts; nothing
// follows the header, so a reader that trusted it would allocate gigabytes first.
void WriteHugeHeaderPng(const std::string& path) {
  auto big = [](uint32_t value) {
    return std::string{static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
                       static_cast<char>(value)};
  };
  const std::string header = "IHDR" + big(40000) + big(40000) + std::string("\x08\x00\x00\x00\x00", 5);
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(header.data()), static_cast<uInt>(header.size()));
  std::ofstream file(path, std::ios::binary);
  file << "\x89PNG\r\n\x1a\n" << big(13) << header << big(static_cast<uint32_t>(crc));
}

struct ErrorCase {
  const char* name;
  std::vector<std::string> arguments;  // "{fixture}", "{refusing}", "{noplugmain}" are replaced
  std::vector<std::string> mentions;   // texts the error line must hold
  std::string mustNotExist = {};       // an output that must not appear
};

const ErrorCase kCases[] = {
    {"MissingModule", {"info", "absent/Quorvalentix.so"}, {"does not exist"}},
    {"FileThatIsNoLibrary", {"info", "notes.so"}, {"not a loadable module"}},
    {"LibraryWithoutPlugMain", {"render", "{noplugmain}", "-o", "out.png"}, {"exports no plugMain"}, "out.png"},
    {"ModuleRefusingCode18ShowsItsLog",
     {"render", "{refusing}", "-o", "out.png"},
     {"code 18 failed", "Refusing: no instance today"},
     "out.png"},
    {"TruncatedPng", {"render", "-i", "truncated.png", "-o", "out.png"}, {"truncated or damaged"}, "out.png"},
    {"TextPretendingToBePng", {"render", "-i", "notes.png", "-o", "out.png"}, {"not a PNG file"}, "out.png"},
    {"PngClaimingHugeSize", {"render", "-i", "huge.png", "-o", "out.png"}, {"40000x40000", "16384"}, "out.png"},
    {"MissingInput", {"render", "-i", "absent.png", "-o", "out.png"}, {"absent.png", "does not exist"}, "out.png"},
    {"ZeroSize", {"render", "--size", "0x90", "-o", "out.png"}, {"zero"}, "out.png"},
    {"HugeSize", {"render", "--size", "100000x50", "-o", "out.png"}, {"too large"}, "out.png"},
    {"ZeroFrames", {"render", "--frames", "0", "-o", "out.png"}, {"--frames"}, "out.png"},
    {"OutputUnderAFile", {"render", "-o", "notes.so/out.png"}, {"not a folder"}},
    {"OutputFolderCannotBeMade", {"render", "-o", "/proc/fxhost-test/out.png"}, {"cannot make the output folder"}},
    {"UnknownParameterListsTheParameters",
     {"render", "--param", "Brightness=1", "-o", "out.png"},
     {"unknown parameter 'Brightness'", "Colormap, Blend, Show Edges, Depth Sweep, Luma Pulse, Colormap Cycle, "
                                        "Isolate Band, Speed"},
     "out.png"},
    {"UnknownOptionListsTheOptions",
     {"render", "--param", "Colormap=Rainbow", "-o", "out.png"},
     {"no option 'Rainbow'", "Inferno, Viridis, Magma, Plasma, Turbo, Grayscale"},
     "out.png"},
    {"ParameterWithoutValue", {"render", "--param", "Blend", "-o", "out.png"}, {"NAME=VALUE"}, "out.png"},
    {"UnknownOutputKind", {"render", "-o", "out.avi"}, {"out.avi"}, "out.avi"},
    {"VideoWithoutFfmpeg",
     {"render", "--ffmpeg", "/nonexistent/ffmpeg", "-o", "clip.mp4"},
     {"needs ffmpeg"},
     "clip.mp4"},
    {"FfmpegFailingLeavesNoVideo",
     {"render", "--frames", "40", "--size", "64x36", "--ffmpeg", "/bin/false", "-o", "clip.mp4"},
     {"ffmpeg"},
     "clip.mp4"},
    {"SheetWithoutOutput", {"sheet"}, {"--output"}},
    {"UnknownCommand", {"paint"}, {}},
};

// Test names say which case it is; the raw bytes gtest would print say nothing.
void PrintTo(const ErrorCase& c, std::ostream* out) { *out << c.name; }

class FxhostErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(FxhostErrors, AnswerWithOneLineAndNoOutput) {
  const ErrorCase& c = GetParam();
  WorkFolder folder;
  { std::ofstream(folder / "notes.so") << "not a module\n"; }
  { std::ofstream(folder / "notes.png") << "not a picture\n"; }
  {
    std::ifstream fixture(DepthFixturePath(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(fixture)), std::istreambuf_iterator<char>());
    std::ofstream(folder / "truncated.png", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  }
  WriteHugeHeaderPng(folder / "huge.png");
  const std::vector<std::string> before = folder.Files();

  std::vector<std::string> arguments;
  for (const std::string& argument : c.arguments) {
    if (argument == "{refusing}") arguments.push_back(QVX_REFUSING_MODULE_PATH);
    else if (argument == "{noplugmain}") arguments.push_back(QVX_NO_PLUGMAIN_MODULE_PATH);
    else arguments.push_back(argument);
  }
  const RunResult run = RunFxhost(arguments, folder.Path());
  EXPECT_NE(run.exitCode, 0) << run.err;
  EXPECT_LT(run.exitCode, 128) << "ended by a signal: " << run.err;
  const std::string line = run.LastErrorLine();
  EXPECT_EQ(line.rfind("fxhost: error: ", 0), 0u) << run.err;
  for (const std::string& mention : c.mentions) EXPECT_NE(line.find(mention), std::string::npos) << line;
  if (!c.mustNotExist.empty()) {
    EXPECT_FALSE(std::filesystem::exists(folder / c.mustNotExist));
  }
  EXPECT_EQ(folder.Files(), before) << "nothing may be left behind, not even a temporary file";
}

INSTANTIATE_TEST_SUITE_P(Cases, FxhostErrors, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ErrorCase>& caseInfo) { return caseInfo.param.name; });

// The refusing module's shader-error log (its standard output) reaches the
// user on standard error, before the error line.
TEST(FxhostErrorLog, ShaderLogOfARefusingModuleIsShown) {
  WorkFolder folder;
  const RunResult run = RunFxhost({"render", QVX_REFUSING_MODULE_PATH, "-o", "out.png"}, folder.Path());
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.err.find("Vertex Shader error: 0:3: refusing module's made-up compile error"), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("module log: Refusing: no instance today"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace qvx::test

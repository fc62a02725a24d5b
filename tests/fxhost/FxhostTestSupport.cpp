#include "tests/fxhost/FxhostTestSupport.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qvx::test {
namespace {

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') quoted += "'\\''";
    else quoted += c;
  }
  return quoted + "'";
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// libpng reports errors by longjmp: nothing with a destructor lives here.
bool ReadWithLibpng(FILE* file, Picture* picture) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_init_io(png, file);
  png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  picture->width = png_get_image_width(png, info);
  picture->height = png_get_image_height(png, info);
  picture->channels = png_get_channels(png, info);
  picture->bitDepth = png_get_bit_depth(png, info);
  png_bytepp rows = png_get_rows(png, info);
  picture->samples.resize(static_cast<size_t>(picture->width) * picture->height * picture->channels);
  size_t i = 0;
  for (uint32_t y = 0; y < picture->height; ++y) {
    for (uint32_t s = 0; s < picture->width * picture->channels; ++s) {
      picture->samples[i++] = picture->bitDepth == 16
                                  ? static_cast<uint16_t>((rows[y][2 * s] << 8) | rows[y][2 * s + 1])
                                  : rows[y][s];
    }
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

std::string RunResult::LastErrorLine() const {
  std::string text = err;
  while (!text.empty() && text.back() == '\n') text.pop_back();
  const size_t start = text.find_last_of('\n');
  return start == std::string::npos ? text : text.substr(start + 1);
}

RunResult RunFxhost(const std::vector<std::string>& arguments, const std::string& folder) {
  const std::string outPath = folder + "/.stdout";
  const std::string errPath = folder + "/.stderr";
  std::string command = "cd " + Quote(folder) + " && " + Quote(QVX_FXHOST_PATH);
  for (const std::string& argument : arguments) command += " " + Quote(argument);
  command += " >" + Quote(outPath) + " 2>" + Quote(errPath) + " </dev/null";
  const int status = std::system(command.c_str());
  RunResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = ReadWholeFile(outPath);
  result.err = ReadWholeFile(errPath);
  std::filesystem::remove(outPath);
  std::filesystem::remove(errPath);
  return result;
}

WorkFolder::WorkFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "fxhost-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make a temporary folder";
  path = pattern;
}

WorkFolder::~WorkFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

std::vector<std::string> WorkFolder::Files() const {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
    if (entry.is_regular_file()) files.push_back(std::filesystem::relative(entry.path(), path).string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

Picture ReadPicture(const std::string& path) {
  Picture picture;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    ADD_FAILURE() << "cannot open " << path;
    return picture;
  }
  const bool read = ReadWithLibpng(file, &picture);
  std::fclose(file);
  if (!read) {
    ADD_FAILURE() << "libpng cannot read " << path;
    return Picture{};
  }
  return picture;
}

void WriteGrey8(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& levels) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = PNG_FORMAT_GRAY;
  ASSERT_NE(png_image_write_to_file(&image, path.c_str(), 0, levels.data(), 0, nullptr), 0) << path;
}

void WritePicture(const std::string& path, const Picture& picture, bool palette) {
  static const int kColourTypes[] = {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB,
                                     PNG_COLOR_TYPE_RGB_ALPHA};
  const size_t rowSamples = static_cast<size_t>(picture.width) * picture.channels;
  std::vector<png_color> colours;
  std::vector<std::vector<png_byte>> rows(picture.height);
  for (uint32_t y = 0; y < picture.height; ++y) {
    for (size_t i = 0; i < rowSamples; i += (palette ? 3 : 1)) {
      const uint16_t* sample = &picture.samples[y * rowSamples + i];
      if (palette) {
        const png_color colour{static_cast<png_byte>(sample[0]), static_cast<png_byte>(sample[1]),
                               static_cast<png_byte>(sample[2])};
        size_t entry = 0;
        while (entry < colours.size() && std::memcmp(&colours[entry], &colour, sizeof colour) != 0) ++entry;
        if (entry == colours.size()) colours.push_back(colour);
        rows[y].push_back(static_cast<png_byte>(entry));
      } else if (picture.bitDepth == 16) {
        rows[y].push_back(static_cast<png_byte>(sample[0] >> 8));
        rows[y].push_back(static_cast<png_byte>(sample[0] & 0xFF));
      } else {
        rows[y].push_back(static_cast<png_byte>(sample[0]));
      }
    }
  }
  std::vector<png_bytep> rowPointers;
  for (auto& row : rows) rowPointers.push_back(row.data());
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, picture.width, picture.height, static_cast<int>(picture.bitDepth),
               palette ? PNG_COLOR_TYPE_PALETTE : kColourTypes[picture.channels - 1], PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (palette) png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
  png_write_info(png, info);
  png_write_image(png, rowPointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

std::string DepthFixturePath() { return std::string(QVX_FXHOST_TEST_DATA) + "/depth16.png"; }

uint16_t ExpectedRawDepth(uint32_t xu, uint32_t yu) {
  const int x = static_cast<int>(xu);
  const int y = static_cast<int>(yu);
  if (x >= 4 && x < 14 && y >= 4 && y < 12) return 0;
  if ((x - 64) * (x - 64) + (y - 24) * (y - 24) < 144) return static_cast<uint16_t>(1200 + 8 * (x - 64) + 6 * (y - 24));
  return static_cast<uint16_t>(1800 + 20 * x + 15 * y);
}

ReferenceTexture GreyTexture(const std::vector<uint16_t>& values, uint32_t width, uint32_t height,
                             uint32_t hardwareWidth, uint32_t hardwareHeight) {
  ReferenceTexture texture;
  texture.width = hardwareWidth;
  texture.height = hardwareHeight;
  texture.rgb.assign(static_cast<size_t>(hardwareWidth) * hardwareHeight * 3, 0.0f);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const float grey = static_cast<float>(values[static_cast<size_t>(y) * width + x]) / 65535.0f;
      for (int c = 0; c < 3; ++c) texture.rgb[(static_cast<size_t>(y) * hardwareWidth + x) * 3 + c] = grey;
    }
  }
  return texture;
}

float EffectTime(int frames, float speed) {
  double accumulated = 0.0;
  for (int i = 0; i < frames; ++i) accumulated += static_cast<double>(speed) * 0.016666666666666666 * 2.0;
  return static_cast<float>(std::fmod(accumulated, 100000.0));
}

std::string CompareWithReference(const Picture& output, const DepthReferenceResult& reference, int tolerance) {
  if (output.channels != 4 || output.bitDepth != 8) return "the output is not 8-bit RGBA";
  if (static_cast<size_t>(output.width) * output.height != reference.pixels.size()) return "sizes differ";
  int worst = -1;
  size_t worstPixel = 0;
  for (size_t pixel = 0; pixel < reference.pixels.size(); ++pixel) {
    const ReferenceRGBA& expected = reference.pixels[pixel];
    const float channels[4] = {expected.r, expected.g, expected.b, expected.a};
    for (int c = 0; c < 4; ++c) {
      const long wanted = std::lround(std::clamp(channels[c], 0.0f, 1.0f) * 255.0f);
      const int difference = static_cast<int>(std::labs(output.samples[pixel * 4 + c] - wanted));
      if (difference > worst) {
        worst = difference;
        worstPixel = pixel;
      }
    }
  }
  if (worst <= tolerance) return {};
  const ReferenceRGBA& expected = reference.pixels[worstPixel];
  std::ostringstream text;
  text << "pixel (" << worstPixel % output.width << ", " << worstPixel / output.width << ") is ("
       << output.samples[worstPixel * 4] << ", " << output.samples[worstPixel * 4 + 1] << ", "
       << output.samples[worstPixel * 4 + 2] << ", " << output.samples[worstPixel * 4 + 3] << "), expected ("
       << expected.r * 255 << ", " << expected.g * 255 << ", " << expected.b * 255 << ", " << expected.a * 255
       << "); off by " << worst;
  return text.str();
}

}  // namespace qvx::test

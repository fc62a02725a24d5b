#include "tools/fxhost/PngFile.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "tools/fxhost/Error.h"

// libpng reports errors by longjmp. Every C++ object the jump could skip over
// lives on the heap behind a pointer made before setjmp, so nothing with a
// destructor is left half-done on the jumped-over frames.

namespace fxhost {
namespace {

struct ErrorText {
  char text[256] = {};
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* errorText = static_cast<ErrorText*>(png_get_error_ptr(png));
  std::snprintf(errorText->text, sizeof errorText->text, "%s", message != nullptr ? message : "unknown error");
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}  // benign chunk quirks are no reason to stop

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

uint32_t BigEndian(const png_byte* bytes) {
  return (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
         (static_cast<uint32_t>(bytes[2]) << 8) | bytes[3];
}

// Checks the signature, and the size in the header chunk before libpng reads
// on: a damaged or hostile header must be refused before anything trusts it.
File OpenPngForReading(const std::string& path) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) throw Error("cannot open '" + path + "': " + std::strerror(errno));
  png_byte start[24] = {};  // signature, header chunk length and type, width, height
  const size_t got = std::fread(start, 1, sizeof start, file.get());
  if (got < 8 || png_sig_cmp(start, 0, 8) != 0) throw Error("'" + path + "' is not a PNG file");
  if (got < sizeof start || std::memcmp(start + 12, "IHDR", 4) != 0) {
    throw Error("cannot read '" + path + "': truncated or damaged PNG (no header chunk)");
  }
  const uint32_t width = BigEndian(start + 16);
  const uint32_t height = BigEndian(start + 20);
  if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide) {
    throw Error("cannot use '" + path + "': its size " + std::to_string(width) + "x" + std::to_string(height) +
                " is outside 1 to " + std::to_string(kLargestSide) + " pixels a side");
  }
  std::fseek(file.get(), 8, SEEK_SET);
  return file;
}

struct ReadResult {
  Image image;
  std::vector<png_byte> pixels;
  std::vector<png_bytep> rows;
};

// Returns false with errorText filled when libpng gave up.
bool ReadWithLibpng(FILE* file, ReadResult* result, ErrorText* errorText) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, errorText, OnPngError, OnPngWarning);
  if (png == nullptr) {
    std::snprintf(errorText->text, sizeof errorText->text, "out of memory");
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_init_io(png, file);
  png_set_sig_bytes(png, 8);
  png_read_info(png, info);

  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  const int colourType = png_get_color_type(png, info);
  result->image.width = width;  // checked against kLargestSide by OpenPngForReading
  result->image.height = height;
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  result->image.channels = png_get_channels(png, info);
  result->image.bitDepth = png_get_bit_depth(png, info) == 16 ? 16 : 8;
  const size_t rowBytes = png_get_rowbytes(png, info);
  result->pixels.resize(rowBytes * height);
  result->rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) result->rows[y] = result->pixels.data() + y * rowBytes;
  png_read_image(png, result->rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

std::unique_ptr<ReadResult> ReadPngFile(const std::string& path) {
  File file = OpenPngForReading(path);
  auto result = std::make_unique<ReadResult>();
  auto errorText = std::make_unique<ErrorText>();
  if (!ReadWithLibpng(file.get(), result.get(), errorText.get())) {
    throw Error("cannot read '" + path + "': truncated or damaged PNG (" + errorText->text + ")");
  }
  return result;
}

struct WriteState {
  FILE* file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
};

bool WriteWithLibpng(WriteState* state, uint32_t width, uint32_t height, uint32_t channels, uint32_t bitDepth,
                     const png_bytep* rows, int compressionLevel, ErrorText* errorText) {
  state->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, errorText, OnPngError, OnPngWarning);
  if (state->png == nullptr) return false;
  state->info = png_create_info_struct(state->png);
  if (state->info == nullptr || setjmp(png_jmpbuf(state->png))) return false;
  static const int kColourTypes[] = {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB,
                                     PNG_COLOR_TYPE_RGB_ALPHA};
  png_init_io(state->png, state->file);
  png_set_compression_level(state->png, compressionLevel);
  if (compressionLevel <= 3) png_set_filter(state->png, 0, PNG_FILTER_SUB);  // cheap filter for fast writes
  png_set_IHDR(state->png, state->info, width, height, static_cast<int>(bitDepth), kColourTypes[channels - 1],
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(state->png, state->info);
  const uint16_t probe = 1;
  const bool littleEndian = *reinterpret_cast<const uint8_t*>(&probe) == 1;
  if (bitDepth == 16 && littleEndian) png_set_swap(state->png);  // PNG stores 16-bit samples big-endian
  png_write_image(state->png, const_cast<png_bytepp>(rows));
  png_write_end(state->png, nullptr);
  return true;
}

}  // namespace

Image ReadPng(const std::string& path) {
  std::unique_ptr<ReadResult> result = ReadPngFile(path);
  Image& image = result->image;
  image.samples.resize(static_cast<size_t>(image.width) * image.height * image.channels);
  const size_t rowSamples = static_cast<size_t>(image.width) * image.channels;
  for (uint32_t y = 0; y < image.height; ++y) {
    const png_byte* row = result->rows[y];
    uint16_t* out = image.samples.data() + y * rowSamples;
    if (image.bitDepth == 16) {
      for (size_t i = 0; i < rowSamples; ++i) out[i] = static_cast<uint16_t>((row[2 * i] << 8) | row[2 * i + 1]);
    } else {
      for (size_t i = 0; i < rowSamples; ++i) out[i] = row[i];
    }
  }
  return std::move(result->image);
}

void WritePng(const std::string& path, uint32_t width, uint32_t height, uint32_t channels, uint32_t bitDepth,
              const void* rows, size_t rowStride, int compressionLevel) {
  if (channels < 1 || channels > 4 || (bitDepth != 8 && bitDepth != 16)) throw Error("unsupported PNG format");
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) throw Error("cannot write '" + path + "': " + std::strerror(errno));
  auto rowPointers = std::make_unique<std::vector<png_bytep>>(height);
  for (uint32_t y = 0; y < height; ++y) {
    (*rowPointers)[y] = const_cast<png_bytep>(static_cast<const png_byte*>(rows) + y * rowStride);
  }
  auto state = std::make_unique<WriteState>();
  auto errorText = std::make_unique<ErrorText>();
  state->file = file.get();
  const bool written =
      WriteWithLibpng(state.get(), width, height, channels, bitDepth, rowPointers->data(), compressionLevel,
                      errorText.get());
  png_destroy_write_struct(&state->png, &state->info);
  if (!written) throw Error("cannot write '" + path + "': " + errorText->text);
  if (std::fflush(file.get()) != 0 || std::ferror(file.get())) {
    throw Error("cannot write '" + path + "': " + std::strerror(errno));
  }
}

void WritePng(const std::string& path, const Image& image, int compressionLevel) {
  if (image.bitDepth == 16) {
    WritePng(path, image.width, image.height, image.channels, 16, image.samples.data(),
             static_cast<size_t>(image.width) * image.channels * 2, compressionLevel);
    return;
  }
  std::vector<uint8_t> bytes(image.samples.begin(), image.samples.end());
  WritePng(path, image.width, image.height, image.channels, 8, bytes.data(),
           static_cast<size_t>(image.width) * image.channels, compressionLevel);
}

}  // namespace fxhost

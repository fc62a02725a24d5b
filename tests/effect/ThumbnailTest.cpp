// The 160 x 120 thumbnail as the host receives it from code 42: its size
// alone, then the 76,800 bytes, checked against the picture's known figures.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "host/FunctionCodes.h"
#include "host/HostRecords.h"
#include "tests/support/PlugMainCalls.h"

namespace qvx::test {
namespace {

constexpr uint32_t kWidth = 160;
constexpr uint32_t kHeight = 120;

struct Pixel {
  uint8_t red, green, blue, alpha;
  bool operator==(const Pixel& o) const {
    return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
  }
};
const Pixel kGreen{57, 255, 20, 255};
const Pixel kGrey{80, 80, 80, 255};

class Thumbnail : public ::testing::Test {
 protected:
  void SetUp() override {
    bytes.assign(kWidth * kHeight * 4, 0xAB);
    ThumbnailQuery query{0, 0, bytes.data()};
    ASSERT_EQ(CallWith(kGetThumbnail, &query), 0u);
    ASSERT_EQ(query.width, kWidth);
    ASSERT_EQ(query.height, kHeight);
  }
  // In memory a pixel is alpha, blue, green, red.
  Pixel At(uint32_t x, uint32_t y) const {
    const uint8_t* p = &bytes[4 * (y * kWidth + x)];
    return {p[3], p[2], p[1], p[0]};
  }
  bool IsGradient(uint32_t x, uint32_t y) const { return At(x, y) == At(0, y); }

  std::vector<uint8_t> bytes;
};

TEST(ThumbnailSize, NullBufferAsksForTheSizeOnly) {
  ThumbnailQuery query{0, 0, nullptr};
  EXPECT_EQ(CallWith(kGetThumbnail, &query), 0u);
  EXPECT_EQ(query.width, kWidth);
  EXPECT_EQ(query.height, kHeight);
}

TEST_F(Thumbnail, FirstPixelBytes) {
  EXPECT_EQ((std::array<uint8_t, 4>{bytes[0], bytes[1], bytes[2], bytes[3]}),
            (std::array<uint8_t, 4>{0xFF, 0x80, 0x00, 0xFF}));
}

TEST_F(Thumbnail, GradientRowsUseSinglePrecision) {
  const struct {
    uint32_t row;
    uint8_t red, blue;
  } rows[] = {{0, 255, 128}, {15, 229, 115}, {50, 169, 85}, {80, 118, 59}, {119, 52, 26}};
  for (const auto& r : rows) {
    EXPECT_EQ(At(0, r.row), (Pixel{r.red, 0, r.blue, 255})) << "row " << r.row;
    EXPECT_EQ(At(159, r.row), (Pixel{r.red, 0, r.blue, 255})) << "row " << r.row;
  }
}

TEST_F(Thumbnail, GreenRowsSpanX10To150) {
  EXPECT_EQ(At(80, 15), kGreen);
  EXPECT_EQ(At(10, 15), kGreen);
  EXPECT_EQ(At(150, 15), kGreen);
  EXPECT_TRUE(IsGradient(9, 15));
  EXPECT_TRUE(IsGradient(151, 15));
  for (uint32_t row : {17u, 26u, 40u, 59u, 85u}) EXPECT_EQ(At(80, row), kGreen) << "row " << row;
}

TEST_F(Thumbnail, GreyLinesPassTheirPointsAndWinAtCrossings) {
  const std::vector<std::pair<uint32_t, uint32_t>> left = {{10, 10}, {10, 11}, {11, 12}, {11, 13}, {11, 14},
                                                           {12, 15}, {39, 108}, {40, 109}, {40, 110}};
  for (const auto& [x, y] : left) {
    EXPECT_EQ(At(x, y), kGrey) << "(" << x << ", " << y << ")";
    EXPECT_EQ(At(kWidth - x, y), kGrey) << "mirror of (" << x << ", " << y << ")";
  }
  EXPECT_TRUE(IsGradient(40, 111)) << "the line ends at (40, 110)";
  const struct {
    uint32_t row, x;
  } crossings[] = {{15, 12}, {17, 12}, {26, 15}, {40, 19}, {59, 25}, {85, 33}};
  for (const auto& c : crossings) {
    EXPECT_EQ(At(c.x, c.row), kGrey) << "row " << c.row;
    EXPECT_EQ(At(kWidth - c.x, c.row), kGrey) << "row " << c.row;
  }
}

TEST_F(Thumbnail, CountsGreenGreyAndGradientPixels) {
  uint32_t green = 0, grey = 0, other = 0;
  for (uint32_t y = 0; y < kHeight; ++y) {
    for (uint32_t x = 0; x < kWidth; ++x) {
      const Pixel p = At(x, y);
      if (p == kGreen) {
        ++green;
      } else if (p == kGrey) {
        ++grey;
      } else {
        ++other;
        EXPECT_TRUE(IsGradient(x, y) && p.green == 0 && p.alpha == 255) << "(" << x << ", " << y << ")";
      }
    }
  }
  EXPECT_EQ(green, 834u);
  EXPECT_EQ(grey, 202u);
  EXPECT_EQ(other, kWidth * kHeight - 834u - 202u);
}

}  // namespace
}  // namespace qvx::test

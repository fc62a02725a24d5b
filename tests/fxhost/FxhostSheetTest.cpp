// fxhost sheet, end to end: the grid holds the input and the module's
// renders of it, each tile the one its label names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fxhost/FxhostTestSupport.h"
#include "tools/fxhost/ContactSheet.h"
#include "tools/fxhost/SyntheticScene.h"

namespace qvx::test {
namespace {

constexpr uint32_t kTileWidth = 64;
constexpr uint32_t kTileHeight = 36;
constexpr int kFrame = 10;

// The tile at a grid position, cut out of the sheet.
Picture CutTile(const Picture& sheet, const fxhost::ContactSheet& layout, uint32_t index) {
  Picture tile;
  tile.width = kTileWidth;
  tile.height = kTileHeight;
  tile.channels = sheet.channels;
  tile.bitDepth = sheet.bitDepth;
  for (uint32_t y = 0; y < kTileHeight; ++y) {
    for (uint32_t x = 0; x < kTileWidth; ++x) {
      for (uint32_t c = 0; c < sheet.channels; ++c) {
        tile.samples.push_back(sheet.At(layout.TileX(index) + x, layout.TileY(index) + y, c));
      }
    }
  }
  return tile;
}

TEST(FxhostSheet, ShowsTheInputEveryColourMapAndEachSwitchedOnParameter) {
  WorkFolder folder;
  const RunResult run = RunFxhost({"sheet", QVX_MODULE_PATH, "--nearest", "--tile", "64x36", "--frame",
                                   std::to_string(kFrame), "--param", "Colormap=Magma", "-o", "sheet.png"},
                                  folder.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // Input, six colour maps, then Show Edges, Depth Sweep, Luma Pulse, Colormap Cycle, Isolate Band.
  const fxhost::ContactSheet layout(kTileWidth, kTileHeight, 4, 12);
  const Picture sheet = ReadPicture(folder / "sheet.png");
  ASSERT_EQ(sheet.width, layout.Width());
  ASSERT_EQ(sheet.height, layout.Height());

  const fxhost::Image scene = fxhost::MakeSyntheticScene(kTileWidth, kTileHeight);
  const Picture input = CutTile(sheet, layout, 0);
  EXPECT_EQ(input.At(10, 30, 0), scene.At(10, 30) >> 8);

  const ReferenceTexture texture = GreyTexture(scene.samples, kTileWidth, kTileHeight, kTileWidth, kTileHeight);
  struct TileCase {
    uint32_t index;
    int32_t colormap;
    float lumaPulse;
    float depthSweep;
  };
  // Tiles whose picture is continuous in depth; the base setting (Magma)
  // stays under the switched-on parameters.
  const TileCase tiles[] = {{1, 0, 0, 0}, {5, 4, 0, 0}, {6, 5, 0, 0}, {8, 2, 0, 1}, {9, 2, 1, 0}};
  for (const TileCase& tile : tiles) {
    DepthUniforms uniforms;
    uniforms.colormap = tile.colormap;
    uniforms.lumaPulse = tile.lumaPulse;
    uniforms.depthSweep = tile.depthSweep;
    uniforms.time = EffectTime(kFrame, 0.5f);
    EXPECT_EQ(CompareWithReference(CutTile(sheet, layout, tile.index), RenderDepthReference(texture, uniforms), 2),
              "")
        << "tile " << tile.index;
  }
}

}  // namespace
}  // namespace qvx::test

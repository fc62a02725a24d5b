// The picture `fxhost sheet` writes: a title line, then a grid of labelled
// tiles (each tile a rendered frame, its label in a strip below it) on a dark
// background.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fxhost {

struct SheetTile {
  std::string label;
  std::vector<uint8_t> rgba;  // tileWidth x tileHeight RGBA8, top row first
};

class ContactSheet {
 public:
  ContactSheet(uint32_t tileWidth, uint32_t tileHeight, uint32_t columns, uint32_t tileCount);

  uint32_t Width() const { return width; }
  uint32_t Height() const { return height; }
  // Top-left corner of a tile's picture in the sheet.
  uint32_t TileX(uint32_t index) const;
  uint32_t TileY(uint32_t index) const;

  // Draws the title, the tiles and their labels; answers the RGBA8 sheet.
  std::vector<uint8_t> Compose(const std::string& title, const std::vector<SheetTile>& tiles) const;

 private:
  uint32_t tileWidth;
  uint32_t tileHeight;
  uint32_t columns;
  uint32_t rows;
  int textScale;
  uint32_t margin;
  uint32_t titleHeight;
  uint32_t labelHeight;
  uint32_t width;
  uint32_t height;
};

}  // namespace fxhost

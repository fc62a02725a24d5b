#include "tools/fxhost/ContactSheet.h"

#include <algorithm>
#include <cstring>

#include "tools/fxhost/BitmapFont.h"

namespace fxhost {
namespace {

constexpr Colour kBackground{24, 24, 28, 255};
constexpr Colour kLabelColour{235, 235, 235, 255};
constexpr Colour kTitleColour{255, 255, 255, 255};

// The longest label that fits in the width, cut with ".." when needed.
std::string Fit(const std::string& text, uint32_t width, int scale) {
  if (TextWidth(text, scale) <= static_cast<int>(width)) return text;
  std::string cut = text;
  while (!cut.empty() && TextWidth(cut + "..", scale) > static_cast<int>(width)) cut.pop_back();
  return cut + "..";
}

}  // namespace

ContactSheet::ContactSheet(uint32_t tileWidthPixels, uint32_t tileHeightPixels, uint32_t columnCount,
                           uint32_t tileCount)
    : tileWidth(tileWidthPixels),
      tileHeight(tileHeightPixels),
      columns(std::max<uint32_t>(1, std::min(columnCount, std::max<uint32_t>(tileCount, 1)))),
      rows((std::max<uint32_t>(tileCount, 1) + columns - 1) / columns),
      textScale(tileWidthPixels >= 240 ? 2 : 1),
      margin(static_cast<uint32_t>(4 * textScale)) {
  labelHeight = static_cast<uint32_t>((kGlyphHeight + 4) * textScale);
  titleHeight = static_cast<uint32_t>((kGlyphHeight + 6) * textScale);
  width = margin + columns * (tileWidth + margin);
  height = titleHeight + margin + rows * (tileHeight + labelHeight + margin);
}

uint32_t ContactSheet::TileX(uint32_t index) const { return margin + (index % columns) * (tileWidth + margin); }

uint32_t ContactSheet::TileY(uint32_t index) const {
  return titleHeight + margin + (index / columns) * (tileHeight + labelHeight + margin);
}

std::vector<uint8_t> ContactSheet::Compose(const std::string& title, const std::vector<SheetTile>& tiles) const {
  std::vector<uint8_t> sheet(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < sheet.size(); i += 4) std::memcpy(&sheet[i], &kBackground, 4);
  DrawText(sheet.data(), width, height, static_cast<int>(margin), 3 * textScale,
           Fit(title, width - 2 * margin, textScale), textScale, kTitleColour);
  for (uint32_t index = 0; index < tiles.size(); ++index) {
    const uint32_t x = TileX(index);
    const uint32_t y = TileY(index);
    for (uint32_t row = 0; row < tileHeight; ++row) {
      std::memcpy(&sheet[(static_cast<size_t>(y + row) * width + x) * 4],
                  &tiles[index].rgba[static_cast<size_t>(row) * tileWidth * 4], static_cast<size_t>(tileWidth) * 4);
    }
    DrawText(sheet.data(), width, height, static_cast<int>(x), static_cast<int>(y + tileHeight) + 2 * textScale,
             Fit(tiles[index].label, tileWidth, textScale), textScale, kLabelColour);
  }
  return sheet;
}

}  // namespace fxhost

// A tiny built-in 5x7 pixel font for the labels of a contact sheet: capital
// letters (small letters are drawn as capitals), digits and common
// punctuation; anything else is drawn as '?'.
#pragma once

#include <cstdint>
#include <string>

namespace fxhost {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = 6;  // one blank column between characters

struct Colour {
  uint8_t red, green, blue, alpha;
};

// Width in pixels of the text drawn at the given scale.
int TextWidth(const std::string& text, int scale);

// Draws the text with its top-left corner at (x, y) into an RGBA8 picture
// (rows top first), every font pixel a scale x scale block. Pixels outside
// the picture are skipped.
void DrawText(uint8_t* rgba, uint32_t width, uint32_t height, int x, int y, const std::string& text, int scale,
              Colour colour);

}  // namespace fxhost

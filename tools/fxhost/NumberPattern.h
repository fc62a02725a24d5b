// File names with one printf number in them ("frames/f_%04d.png"), for
// numbered input and output sequences.
#pragma once

#include <cstdint>
#include <string>

namespace fxhost {

// True when the text holds exactly one %d or %u conversion (flags and width
// digits allowed, e.g. %04d) and no other % but "%%". Only such patterns are
// ever handed to printf.
bool IsNumberPattern(const std::string& pattern);

// The pattern with the number put in. The pattern must pass IsNumberPattern.
std::string FormatNumberPattern(const std::string& pattern, uint64_t number);

}  // namespace fxhost

// fxhost sheet: one picture showing at a glance what the module does — the
// same input through every element of each option parameter (every colour
// map) and with each parameter that is off by default switched on (each
// animation and the edges), all at a chosen frame, as a labelled grid.
#pragma once

#include <cstdint>
#include <string>

#include "tools/fxhost/SharedOptions.h"

namespace CLI {
class App;
}

namespace fxhost {

struct SheetOptions {
  SharedOptions shared;
  std::string output;
  std::string tile = "320x180";
  uint32_t columns = 4;
  uint64_t frame = 90;
};

void RegisterSheetOptions(CLI::App& command, SheetOptions& options);
void RunSheet(const SheetOptions& options);

}  // namespace fxhost

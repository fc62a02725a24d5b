// fxhost info: what a module says about itself, its parameter table, and
// optionally its thumbnail picture as a PNG.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace fxhost {

struct InfoOptions {
  std::string module;         // empty: the default module
  std::string thumbnailPath;  // empty: no thumbnail file
};

void RegisterInfoOptions(CLI::App& command, InfoOptions& options);
void RunInfo(const InfoOptions& options);

}  // namespace fxhost

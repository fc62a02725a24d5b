#include "tools/fxhost/InfoCommand.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <vector>

#include "host/FunctionCodes.h"
#include "host/HostRecords.h"
#include "tools/fxhost/AtomicFile.h"
#include "tools/fxhost/Error.h"
#include "tools/fxhost/ModuleDescription.h"
#include "tools/fxhost/ModuleLoader.h"
#include "tools/fxhost/ModuleLocator.h"
#include "tools/fxhost/PngFile.h"

namespace fxhost {
namespace {

struct Thumbnail {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> rgba;  // 4 bytes a pixel, R G B A
};

constexpr uint32_t kLargestThumbnailSide = 4096;

// Code 42: the size first, then the pixels. Pixels arrive packed as
// R<<24 | G<<16 | B<<8 | A in little-endian memory, i.e. bytes A B G R.
bool ReadThumbnail(const ModuleLoader& module, Thumbnail* thumbnail) {
  ThumbnailQuery query{0, 0, nullptr};
  if (!ModuleLoader::Succeeded(module.CallWith(qvx::kGetThumbnail, &query))) return false;
  if (query.width == 0 || query.height == 0) return false;
  if (query.width > kLargestThumbnailSide || query.height > kLargestThumbnailSide) {
    throw Error("the module answers an implausible thumbnail size " + std::to_string(query.width) + "x" +
                std::to_string(query.height));
  }
  std::vector<uint8_t> packed(static_cast<size_t>(query.width) * query.height * 4);
  ThumbnailQuery fill{0, 0, packed.data()};
  if (!ModuleLoader::Succeeded(module.CallWith(qvx::kGetThumbnail, &fill))) return false;
  if (fill.width != query.width || fill.height != query.height) {
    throw Error("the module changed its thumbnail size between two questions");
  }
  thumbnail->width = query.width;
  thumbnail->height = query.height;
  thumbnail->rgba.resize(packed.size());
  for (size_t i = 0; i < packed.size(); i += 4) {
    thumbnail->rgba[i + 0] = packed[i + 3];
    thumbnail->rgba[i + 1] = packed[i + 2];
    thumbnail->rgba[i + 2] = packed[i + 1];
    thumbnail->rgba[i + 3] = packed[i + 0];
  }
  return true;
}

std::string FormatNumber(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

std::string PluginTypeName(uint32_t type) {
  switch (type) {
    case 0: return "effect (0)";
    case 1: return "source (1)";
    case 2: return "mixer (2)";
    default: return "type " + std::to_string(type);
  }
}

std::string DescribeDefault(const ParameterDescription& parameter) {
  if (parameter.IsTextValued()) return "\"" + parameter.defaultText + "\"";
  std::string text = FormatNumber(parameter.defaultValue);
  if (parameter.type == qvx::kTypeBoolean) text += parameter.defaultValue > 0.5f ? " (on)" : " (off)";
  for (const OptionElement& element : parameter.elements) {
    if (parameter.IsOption() && element.value == parameter.defaultValue) {
      text += " (" + element.name + ")";
      break;
    }
  }
  return text;
}

void PrintDescription(const ModuleDescription& description, const std::string& path, const Thumbnail* thumbnail) {
  std::printf("Module:       %s\n", path.c_str());
  std::printf("Name:         %s\n", description.name.c_str());
  std::printf("Identifier:   %s\n", description.identifier.c_str());
  std::printf("Plugin type:  %s\n", PluginTypeName(description.pluginType).c_str());
  std::printf("Interface:    %u.%u\n", description.interfaceMajorVersion, description.interfaceMinorVersion);
  std::printf("Version:      %u.%u\n", description.pluginMajorVersion, description.pluginMinorVersion);
  std::printf("Description:  %s\n", description.description.c_str());
  std::printf("About:        %s\n", description.about.c_str());
  if (!description.auxiliaryText.empty()) std::printf("Auxiliary:    %s\n", description.auxiliaryText.c_str());
  std::printf("Inputs:       %u to %u\n", description.minimumInputs, description.maximumInputs);
  std::printf("Capabilities: 5 %s, 16 %s\n", description.capability5 ? "yes" : "no",
              description.capability16 ? "yes" : "no");
  if (thumbnail != nullptr) {
    std::printf("Thumbnail:    %ux%u\n", thumbnail->width, thumbnail->height);
  } else {
    std::printf("Thumbnail:    none\n");
  }

  std::printf("\nParameters (%zu):\n", description.parameters.size());
  std::printf("  %-5s %-18s %-9s %-14s %-12s %s\n", "Index", "Name", "Type", "Default", "Range", "Elements");
  for (const ParameterDescription& parameter : description.parameters) {
    std::string elements;
    for (const OptionElement& element : parameter.elements) {
      elements += (elements.empty() ? "" : ", ") + element.name + "=" + FormatNumber(element.value);
    }
    const std::string range = FormatNumber(parameter.minimum) + " to " + FormatNumber(parameter.maximum);
    char row[512];
    std::snprintf(row, sizeof row, "  %-5u %-18s %-9s %-14s %-12s %s", parameter.index, parameter.name.c_str(),
                  ParameterTypeName(parameter.type).c_str(), DescribeDefault(parameter).c_str(), range.c_str(),
                  elements.c_str());
    std::string line = row;
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::printf("%s\n", line.c_str());
  }
}

}  // namespace

void RegisterInfoOptions(CLI::App& command, InfoOptions& options) {
  command.add_option("module", options.module,
                     "The module to describe (default: the Quorvalentix module built or installed with fxhost)");
  command.add_option("--thumbnail", options.thumbnailPath, "Also write the module's thumbnail picture to this PNG file");
}

void RunInfo(const InfoOptions& options) {
  const std::string path = ResolveModulePath(options.module);
  ModuleLoader module(path);
  const ModuleDescription description = DescribeModule(module);
  Thumbnail thumbnail;
  const bool hasThumbnail = ReadThumbnail(module, &thumbnail);
  if (!options.thumbnailPath.empty()) {
    if (!hasThumbnail) throw Error("the module has no thumbnail picture (code 42 failed)");
    PrepareOutputFolder(options.thumbnailPath);
    AtomicFile file(options.thumbnailPath);
    WritePng(file.TemporaryPath(), thumbnail.width, thumbnail.height, 4, 8, thumbnail.rgba.data(),
             static_cast<size_t>(thumbnail.width) * 4, 9);
    file.Commit();
  }
  PrintDescription(description, path, hasThumbnail ? &thumbnail : nullptr);
  if (!options.thumbnailPath.empty()) std::printf("\nThumbnail written to %s\n", options.thumbnailPath.c_str());
}

}  // namespace fxhost

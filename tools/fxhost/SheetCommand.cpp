#include "tools/fxhost/SheetCommand.h"

#include <CLI/CLI.hpp>

#include <cstdio>

#include "host/FunctionCodes.h"
#include "tools/fxhost/AtomicFile.h"
#include "tools/fxhost/ContactSheet.h"
#include "tools/fxhost/Error.h"
#include "tools/fxhost/GLFunctions.h"
#include "tools/fxhost/HostLog.h"
#include "tools/fxhost/HostSession.h"
#include "tools/fxhost/InputSource.h"
#include "tools/fxhost/InputTexture.h"
#include "tools/fxhost/ModuleLocator.h"
#include "tools/fxhost/PluginInstance.h"
#include "tools/fxhost/PngFile.h"
#include "tools/fxhost/RenderTarget.h"

namespace fxhost {
namespace {

constexpr uint64_t kLatestFrame = 100000;
constexpr uint32_t kMostTiles = 256;

// One tile: the settings it applies on top of the user's, and its label.
struct TilePlan {
  std::string label;
  std::vector<ParameterSetting> settings;
};

// Every element of every option parameter, then every boolean or standard
// parameter that is off (0) by default, switched to its maximum.
std::vector<TilePlan> PlanTiles(const ModuleDescription& description) {
  std::vector<TilePlan> plans;
  for (const ParameterDescription& parameter : description.parameters) {
    if (!parameter.IsOption()) continue;
    for (const OptionElement& element : parameter.elements) {
      plans.push_back({parameter.name + ": " + element.name,
                       {MakeNumericSetting(parameter, element.value, parameter.name + "=" + element.name)}});
    }
  }
  for (const ParameterDescription& parameter : description.parameters) {
    const bool numeric = parameter.type == qvx::kTypeBoolean || parameter.type == qvx::kTypeStandard;
    if (!numeric || parameter.defaultValue != 0.0f || !(parameter.maximum > 0.0f)) continue;
    char value[32];
    std::snprintf(value, sizeof value, "%g", static_cast<double>(parameter.maximum));
    plans.push_back({parameter.name + " " + (parameter.type == qvx::kTypeBoolean ? std::string("on") : value),
                     {MakeNumericSetting(parameter, parameter.maximum, parameter.name + "=" + value)}});
  }
  return plans;
}

// The input itself, as grey (or its colours), drawn by the host: the first tile.
std::vector<uint8_t> InputTile(const Image& picture) {
  std::vector<uint8_t> rgba(static_cast<size_t>(picture.width) * picture.height * 4);
  const uint32_t shift = picture.bitDepth == 16 ? 8 : 0;
  for (uint32_t y = 0; y < picture.height; ++y) {
    for (uint32_t x = 0; x < picture.width; ++x) {
      uint8_t* pixel = &rgba[(static_cast<size_t>(y) * picture.width + x) * 4];
      const bool colour = picture.channels >= 3;
      for (uint32_t c = 0; c < 3; ++c) pixel[c] = static_cast<uint8_t>(picture.At(x, y, colour ? c : 0) >> shift);
      pixel[3] = 255;
    }
  }
  return rgba;
}

// Renders frameCount frames on a fresh instance (so every tile's clock starts
// at zero) and reads the last one back.
std::vector<uint8_t> RenderTile(const HostSession& session, InputTexture& texture, RenderTarget& target,
                                const std::vector<ParameterSetting>& baseSettings, const TilePlan& plan,
                                uint64_t frameCount) {
  const Viewport viewport{0, 0, target.Width(), target.Height()};
  PluginInstance instance(session.Module(), viewport);
  instance.SetHostInfo("fxhost", QVX_VERSION);
  for (const ParameterSetting& setting : baseSettings) instance.SetParameter(setting);
  for (const ParameterSetting& setting : plan.settings) instance.SetParameter(setting);
  for (uint64_t frame = 0; frame < frameCount; ++frame) {
    instance.SetHostTime(static_cast<double>(frame) / 60.0);
    instance.Render(texture.Descriptor(), target.Framebuffer());
  }
  std::vector<uint8_t> rgba(static_cast<size_t>(target.Width()) * target.Height() * 4);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, target.Framebuffer());
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, static_cast<GLsizei>(target.Width()), static_cast<GLsizei>(target.Height()), GL_RGBA,
               GL_UNSIGNED_BYTE, rgba.data());
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  CheckGLError("reading a tile back");
  return rgba;
}

}  // namespace

void RegisterSheetOptions(CLI::App& command, SheetOptions& options) {
  RegisterSharedOptions(command, options.shared);
  command.add_option("-o,--output", options.output, "The sheet's PNG file")->required();
  command.add_option("--tile", options.tile, "Size of each tile, WIDTHxHEIGHT (default 320x180)");
  command.add_option("--columns", options.columns, "Tiles per row (default 4)");
  command.add_option("--frame", options.frame,
                     "Show every tile as it is after this many rendered frames (default 90: 1.5 s at 60 fps), "
                     "so the animations have moved");
}

void RunSheet(const SheetOptions& options) {
  uint32_t tileWidth = 0;
  uint32_t tileHeight = 0;
  ParseSize(options.tile, "--tile", &tileWidth, &tileHeight);
  if (options.columns == 0 || options.columns > kMostTiles) throw Error("--columns must lie between 1 and 256");
  if (options.frame == 0 || options.frame > kLatestFrame) throw Error("--frame must lie between 1 and 100000");
  if (options.output.empty()) throw Error("the sheet needs an output file: -o sheet.png");
  PrepareOutputFolder(options.output);

  HostLog::SetEcho(!options.shared.quiet);
  HostSession session(ResolveModulePath(options.shared.module), ContextKind(options.shared));
  const ModuleDescription& description = session.Description();
  const std::vector<ParameterSetting> baseSettings = ParseParameterSettings(options.shared, description);
  InputSource input(MakeInputOptions(options.shared, tileWidth, tileHeight));
  const std::vector<TilePlan> plans = PlanTiles(description);
  if (plans.size() + 1 > kMostTiles) throw Error("the module has too many variations for one sheet");

  Inform(options.shared, "module: " + description.name + " from " + session.Module().Path());
  Inform(options.shared, "input: " + input.Describe());
  Inform(options.shared, "OpenGL: " + session.DescribeGL());

  const Image& picture = input.Picture(0);
  InputTexture texture(picture, false, options.shared.nearest);
  texture.Upload(picture);
  RenderTarget target(tileWidth, tileHeight);

  std::vector<SheetTile> tiles;
  tiles.push_back({"Input", InputTile(picture)});
  for (const TilePlan& plan : plans) {
    tiles.push_back({plan.label, RenderTile(session, texture, target, baseSettings, plan, options.frame)});
  }

  std::string title = description.name + " " + std::to_string(description.pluginMajorVersion) + "." +
                      std::to_string(description.pluginMinorVersion) + " - frame " + std::to_string(options.frame);
  for (const ParameterSetting& setting : baseSettings) title += ", " + setting.label;
  const ContactSheet sheet(tileWidth, tileHeight, options.columns, static_cast<uint32_t>(tiles.size()));
  const std::vector<uint8_t> pixels = sheet.Compose(title, tiles);
  AtomicFile file(options.output);
  WritePng(file.TemporaryPath(), sheet.Width(), sheet.Height(), 4, 8, pixels.data(),
           static_cast<size_t>(sheet.Width()) * 4, 9);
  file.Commit();
  Inform(options.shared, "wrote " + options.output + ": " + std::to_string(tiles.size()) + " tiles, " +
                             std::to_string(sheet.Width()) + "x" + std::to_string(sheet.Height()));
}

}  // namespace fxhost

// fxhost: the stand-alone host. See `fxhost --help` and each command's --help.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
#include <new>

#include "tools/fxhost/Error.h"
#include "tools/fxhost/InfoCommand.h"
#include "tools/fxhost/RenderCommand.h"
#include "tools/fxhost/SheetCommand.h"
#include "tools/fxhost/System.h"
#include "tools/fxhost/ValidateCommand.h"

namespace {

int Fail(const std::string& message) {
  std::fflush(stdout);
  std::fprintf(stderr, "fxhost: error: %s\n", fxhost::Error::OneLine(message).c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  fxhost::IgnoreBrokenPipes();

  CLI::App app{
      "fxhost " QVX_VERSION " - a stand-alone host for video-effect modules: it loads a module, shows what it "
      "offers, and renders its effect on a depth picture (a PNG, a sequence, or a built-in scene) to PNGs or "
      "video, headless by default.\n\nExamples:\n"
      "  fxhost info\n"
      "  fxhost render -o out.png --param Colormap=Turbo --param \"Show Edges=1\"\n"
      "  fxhost render -i depth16.png --range auto --invert -o out.png\n"
      "  fxhost render --frames 180 --param \"Depth Sweep=1\" -o sweep.mp4\n"
      "  fxhost sheet -o sheet.png\n",
      "fxhost"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "fxhost " QVX_VERSION);

  fxhost::InfoOptions infoOptions;
  CLI::App* info = app.add_subcommand("info", "Show a module's identity, versions, texts, capabilities and parameters");
  fxhost::RegisterInfoOptions(*info, infoOptions);

  fxhost::RenderOptions renderOptions;
  CLI::App* render =
      app.add_subcommand("render", "Render frames of the module's effect on an input and write PNGs or a video");
  fxhost::RegisterRenderOptions(*render, renderOptions);

  fxhost::SheetOptions sheetOptions;
  CLI::App* sheet = app.add_subcommand(
      "sheet", "Write one labelled picture of the input through every colour map and with each animation and the "
               "edges on");
  fxhost::RegisterSheetOptions(*sheet, sheetOptions);

  fxhost::ValidateOptions validateOptions;
  CLI::App* validate = app.add_subcommand(
      "validate", "Check that a module is safe to host: definitions, lifecycles, extreme values, bad input and GL "
                  "state, each group in a child process; exit status 1 on any failed check");
  fxhost::RegisterValidateOptions(*validate, validateOptions);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& request) {
    return app.exit(request);
  } catch (const CLI::CallForAllHelp& request) {
    return app.exit(request);
  } catch (const CLI::CallForVersion& request) {
    return app.exit(request);
  } catch (const CLI::ParseError& error) {
    // CLI11's own report takes two lines; ours is one, like every other error.
    Fail(std::string(error.what()) + " (see fxhost --help)");
    return error.get_exit_code() != 0 ? error.get_exit_code() : 2;
  }

  try {
    if (info->parsed()) fxhost::RunInfo(infoOptions);
    if (render->parsed()) fxhost::RunRender(renderOptions);
    if (sheet->parsed()) fxhost::RunSheet(sheetOptions);
    if (validate->parsed()) return fxhost::RunValidate(validateOptions);
  } catch (const fxhost::Error& error) {
    return Fail(error.what());
  } catch (const std::bad_alloc&) {
    return Fail("out of memory");
  } catch (const std::exception& error) {
    return Fail(error.what());
  }
  return 0;
}

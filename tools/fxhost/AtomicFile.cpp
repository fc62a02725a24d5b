#include "tools/fxhost/AtomicFile.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include "tools/fxhost/Error.h"

namespace fxhost {
namespace {

// Distinct temporary names for files written at the same time by several
// workers and by several fxhost processes.
std::string UniqueSuffix() {
  static const unsigned processTag = std::random_device{}();
  static std::atomic<unsigned> counter{0};
  char suffix[40];
  std::snprintf(suffix, sizeof suffix, "%08x-%u", processTag, counter.fetch_add(1));
  return suffix;
}

std::filesystem::path FolderOf(const std::string& path) {
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : finalPath(std::move(path)) {
  const std::filesystem::path target(finalPath);
  temporaryPath =
      (FolderOf(finalPath) / ("." + target.filename().string() + ".partial-" + UniqueSuffix())).string();
}

AtomicFile::~AtomicFile() {
  if (committed) return;
  std::error_code ignored;
  std::filesystem::remove(temporaryPath, ignored);
}

void AtomicFile::Commit() {
  std::error_code error;
  std::filesystem::rename(temporaryPath, finalPath, error);
  if (error) throw Error("cannot move the finished file into place as '" + finalPath + "': " + error.message());
  committed = true;
}

void PrepareOutputFolder(const std::string& path) {
  const std::filesystem::path folder = FolderOf(path);
  std::error_code error;
  if (!std::filesystem::exists(folder, error)) {
    std::filesystem::create_directories(folder, error);
    if (error) throw Error("cannot make the output folder '" + folder.string() + "': " + error.message());
  } else if (!std::filesystem::is_directory(folder, error)) {
    throw Error("cannot write into '" + folder.string() + "': it is not a folder");
  }
  if (std::filesystem::is_directory(path, error)) throw Error("cannot write '" + path + "': it is a folder");
  // The one sure test of writability is making a file there.
  const std::string probe = (folder / (".fxhost-probe-" + UniqueSuffix())).string();
  {
    std::ofstream file(probe);
    if (!file) throw Error("cannot write into the folder '" + folder.string() + "'");
  }
  std::filesystem::remove(probe, error);
}

}  // namespace fxhost

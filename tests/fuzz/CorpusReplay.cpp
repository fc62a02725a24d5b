// Runs the fuzz target over files and directories of inputs without libFuzzer,
// so every build (gcc, the sanitizer preset) replays the seed corpus and any
// reproducer as an ordinary test. Exit status 0 when every input ran through.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Replay(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  std::printf("replaying %s (%zu bytes)\n", file.string().c_str(), bytes.size());
  std::fflush(stdout);
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE_OR_DIRECTORY...\n", argv[0]);
    return 2;
  }
  LLVMFuzzerInitialize(&argc, &argv);
  size_t replayed = 0;
  for (int argument = 1; argument < argc; ++argument) {
    const std::filesystem::path path(argv[argument]);
    if (std::filesystem::is_directory(path)) {
      std::vector<std::filesystem::path> files;
      for (const auto& entry : std::filesystem::directory_iterator(path))
        if (entry.is_regular_file()) files.push_back(entry.path());
      std::sort(files.begin(), files.end());
      for (const auto& file : files) Replay(file);
      replayed += files.size();
    } else {
      Replay(path);
      ++replayed;
    }
  }
  if (replayed == 0) {
    std::fprintf(stderr, "no inputs found\n");
    return 1;
  }
  std::printf("%zu inputs replayed, no finding\n", replayed);
  return 0;
}

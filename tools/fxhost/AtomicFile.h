// Output files appear complete or not at all: the content is written under a
// temporary name in the same folder and renamed into place once finished, so
// a failed or interrupted run leaves no half-written file under the real name.
#pragma once

#include <string>

namespace fxhost {

class AtomicFile {
 public:
  explicit AtomicFile(std::string finalPath);
  // Removes the temporary file unless Commit succeeded.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Where to write: a hidden name beside the final one.
  const std::string& TemporaryPath() const { return temporaryPath; }
  const std::string& FinalPath() const { return finalPath; }
  // Renames the temporary file to the final name. Throws Error.
  void Commit();

 private:
  std::string finalPath;
  std::string temporaryPath;
  bool committed = false;
};

// Makes the folder that will hold path (with its parents) and checks that a
// new file can be made there. Throws Error naming the folder and the reason.
void PrepareOutputFolder(const std::string& path);

}  // namespace fxhost

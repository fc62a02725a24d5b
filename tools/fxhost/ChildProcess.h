// A program fxhost starts and feeds through its standard input (ffmpeg,
// encoding video). What the program prints goes to a temporary file, read
// back for error messages. Implemented per platform (platform/ChildProcess<Platform>.cpp).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace fxhost {

class ChildProcess {
 public:
  // Starts the program (a path) with the arguments. Throws Error when it cannot.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
  ~ChildProcess();  // kills and reaps a child still running
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Writes everything; false when the child no longer reads (it ended or failed).
  bool Write(const void* data, size_t size);
  // Closes the child's input and waits for it; true when it exited with status 0.
  bool Finish();
  // Ends the child at once and waits for it; writes into its input fail from then on.
  void Kill();
  // The last line the child printed, for error messages.
  std::string LastOutputLine() const;

 private:
  struct Impl;
  Impl* impl = nullptr;
};

}  // namespace fxhost

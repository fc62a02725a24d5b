// Catches what is written to the process's standard output while it is
// active. A module writes its shader-error log there; fxhost catches it
// around instance creation to show it to the user as the module's log (on
// standard error, or inside the error message), keeping its own standard
// output for its results. Implemented per platform (platform/StdoutCapture<Platform>.cpp).
#pragma once

#include <string>

namespace fxhost {

class StdoutCapture {
 public:
  StdoutCapture();   // starts catching; does nothing when standard output cannot be redirected
  ~StdoutCapture();  // stops, dropping nothing: the text is kept for Finish
  StdoutCapture(const StdoutCapture&) = delete;
  StdoutCapture& operator=(const StdoutCapture&) = delete;

  // Stops catching and answers what was written (empty when nothing was).
  std::string Finish();

 private:
  struct Impl;
  Impl* impl = nullptr;
};

}  // namespace fxhost

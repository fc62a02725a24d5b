// Receives the texts a module sends to its host log (SetLogCallback). A plain
// C callback carries no context, so the receiver is process-wide: fxhost hosts
// one module at a time. Each distinct text is echoed to standard error when it
// first arrives (unless quieted: a sheet makes many instances that all say the
// same), and the recent ones are kept for error messages.
#pragma once

#include <string>
#include <vector>

namespace fxhost {

class HostLog {
 public:
  // The function handed to the module's SetLogCallback.
  static void Receive(const char* text);

  // Echo each text to standard error as "module log: <text>" (default on).
  static void SetEcho(bool echo);
  // The texts received since the last Clear, oldest first.
  static std::vector<std::string> Received();
  // The received texts joined by " | ", or an empty text.
  static std::string Summary();
  static void Clear();
};

}  // namespace fxhost

// The few operating-system facts fxhost needs, implemented per platform
// (platform/System<Platform>.cpp).
#pragma once

#include <string>

namespace fxhost {

// The running executable's own path, or an empty text when it cannot be found.
std::string ExecutablePath();

// Whether standard error is a terminal (progress bars go only there), and its
// width in columns (80 when it cannot be asked).
bool StandardErrorIsTerminal();
int TerminalColumns();

// The full path of a program found on PATH (or the argument itself when it
// names a file with a directory part and that file is executable); empty
// when there is none.
std::string FindProgram(const std::string& program);

// Called once at start: writing into a pipe whose reader died (a crashed
// encoder) must be an error answer, not a signal that kills fxhost.
void IgnoreBrokenPipes();

}  // namespace fxhost

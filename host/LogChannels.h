// The module's two log channels, which never meet:
//  - the host log: texts handed unchanged to the callback the host installed
//    through SetLogCallback (nothing happens when none is installed);
//  - the shader-error log: compiler and linker messages, one line each, to the
//    debugger output and to standard output; never to the host's callback.
// Neither adds a time stamp, level or name.
#pragma once

#include <initializer_list>

namespace qvx {

// Hands the very pointer to the host's callback, if one is installed and the
// text is not null.
void SendHostLog(const char* text);

// Joins the texts, in order and with nothing between them, into one line and
// writes it to the debugger output (then a separate "\n") and to standard
// output (then an end of line and a flush). On Windows the debugger output is
// OutputDebugStringA; elsewhere it is standard error.
void LogShaderError(std::initializer_list<const char*> texts);

}  // namespace qvx

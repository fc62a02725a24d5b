// A loadable library that is no module: it exports a function, but not plugMain.
#include "host/Exports.h"

extern "C" QVX_EXPORT int NotAnEntryPoint() { return 1; }

// Where fxhost finds the module when the user names none.
#pragma once

#include <string>
#include <vector>

namespace fxhost {

// The places searched, in order: beside the executable; the build tree
// (<build>/tools/fxhost/fxhost -> <build>/effect/); the installed layout
// (<prefix>/bin/fxhost -> <prefix>/<libdir>/quorvalentix/); the path this
// build wrote its module to.
std::vector<std::string> DefaultModuleCandidates();

// The module argument if given, else the first candidate that exists. Throws
// Error listing the places searched when none does.
std::string ResolveModulePath(const std::string& requested);

}  // namespace fxhost

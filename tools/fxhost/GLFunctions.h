// fxhost's own GL calls come through GLEW, loaded once a context is current.
#pragma once

#include <GL/glew.h>

#include <string>

namespace fxhost {

// Loads the entry points and checks for OpenGL 4.1 and the calls fxhost
// makes. Throws Error otherwise.
void LoadGLFunctions();

// "llvmpipe (LLVM 15.0.6, 256 bits), OpenGL 4.5 (Core Profile) Mesa 22.3.6"
std::string DescribeRenderer();

// The largest texture and framebuffer side this GL accepts.
int MaximumTextureSide();

// Throws Error naming what failed when the GL has recorded an error.
void CheckGLError(const char* what);

}  // namespace fxhost

// Loads the OpenGL entry points through GLEW, with the host's context current.
#pragma once

namespace qvx {

// Runs glewInit once and answers whether the entry points are usable. A GLX
// build of GLEW answers "no GLX display" in a context made through EGL even
// though it loaded every OpenGL entry point; that one answer counts as
// success when the OpenGL 4.1 entry points are present.
bool LoadGLEntryPoints();

}  // namespace qvx

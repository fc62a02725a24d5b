// OpenGL contexts for the tests, made the way a host makes them.
//  - GlxContext: a 4.1 core profile context through GLX on $DISPLAY (the test
//    command runs under its own virtual X server), current on a small pbuffer.
//  - EglSurfacelessContext: a 4.1 core context through EGL on Mesa's
//    surfaceless platform, no X server at all.
// Both make themselves current on construction and release on destruction.
#pragma once

#include <string>

namespace qvx::test {

class GlxContext {
 public:
  GlxContext();
  ~GlxContext();
  GlxContext(const GlxContext&) = delete;
  GlxContext& operator=(const GlxContext&) = delete;

  bool Valid() const { return valid; }
  const std::string& Error() const { return error; }
  void MakeCurrent();

 private:
  struct Impl;
  Impl* impl = nullptr;
  bool valid = false;
  std::string error;
};

class EglSurfacelessContext {
 public:
  EglSurfacelessContext();
  ~EglSurfacelessContext();
  EglSurfacelessContext(const EglSurfacelessContext&) = delete;
  EglSurfacelessContext& operator=(const EglSurfacelessContext&) = delete;

  bool Valid() const { return valid; }
  const std::string& Error() const { return error; }

 private:
  struct Impl;
  Impl* impl = nullptr;
  bool valid = false;
  std::string error;
};

// Loads GLEW's entry points for tests that use the toolkit directly (the
// module does this itself in code 18). Accepts GLEW's "no GLX display" answer
// when the 4.1 entry points are there, as the module does.
bool LoadGLForTests();

}  // namespace qvx::test

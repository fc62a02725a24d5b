// Scope objects that put one piece of OpenGL binding state in force for a
// block. Each makes exactly one GL call on entry and one on exit, and on exit
// binds the default (name 0, or texture unit 0), never the previous value:
// the module caches and restores no host state. Nested scopes on one target
// therefore do not restore each other. No scope owns, creates or deletes
// objects, checks errors or allocates. Use them as named local objects only.
#pragma once

#include <cstdint>

namespace ffglex {

// glBindTexture(target, texture); on exit glBindTexture(target, 0), on the
// texture unit active at that moment.
class ScopedTextureBinding {
 public:
  ScopedTextureBinding(uint32_t target, uint32_t texture);
  virtual ~ScopedTextureBinding();
  ScopedTextureBinding(const ScopedTextureBinding&) = delete;
  ScopedTextureBinding& operator=(const ScopedTextureBinding&) = delete;

 private:
  uint32_t target;
  bool bound;
};

// GL_TEXTURE_2D.
class Scoped2DTextureBinding : public ScopedTextureBinding {
 public:
  explicit Scoped2DTextureBinding(uint32_t texture);
  ~Scoped2DTextureBinding() override;
};

// glBindBuffer(target, buffer); on exit glBindBuffer(target, 0).
class ScopedBufferBinding {
 public:
  ScopedBufferBinding(uint32_t target, uint32_t buffer);
  virtual ~ScopedBufferBinding();
  ScopedBufferBinding(const ScopedBufferBinding&) = delete;
  ScopedBufferBinding& operator=(const ScopedBufferBinding&) = delete;

 private:
  uint32_t target;
  bool bound;
};

// GL_ARRAY_BUFFER. Unbinding it leaves a bound vertex array's attribute set-up
// intact (the array-buffer binding is not vertex-array state).
class ScopedVBOBinding : public ScopedBufferBinding {
 public:
  explicit ScopedVBOBinding(uint32_t buffer);
  ~ScopedVBOBinding() override;
};

// glUseProgram(program); on exit glUseProgram(0).
class ScopedProgramBinding {
 public:
  explicit ScopedProgramBinding(uint32_t program);
  ~ScopedProgramBinding();
  ScopedProgramBinding(const ScopedProgramBinding&) = delete;
  ScopedProgramBinding& operator=(const ScopedProgramBinding&) = delete;

 private:
  bool bound;
};

// glActiveTexture(GL_TEXTURE0 + unit); on exit glActiveTexture(GL_TEXTURE0).
class ScopedActiveTextureUnit {
 public:
  explicit ScopedActiveTextureUnit(uint32_t unit);
  ~ScopedActiveTextureUnit();
  ScopedActiveTextureUnit(const ScopedActiveTextureUnit&) = delete;
  ScopedActiveTextureUnit& operator=(const ScopedActiveTextureUnit&) = delete;

 private:
  bool bound;
};

// glBindVertexArray(vertexArray); on exit glBindVertexArray(0).
class ScopedVertexArrayBinding {
 public:
  explicit ScopedVertexArrayBinding(uint32_t vertexArray);
  ~ScopedVertexArrayBinding();
  ScopedVertexArrayBinding(const ScopedVertexArrayBinding&) = delete;
  ScopedVertexArrayBinding& operator=(const ScopedVertexArrayBinding&) = delete;

 private:
  bool bound;
};

}  // namespace ffglex

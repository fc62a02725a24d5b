// Counts and orders the OpenGL calls that go through GLEW's function pointers,
// on top of the real driver. While a recorder lives, each listed pointer
// (GLEW's global __glewXxx variables) is swapped for a wrapper that notes the
// call with its arguments and forwards it to the saved original, or to a
// substitute a test installed; the destructor puts every original back.
//
// glBindTexture, glDrawArrays and glViewport are direct exports of the
// system's OpenGL library, not GLEW pointers, so no recorder sees them.
// One recorder at a time; make it after LoadGLForTests().
#pragma once

#include <GL/glew.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

// Every GLEW entry point the recorder wraps, as X(GLEW variable, GL name).
#define QVX_RECORDED_GL_FUNCTIONS(X)                                                                  \
  X(__glewCreateShader, "glCreateShader")                                                             \
  X(__glewShaderSource, "glShaderSource")                                                             \
  X(__glewCompileShader, "glCompileShader")                                                           \
  X(__glewGetShaderiv, "glGetShaderiv")                                                               \
  X(__glewGetShaderInfoLog, "glGetShaderInfoLog")                                                     \
  X(__glewDeleteShader, "glDeleteShader")                                                             \
  X(__glewCreateProgram, "glCreateProgram")                                                           \
  X(__glewAttachShader, "glAttachShader")                                                             \
  X(__glewDetachShader, "glDetachShader")                                                             \
  X(__glewTransformFeedbackVaryings, "glTransformFeedbackVaryings")                                   \
  X(__glewLinkProgram, "glLinkProgram")                                                               \
  X(__glewGetProgramiv, "glGetProgramiv")                                                             \
  X(__glewGetProgramInfoLog, "glGetProgramInfoLog")                                                   \
  X(__glewDeleteProgram, "glDeleteProgram")                                                           \
  X(__glewUseProgram, "glUseProgram")                                                                 \
  X(__glewGetUniformLocation, "glGetUniformLocation")                                                 \
  X(__glewUniform1i, "glUniform1i")                                                                   \
  X(__glewUniform1f, "glUniform1f")                                                                   \
  X(__glewUniform2f, "glUniform2f")                                                                   \
  X(__glewGenVertexArrays, "glGenVertexArrays")                                                       \
  X(__glewBindVertexArray, "glBindVertexArray")                                                       \
  X(__glewDeleteVertexArrays, "glDeleteVertexArrays")                                                 \
  X(__glewGenBuffers, "glGenBuffers")                                                                 \
  X(__glewBindBuffer, "glBindBuffer")                                                                 \
  X(__glewBufferData, "glBufferData")                                                                 \
  X(__glewDeleteBuffers, "glDeleteBuffers")                                                           \
  X(__glewEnableVertexAttribArray, "glEnableVertexAttribArray")                                       \
  X(__glewVertexAttribPointer, "glVertexAttribPointer")                                               \
  X(__glewActiveTexture, "glActiveTexture")                                                           \
  X(__glewBindFramebuffer, "glBindFramebuffer")

namespace qvx::test {

// One recorded call: the GL name ("glUseProgram"), its arguments and its
// result as texts (the result empty for void calls). Integers are written in
// decimal, floats with %g, input texts (const char*) as the text itself,
// every other pointer as an address or "null". Arguments are noted before the
// call, so output buffers are not read.
struct GLCall {
  std::string name;
  std::vector<std::string> arguments;
  std::string result;
};

namespace detail {

// Notes a call and answers its index, under which its result is noted.
std::size_t RecordGLCall(const char* name, std::vector<std::string> arguments);
void RecordGLResult(std::size_t index, std::string result);

inline std::string FormatGLArgument(const char* text) { return text == nullptr ? "null" : text; }
template <typename T>
std::string FormatGLArgument(T value) {
  if constexpr (std::is_pointer_v<T> || std::is_null_pointer_v<T>) {
    if (value == nullptr) return "null";
    char text[32];
    std::snprintf(text, sizeof(text), "%p", static_cast<const void*>(value));
    return text;
  } else if constexpr (std::is_floating_point_v<T>) {
    char text[32];
    std::snprintf(text, sizeof(text), "%g", static_cast<double>(value));
    return text;
  } else {
    return std::to_string(value);
  }
}

template <auto* Slot, typename Function = std::remove_pointer_t<decltype(Slot)>>
struct GLHook;

// The wrapper for one GLEW pointer: Slot is the address of the variable.
template <auto* Slot, typename Result, typename... Arguments>
struct GLHook<Slot, Result(GLAPIENTRY*)(Arguments...)> {
  using Function = Result(GLAPIENTRY*)(Arguments...);
  static inline Function original = nullptr;
  static inline Function substitute = nullptr;
  static inline const char* name = nullptr;

  static Result GLAPIENTRY Call(Arguments... arguments) {
    const std::size_t index = RecordGLCall(name, {FormatGLArgument(arguments)...});
    const Function target = substitute != nullptr ? substitute : original;
    if constexpr (std::is_void_v<Result>) {
      target(arguments...);
    } else {
      const Result result = target(arguments...);
      RecordGLResult(index, FormatGLArgument(result));
      return result;
    }
  }
  static void Install(const char* glName) {
    name = glName;
    original = *Slot;
    substitute = nullptr;
    if (original != nullptr) *Slot = &Call;  // an entry point the driver lacks stays null
  }
  static void Restore() {
    if (original != nullptr) *Slot = original;
    original = nullptr;
    substitute = nullptr;
    name = nullptr;
  }
};

}  // namespace detail

class GLCallRecorder {
 public:
  GLCallRecorder();
  ~GLCallRecorder();
  GLCallRecorder(const GLCallRecorder&) = delete;
  GLCallRecorder& operator=(const GLCallRecorder&) = delete;

  const std::vector<GLCall>& Calls() const;
  // The names alone, in call order.
  std::vector<std::string> Names() const;
  std::size_t Count(const std::string& name) const;
  std::size_t Total() const;
  void Clear();

  // Routes one wrapped entry point to a test's function instead of the
  // driver; the call is still recorded. Slot must be in the list above.
  template <auto* Slot>
  void Substitute(std::remove_pointer_t<decltype(Slot)> replacement) {
    if (detail::GLHook<Slot>::name == nullptr) std::abort();  // not a wrapped entry point
    detail::GLHook<Slot>::substitute = replacement;
  }
  // The driver's own entry point, for substitutes that forward to it.
  template <auto* Slot>
  static std::remove_pointer_t<decltype(Slot)> Original() {
    return detail::GLHook<Slot>::original;
  }
};

}  // namespace qvx::test

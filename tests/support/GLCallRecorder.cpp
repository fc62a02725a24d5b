#include "tests/support/GLCallRecorder.h"

#include <cstdlib>
#include <utility>

namespace qvx::test {
namespace {

// Plain globals: the wrappers are free functions and cannot carry a pointer
// to the recorder.
std::vector<GLCall> recordedCalls;
bool recorderActive = false;

}  // namespace

namespace detail {

std::size_t RecordGLCall(const char* name, std::vector<std::string> arguments) {
  recordedCalls.push_back(GLCall{name, std::move(arguments), {}});
  return recordedCalls.size() - 1;
}

void RecordGLResult(std::size_t index, std::string result) {
  // A test may have cleared the record while the call ran.
  if (index < recordedCalls.size()) recordedCalls[index].result = std::move(result);
}

}  // namespace detail

GLCallRecorder::GLCallRecorder() {
  if (recorderActive) std::abort();  // the wrappers are global: two recorders would chain
  recorderActive = true;
  recordedCalls.clear();
#define QVX_INSTALL_HOOK(variable, glName) detail::GLHook<&variable>::Install(glName);
  QVX_RECORDED_GL_FUNCTIONS(QVX_INSTALL_HOOK)
#undef QVX_INSTALL_HOOK
}

GLCallRecorder::~GLCallRecorder() {
#define QVX_RESTORE_HOOK(variable, glName) detail::GLHook<&variable>::Restore();
  QVX_RECORDED_GL_FUNCTIONS(QVX_RESTORE_HOOK)
#undef QVX_RESTORE_HOOK
  recordedCalls.clear();
  recorderActive = false;
}

const std::vector<GLCall>& GLCallRecorder::Calls() const { return recordedCalls; }

std::vector<std::string> GLCallRecorder::Names() const {
  std::vector<std::string> names;
  names.reserve(recordedCalls.size());
  for (const GLCall& call : recordedCalls) names.push_back(call.name);
  return names;
}

std::size_t GLCallRecorder::Count(const std::string& name) const {
  std::size_t count = 0;
  for (const GLCall& call : recordedCalls) count += call.name == name ? 1 : 0;
  return count;
}

std::size_t GLCallRecorder::Total() const { return recordedCalls.size(); }

void GLCallRecorder::Clear() { recordedCalls.clear(); }

}  // namespace qvx::test

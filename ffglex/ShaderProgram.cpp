#include "ffglex/ShaderProgram.h"

#include <GL/glew.h>

#include <vector>

#include "host/LogChannels.h"

namespace ffglex {
namespace {

constexpr const char* kVertexPrefix = "Vertex Shader error: ";
// Link failures carry the fragment stage's prefix too.
constexpr const char* kFragmentPrefix = "Fragment Shader error: ";

constexpr GLsizei kLinkLogCapacity = 1024;
constexpr GLsizei kLinkLogBufferSize = 1023;  // the GL writes at most 1022 characters and a NUL

bool IsEmpty(const char* text) { return text == nullptr || text[0] == '\0'; }

}  // namespace

bool ShaderProgram::Build(const char* vertexSource, const char* fragmentSource) {
  if (IsEmpty(vertexSource)) return false;
  if (IsEmpty(fragmentSource) && feedbackVaryings.empty()) return false;

  if (!CompileVertexStage(vertexSource)) {
    Release();
    return false;
  }
  if (!IsEmpty(fragmentSource) && !CompileFragmentStage(fragmentSource)) {
    Release();
    return false;
  }
  if (!Link()) {
    Release();
    return false;
  }
  return true;
}

bool ShaderProgram::CompileVertexStage(const char* source) {
  return CompileStage(GL_VERTEX_SHADER, source, vertexShader, kVertexPrefix);
}

bool ShaderProgram::CompileFragmentStage(const char* source) {
  return CompileStage(GL_FRAGMENT_SHADER, source, fragmentShader, kFragmentPrefix);
}

bool ShaderProgram::CompileStage(uint32_t shaderType, const char* source, uint32_t& shaderField,
                                 const char* prefix) {
  shaderField = glCreateShader(shaderType);  // stored at once so that Release deletes it
  if (shaderField == 0) {
    // No current context or no resources: there is no object to query.
    qvx::LogShaderError({prefix, "glCreateShader returned no shader object"});
    return false;
  }
  glShaderSource(shaderField, 1, &source, nullptr);
  glCompileShader(shaderField);

  GLint status = 0;
  glGetShaderiv(shaderField, GL_COMPILE_STATUS, &status);
  if (status == GL_TRUE) return true;

  GLint logLength = 0;  // counts the terminating NUL
  glGetShaderiv(shaderField, GL_INFO_LOG_LENGTH, &logLength);
  if (logLength < 0) logLength = 0;
  std::vector<char> log(static_cast<size_t>(logLength) + 1, '\0');
  glGetShaderInfoLog(shaderField, logLength, nullptr, log.data());
  qvx::LogShaderError({prefix, log.data()});
  return false;
}

bool ShaderProgram::Link() {
  program = glCreateProgram();
  if (program == 0) {
    qvx::LogShaderError({kFragmentPrefix, "glCreateProgram returned no program object"});
    return false;
  }
  glAttachShader(program, vertexShader);
  if (thirdShader != 0) glAttachShader(program, thirdShader);
  if (fragmentShader != 0) glAttachShader(program, fragmentShader);

  if (!feedbackVaryings.empty()) {
    std::vector<const char*> names;
    names.reserve(feedbackVaryings.size());
    for (const std::string& name : feedbackVaryings) names.push_back(name.c_str());
    glTransformFeedbackVaryings(program, static_cast<GLsizei>(names.size()), names.data(), GL_INTERLEAVED_ATTRIBS);
  }

  GLint status = 0;
  glLinkProgram(program);
  glGetProgramiv(program, GL_LINK_STATUS, &status);
  if (status == GL_TRUE) return true;

  char log[kLinkLogCapacity] = {};
  GLsizei written = 0;
  glGetProgramInfoLog(program, kLinkLogBufferSize, &written, log);
  if (written < 0) written = 0;
  if (written > kLinkLogBufferSize - 1) written = kLinkLogBufferSize - 1;
  log[written] = '\0';
  qvx::LogShaderError({kFragmentPrefix, log});
  return false;
}

void ShaderProgram::Release() {
  if (vertexShader != 0) {
    glDeleteShader(vertexShader);
    vertexShader = 0;
  }
  if (fragmentShader != 0) {
    glDeleteShader(fragmentShader);
    fragmentShader = 0;
  }
  if (thirdShader != 0) {
    glDeleteShader(thirdShader);
    thirdShader = 0;
  }
  if (program != 0) {
    glDeleteProgram(program);
    program = 0;
  }
}

void ShaderProgram::SetUniformInt(const char* name, int32_t value) {
  glUniform1i(glGetUniformLocation(program, name), value);
}

void ShaderProgram::SetUniformFloat(const char* name, float value) {
  glUniform1f(glGetUniformLocation(program, name), value);
}

void ShaderProgram::SetUniformVec2(const char* name, float x, float y) {
  glUniform2f(glGetUniformLocation(program, name), x, y);
}

}  // namespace ffglex

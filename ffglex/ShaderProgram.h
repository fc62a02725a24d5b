// One GLSL program and the shaders it is linked from. Compile and link
// failures go to the shader-error log, each as one line: the stage's prefix
// ("Vertex Shader error: " / "Fragment Shader error: ", the latter also for
// link failures) followed by the GL's info log. GL objects exist only between
// Build and Release; construction and destruction make no GL call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ffglex {

class ShaderProgram {
 public:
  ShaderProgram() = default;
  ShaderProgram(const ShaderProgram&) = delete;
  ShaderProgram& operator=(const ShaderProgram&) = delete;

  // Compiles both stages and links them. Null or empty sources answer false
  // with no GL call and no message; any later failure deletes every object it
  // made. Call on an empty program only (built objects are not deleted here).
  bool Build(const char* vertexSource, const char* fragmentSource);
  // Deletes shaders, then the program; a second call makes no GL call.
  void Release();
  uint32_t GetProgramName() const { return program; }

  // Look the location up in this program on every call and apply it to the
  // program in use; a name the program lacks changes nothing.
  void SetUniformInt(const char* name, int32_t value);
  void SetUniformFloat(const char* name, float value);
  void SetUniformVec2(const char* name, float x, float y);

 private:
  bool CompileVertexStage(const char* source);
  bool CompileFragmentStage(const char* source);
  bool CompileStage(uint32_t shaderType, const char* source, uint32_t& shaderField, const char* prefix);
  bool Link();

  uint32_t vertexShader = 0;
  uint32_t thirdShader = 0;  // attached between the two stages when set; nothing sets it
  uint32_t fragmentShader = 0;
  uint32_t program = 0;
  std::vector<std::string> feedbackVaryings;  // declared before linking when non-empty
};

}  // namespace ffglex

// Group "GL hygiene": the host's context is shared with the module, so the
// host must know what each call leaves bound. Before each call the host
// disturbs its own state (another framebuffer, texture unit, program, vertex
// array, buffer, viewport); after it the documented bindings must be there
// and no GL error pending. Every call of the other GL groups is checked the
// same way, without the disturbance.
#include <string>

#include "host/FunctionCodes.h"
#include "tools/fxhost/ValidateGLState.h"
#include "tools/fxhost/ValidateGroups.h"
#include "tools/fxhost/ValidateHost.h"

namespace fxhost {
namespace {

// The host's own GL objects, bound before module calls to see that the
// module does not rely on finding defaults.
class HostState {
 public:
  HostState() {
    const char* vertex = "#version 410 core\nvoid main() { gl_Position = vec4(0.0); }\n";
    const char* fragment = "#version 410 core\nout vec4 colour;\nvoid main() { colour = vec4(1.0); }\n";
    const GLuint shaders[2] = {Compile(GL_VERTEX_SHADER, vertex), Compile(GL_FRAGMENT_SHADER, fragment)};
    program = glCreateProgram();
    for (GLuint shader : shaders) glAttachShader(program, shader);
    glLinkProgram(program);
    for (GLuint shader : shaders) glDeleteShader(shader);
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &buffer);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
  }
  ~HostState() {
    glDeleteProgram(program);
    glDeleteVertexArrays(1, &vertexArray);
    glDeleteBuffers(1, &buffer);
    glDeleteTextures(1, &texture);
  }
  HostState(const HostState&) = delete;
  HostState& operator=(const HostState&) = delete;

  // Binds a different selection of the host's state for each `variant`.
  void Disturb(ValidateHost& host, unsigned variant) const {
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, variant & 1 ? texture : 0);
    glActiveTexture(GL_TEXTURE0 + (variant & 2 ? 1 + variant % 7 : 0));
    glUseProgram(variant & 4 ? program : 0);
    glBindVertexArray(variant & 8 ? vertexArray : 0);
    glBindBuffer(GL_ARRAY_BUFFER, variant & 16 ? buffer : 0);
    glBindFramebuffer(GL_FRAMEBUFFER, variant & 32 ? host.Framebuffer(1) : 0);
    glViewport(static_cast<GLint>(variant % 5), 3, 17, 9);
  }

 private:
  static GLuint Compile(GLenum stage, const char* text) {
    const GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    return shader;
  }

  GLuint program = 0;
  GLuint vertexArray = 0;
  GLuint buffer = 0;
  GLuint texture = 0;
};

// Runs the call with the host's state disturbed, then clears the host's
// bindings again so that its own objects cannot be mistaken for the module's.
template <typename Call>
void Disturbed(ValidateHost& host, const HostState& state, unsigned variant, Call call) {
  state.Disturb(host, variant);
  call();
  glUseProgram(0);
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, 0);
  TakeGLErrors();
}

}  // namespace

void RunGLHygieneGroup(ValidateHost& host) {
  const HostState state;
  const int rounds = Repetitions(host, 8);
  void* instance = nullptr;
  {
    Check check(host.Report(), "creation (code 18) with the host's own state bound leaves no program, vertex array or array buffer of its own bound");
    Disturbed(host, state, 63, [&] { instance = host.Create(check, "code 18 with the host's state bound"); });
  }
  if (instance == nullptr) return;
  {
    Check check(host.Report(), std::to_string(rounds) + " frames, each after another disturbance of the host's state, "
                               "leave the documented bindings and no GL error");
    for (int round = 0; round < rounds; ++round) {
      const auto variant = static_cast<unsigned>(host.Random()() % 64);
      Disturbed(host, state, variant, [&] {
        host.Render(check, "code 17 after disturbance " + std::to_string(variant), instance, round % 2);
      });
    }
  }
  {
    Check check(host.Report(), "the other instance codes (7, 9, 16, 21, 22, 23, 31, 45) leave the bindings alone");
    for (uint32_t code : {qvx::kGetParameter, qvx::kGetParameterDisplay, qvx::kGetInputStatus, qvx::kConnect,
                          qvx::kDisconnect, qvx::kGetElementCount, qvx::kGetParameterVisibility})
      host.Call(check, "code " + std::to_string(code), code, 0, instance);
    Viewport viewport{0, 0, 32, 32};
    host.CallWith(check, "code 23", qvx::kResize, &viewport, instance);
  }
  {
    Check check(host.Report(), "destruction (code 19) with the host's own state bound leaves no program, vertex array or array buffer of its own bound");
    Disturbed(host, state, 63, [&] { host.Destroy(check, "code 19 with the host's state bound", instance); });
  }
}

}  // namespace fxhost

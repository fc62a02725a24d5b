// A small module written straight against the host interface, without the
// framework: one standard parameter ("Level"), one input, a frame that draws
// the input through a full-viewport triangle. Built as it is, it is a correct
// module, so fxhost validate is seen to pass on a module other than
// Quorvalentix. Each QVX_DEFECT_* definition builds it with one fault a host
// must survive:
//   QVX_DEFECT_PROGRAM_LEFT_BOUND  a frame leaves its program in use
//   QVX_DEFECT_CRASH_ON_NULL_RECORD  code 41 writes through its record unchecked
//   QVX_DEFECT_HANGS_IN_FRAME  the first frame never returns
//   QVX_DEFECT_LEAKS_GL_OBJECTS  destruction deletes neither program nor vertex array
//   QVX_DEFECT_LEAKS_MEMORY  destruction forgets the instance without freeing it
#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "host/Exports.h"
#include "host/FunctionCodes.h"
#include "host/HostRecords.h"

namespace {

constexpr uint64_t kFailure = qvx::kFailure;

const PluginIdentity kIdentity = {2, 1, {'M', 'I', 'N', '1'}, "Minimal", 0};
const PluginDetails kDetails = {1, 0, "Draws its input unchanged", "validation tests", 0, 0, nullptr};
const uint32_t kThumbnail[4 * 4] = {};

HostLogCallback logCallback = nullptr;
bool glLoaded = false;
char displayText[16];

struct Instance {
  float level = 0.5f;
  GLuint program = 0;
  GLuint vertexArray = 0;
};
std::vector<Instance*> live;

Instance* Live(void* handle) {
  auto found = std::find(live.begin(), live.end(), static_cast<Instance*>(handle));
  return found != live.end() ? *found : nullptr;
}

uint64_t FloatBits(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

template <typename Record>
Record* At(uint64_t input) {
  return reinterpret_cast<Record*>(static_cast<uintptr_t>(input));
}

GLuint Stage(GLenum stage, const char* text) {
  const GLuint shader = glCreateShader(stage);
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  return shader;
}

bool LoadGL() {
  if (glLoaded) return true;
  glewExperimental = GL_TRUE;
  const GLenum answer = glewInit();
  glLoaded = answer == GLEW_OK || (answer == GLEW_ERROR_NO_GLX_DISPLAY && glCreateShader != nullptr);
  return glLoaded;
}

uint64_t Create(const Viewport* viewport) {
  if (viewport == nullptr || !LoadGL()) return kFailure;
  auto* instance = new Instance;
  const GLuint vertex = Stage(GL_VERTEX_SHADER,
                              "#version 410 core\n"
                              "out vec2 uv;\n"
                              "void main() {\n"
                              "  vec2 corner = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2);\n"
                              "  uv = corner;\n"
                              "  gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);\n"
                              "}\n");
  const GLuint fragment = Stage(GL_FRAGMENT_SHADER,
                                "#version 410 core\n"
                                "uniform sampler2D inputTexture;\n"
                                "in vec2 uv;\n"
                                "out vec4 colour;\n"
                                "void main() { colour = texture(inputTexture, uv); }\n");
  instance->program = glCreateProgram();
  glAttachShader(instance->program, vertex);
  glAttachShader(instance->program, fragment);
  glLinkProgram(instance->program);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  glGenVertexArrays(1, &instance->vertexArray);
  live.push_back(instance);
  if (logCallback != nullptr) logCallback("Minimal: instance ready");
  return reinterpret_cast<uintptr_t>(instance);
}

void Destroy(Instance* instance) {
#ifndef QVX_DEFECT_LEAKS_GL_OBJECTS
  glDeleteProgram(instance->program);
  glDeleteVertexArrays(1, &instance->vertexArray);
#endif
  live.erase(std::find(live.begin(), live.end(), instance));
#ifndef QVX_DEFECT_LEAKS_MEMORY
  delete instance;
#endif
}

uint64_t Render(Instance& instance, const FrameRenderRequest* request) {
  if (request == nullptr || request->inputTextureCount < 1 || request->inputTextures == nullptr) return kFailure;
  const TextureDescriptor* input = request->inputTextures[0];
  if (input == nullptr) return kFailure;
#ifdef QVX_DEFECT_HANGS_IN_FRAME
  for (volatile bool forever = true; forever;) {
  }
#endif
  glBindFramebuffer(GL_FRAMEBUFFER, request->hostFramebuffer);
  glViewport(0, 0, static_cast<GLsizei>(input->hardwareWidth), static_cast<GLsizei>(input->hardwareHeight));
  glUseProgram(instance.program);
  glUniform1i(glGetUniformLocation(instance.program, "inputTexture"), 0);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, input->textureName);
  glBindVertexArray(instance.vertexArray);
  glDrawArrays(GL_TRIANGLES, 0, 3);
  glBindVertexArray(0);
  glBindTexture(GL_TEXTURE_2D, 0);
#ifndef QVX_DEFECT_PROGRAM_LEFT_BOUND
  glUseProgram(0);
#endif
  return qvx::kSuccess;
}

// Codes about the one parameter, index 0, and nothing else.
uint64_t Definition(uint32_t code, uint64_t input) {
  const auto index = static_cast<uint32_t>(input);
  switch (code) {
    case qvx::kGetParameterCount: return 1;
    case qvx::kGetParameterName: return index == 0 ? reinterpret_cast<uintptr_t>("Level") : 0;
    case qvx::kGetParameterType: return index == 0 ? static_cast<uint32_t>(qvx::kTypeStandard) : kFailure;
    case qvx::kGetParameterDefault: return index == 0 ? FloatBits(0.5f) : kFailure;
    case qvx::kGetElementCount:
    case qvx::kGetParameterUsage: return index == 0 ? 0 : kFailure;
    case qvx::kGetParameterVisibility: return index == 0 ? 1 : kFailure;
    case qvx::kGetFileExtensionCount:
    case qvx::kGetSeparatorCount: return 0;
    default: return kFailure;
  }
}

}  // namespace

extern "C" QVX_EXPORT void SetLogCallback(HostLogCallback callback) { logCallback = callback; }

extern "C" QVX_EXPORT uint64_t plugMain(uint32_t code, uint64_t input, void* handle) {
  switch (code) {
    case qvx::kGetIdentity: return reinterpret_cast<uintptr_t>(&kIdentity);
    case qvx::kGetDetails: return reinterpret_cast<uintptr_t>(&kDetails);
    case qvx::kInitialise:
    case qvx::kDeinitialise: return qvx::kSuccess;
    case qvx::kGetCapability:
      return input == qvx::kCapabilityMinimumInputs || input == qvx::kCapabilityMaximumInputs ? 1 : 0;
    case qvx::kGetParameterCount: case qvx::kGetParameterName: case qvx::kGetParameterType:
    case qvx::kGetParameterDefault: case qvx::kGetElementCount: case qvx::kGetParameterUsage:
    case qvx::kGetParameterVisibility: case qvx::kGetFileExtensionCount: case qvx::kGetSeparatorCount:
      return Definition(code, input);
    case qvx::kGetParameterRange: {
      auto* range = At<RangeQuery>(input);
#ifndef QVX_DEFECT_CRASH_ON_NULL_RECORD
      if (range == nullptr) return kFailure;
#endif
      range->minimum = 0.0f;
      range->maximum = 1.0f;
      return qvx::kSuccess;
    }
    case qvx::kGetElementName:
    case qvx::kGetFileExtension: return 0;
    case qvx::kGetElementValue:
    case qvx::kGetSeparator: return kFailure;
    case qvx::kGetParameterGroup: {
      const auto* request = At<TextCopyRequest>(input);
      return request != nullptr && request->bufferSize > 0 ? qvx::kSuccess : kFailure;  // an empty group
    }
    case qvx::kGetThumbnail: {
      auto* query = At<ThumbnailQuery>(input);
      if (query == nullptr) return kFailure;
      query->width = 4;
      query->height = 4;
      if (query->pixels != nullptr) std::memcpy(query->pixels, kThumbnail, sizeof kThumbnail);
      return qvx::kSuccess;
    }
    case qvx::kCreateInstance: return Create(At<Viewport>(input));
    default: break;
  }

  Instance* instance = Live(handle);
  if (instance == nullptr) return kFailure;
  switch (code) {
    case qvx::kDestroyInstance: Destroy(instance); return qvx::kSuccess;
    case qvx::kRenderFrame: return Render(*instance, At<FrameRenderRequest>(input));
    case qvx::kSetParameter: {
      const auto* assignment = At<ParameterAssignment>(input);
      if (assignment == nullptr || assignment->parameterIndex != 0) return kFailure;
      instance->level = assignment->value.floatValue;
      return qvx::kSuccess;
    }
    case qvx::kGetParameter: return static_cast<uint32_t>(input) == 0 ? FloatBits(instance->level) : FloatBits(0.0f);
    case qvx::kGetParameterDisplay:
      std::snprintf(displayText, sizeof displayText, "%.3g", static_cast<double>(instance->level));
      return reinterpret_cast<uintptr_t>(displayText);
    case qvx::kGetInputStatus: return static_cast<uint32_t>(input) == 0 ? 1 : kFailure;
    case qvx::kConnect:
    case qvx::kDisconnect:
    case qvx::kSetSampleRate: return qvx::kSuccess;
    case qvx::kSetHostTime: case qvx::kResize: case qvx::kSetBeat: case qvx::kSetHostInfo:
      return input != 0 ? qvx::kSuccess : kFailure;
    case qvx::kCollectPendingEvents: {
      auto* query = At<PendingEventQuery>(input);
      if (query == nullptr) return kFailure;
      query->count = 0;
      return qvx::kSuccess;
    }
    case qvx::kGetParameterDisplayName: {
      auto* request = At<TextCopyRequest>(input);
      if (request == nullptr || request->bufferSize == 0) return kFailure;
      if (request->parameterIndex == 0) std::memcpy(request->buffer, "Level", std::min<uint32_t>(5, request->bufferSize));
      return qvx::kSuccess;
    }
    default: return kFailure;  // element values (37), capability 16 (49), unknown codes
  }
}

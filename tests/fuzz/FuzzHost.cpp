#include "tests/fuzz/FuzzHost.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/Exports.h"
#include "host/FunctionCodes.h"
#include "host/HostRecords.h"
#include "tests/support/GLContext.h"

namespace qvx::fuzz {
namespace {

constexpr uint64_t kFailureAnswer = 0xFFFFFFFFu;
constexpr size_t kMaxLiveInstances = 4;      // creation compiles shaders: keep inputs fast
constexpr size_t kMaxRequestsPerInput = 256;
constexpr size_t kMaxDestroyedRemembered = 16;

[[noreturn]] void Finding(const char* format, ...) {
  std::fprintf(stderr, "FINDING: ");
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(stderr, format, arguments);
  va_end(arguments);
  std::fprintf(stderr, "\n");
  std::abort();
}

void LogCallback(const char* text) {
  if (text != nullptr) (void)std::strlen(text);  // the text must end
}

bool Handled(uint32_t code) {
  return code == 0 || code == 2 || (code >= 4 && code <= 10) || code == 13 || (code >= 15 && code <= 23) ||
         (code >= 31 && code <= 51);
}

// Codes that need a live instance and answer 0xFFFFFFFF without one.
bool NeedsInstance(uint32_t code) {
  switch (code) {
    case kGetParameterDisplay: case kSetParameter: case kGetParameter: case kGetInputStatus: case kRenderFrame:
    case kDestroyInstance: case kSetHostTime: case kConnect: case kDisconnect: case kResize:
    case kSetElementValue: case kSetBeat: case kSetHostInfo: case kSetSampleRate: case kCollectPendingEvents:
    case kEnableCapability16: case kGetParameterDisplayName:
      return true;
    default:
      return false;
  }
}

// Null for the codes that answer an address or null, 0xFFFFFFFF for the rest.
uint64_t NullRecordAnswer(uint32_t code) {
  return code == kGetElementName || code == kGetFileExtension ? 0 : kFailureAnswer;
}

const char* AsText(uint64_t answer) {
  if (answer == 0 || answer == kFailureAnswer) return nullptr;
  return reinterpret_cast<const char*>(static_cast<uintptr_t>(answer));
}

bool TextValued(uint32_t index) {
  return IsTextValued(static_cast<int32_t>(plugMain(kGetParameterType, index, nullptr)));
}

GLint Integer(GLenum state) {
  GLint value = 0;
  glGetIntegerv(state, &value);
  return value;
}

}  // namespace

FuzzHost::FuzzHost() : trace(std::getenv("QVX_FUZZ_TRACE") != nullptr) {
  static qvx::test::EglSurfacelessContext context;  // current for the process's life
  if (!context.Valid() || !qvx::test::LoadGLForTests()) {
    std::fprintf(stderr, "fuzz host: no OpenGL 4.1 core context: %s\n", context.Error().c_str());
    std::exit(2);
  }
  glGenTextures(1, &gl.texture);
  glBindTexture(GL_TEXTURE_2D, gl.texture);
  std::vector<uint8_t> texels(16 * 16 * 4, 0x80);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  GLuint colour = 0;
  glGenTextures(1, &colour);
  glBindTexture(GL_TEXTURE_2D, colour);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  glGenFramebuffers(1, &gl.framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, gl.framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    std::fprintf(stderr, "fuzz host: the host framebuffer is incomplete\n");
    std::exit(2);
  }
  while (glGetError() != GL_NO_ERROR) {
  }

  ThumbnailQuery query{};
  plugMain(kGetThumbnail, reinterpret_cast<uintptr_t>(&query), nullptr);
  gl.thumbnailWidth = query.width;
  gl.thumbnailHeight = query.height;
}

void FuzzHost::Run(const uint8_t* data, size_t size) {
  FuzzBytes bytes(data, size);
  for (size_t request = 0; request < kMaxRequestsPerInput && !bytes.Empty(); ++request) {
    const uint8_t op = bytes.Byte();
    if (op >= 0xFC) {
      SetLogCallback(nullptr);
    } else if (op >= 0xF8) {
      SetLogCallback(LogCallback);
    } else {
      Request(op >= 0xF0 ? bytes.U32() : op % 64u, bytes);
    }
    arena.Clear();
  }
  DestroyEverything();
  SetLogCallback(nullptr);
}

void* FuzzHost::PickHandle(FuzzBytes& bytes) {
  switch (bytes.Byte() % 8) {
    case 1: case 2: case 3: case 4: {
      const uint8_t which = bytes.Byte();
      return live.empty() ? nullptr : live[which % live.size()];
    }
    case 5: {
      const uint8_t which = bytes.Byte();
      return destroyed.empty() ? nullptr : destroyed[which % destroyed.size()];
    }
    case 6:
      return reinterpret_cast<void*>(static_cast<uintptr_t>(bytes.U64()));
    case 7:
      return neverIssued + bytes.Byte() % sizeof neverIssued;
    default:
      return nullptr;
  }
}

void FuzzHost::Request(uint32_t code, FuzzBytes& bytes) {
  void* handle = PickHandle(bytes);
  const BuiltInput built = BuildInput(code, bytes, arena, gl);
  if (code == kCreateInstance && live.size() >= kMaxLiveInstances) return;
  const bool handleLive = std::find(live.begin(), live.end(), handle) != live.end();
  const GLint framebufferBefore = Integer(GL_DRAW_FRAMEBUFFER_BINDING);
  // Frames are finished before an instance goes, as a host that shows its
  // frames has them: Mesa's software driver never frees the compiled code of
  // a program deleted while a frame that used it is still queued, and the
  // process would grow by megabytes a second.
  if (code == kDestroyInstance) glFinish();

  const uint64_t answer = plugMain(code, built.input, handle);
  if (trace)
    std::fprintf(stderr, "code %u handle %p%s input 0x%llx -> 0x%llx\n", code, handle, handleLive ? " (live)" : "",
                 static_cast<unsigned long long>(built.input), static_cast<unsigned long long>(answer));

  CheckAnswer(code, built, handle, handleLive, answer);
  // What every call leaves: no program, no vertex array, no array buffer.
  if (const GLint program = Integer(GL_CURRENT_PROGRAM); program != 0)
    Finding("code %u left program %d in use", code, program);
  if (const GLint vertexArray = Integer(GL_VERTEX_ARRAY_BINDING); vertexArray != 0)
    Finding("code %u left vertex array %d bound", code, vertexArray);
  if (const GLint buffer = Integer(GL_ARRAY_BUFFER_BINDING); buffer != 0)
    Finding("code %u left array buffer %d bound", code, buffer);
  if (code == kRenderFrame && handleLive && !built.nullRecord) CheckFrameState(built.frame, answer, framebufferBefore);
  for (int pending = 0; pending < 16 && glGetError() != GL_NO_ERROR; ++pending) {
    // errors caused by the host's own nonsense (unknown names, huge sizes)
  }

  if (code == kCreateInstance && static_cast<uint32_t>(answer) != kFailure && answer != 0) {
    void* made = reinterpret_cast<void*>(static_cast<uintptr_t>(answer));
    live.push_back(made);
    destroyed.erase(std::remove(destroyed.begin(), destroyed.end(), made), destroyed.end());
  }
  if (code == kDestroyInstance && handleLive) {
    live.erase(std::find(live.begin(), live.end(), handle));
    if (destroyed.size() == kMaxDestroyedRemembered) destroyed.erase(destroyed.begin());
    destroyed.push_back(handle);
  }
}

void FuzzHost::CheckAnswer(uint32_t code, const BuiltInput& built, void* handle, bool handleLive, uint64_t answer) {
  if (!Handled(code) && answer != kFailureAnswer)
    Finding("unhandled code %u answered 0x%llx", code, static_cast<unsigned long long>(answer));
  if (NeedsInstance(code) && !handleLive && answer != kFailureAnswer)
    Finding("code %u with handle %p, which is not live, answered 0x%llx", code, handle,
            static_cast<unsigned long long>(answer));
  if (built.nullRecord && answer != NullRecordAnswer(code))
    Finding("code %u with a null record answered 0x%llx", code, static_cast<unsigned long long>(answer));
  if (code == kEnableCapability16 && answer != kFailureAnswer) Finding("code 49 answered success");
  if (code == kDestroyInstance && handleLive && answer != 0)
    Finding("destroying live handle %p answered 0x%llx", handle, static_cast<unsigned long long>(answer));
  if (code == kCreateInstance && answer != kFailureAnswer &&
      std::find(live.begin(), live.end(), reinterpret_cast<void*>(static_cast<uintptr_t>(answer))) != live.end())
    Finding("code 18 answered the handle of an instance that is still alive");
  if ((code == kGetParameterGroup || code == kGetParameterDisplayName) && !built.nullRecord) {
    const auto* request = reinterpret_cast<const TextCopyRequest*>(static_cast<uintptr_t>(built.input));
    if (request->bufferSize == 0 && answer != kFailureAnswer) Finding("code %u with a zero-size buffer answered success", code);
  }

  // Texts handed out must end (the sanitizer sees a read past them).
  const uint32_t index = static_cast<uint32_t>(built.input);
  switch (code) {
    case kGetParameterName: case kGetAuxiliaryText: case kGetElementName: case kGetFileExtension:
      if (const char* text = AsText(answer)) (void)std::strlen(text);
      break;
    case kGetParameterDisplay:
      if (const char* text = AsText(answer); text != nullptr && strnlen(text, 16) == 16)
        Finding("display text of parameter %u is longer than 15 characters", index);
      break;
    case kGetParameter: case kGetParameterDefault:
      if (TextValued(index))
        if (const char* text = AsText(answer)) (void)std::strlen(text);
      break;
    case kGetIdentity:
      if (answer != 0) {
        PluginIdentity identity;
        std::memcpy(&identity, reinterpret_cast<const void*>(static_cast<uintptr_t>(answer)), sizeof identity);
      }
      break;
    case kGetDetails:
      if (answer != 0) {
        const auto* details = reinterpret_cast<const PluginDetails*>(static_cast<uintptr_t>(answer));
        if (details->description != nullptr) (void)std::strlen(details->description);
        if (details->about != nullptr) (void)std::strlen(details->about);
      }
      break;
    default:
      break;
  }
}

void FuzzHost::CheckFrameState(const FrameFacts& facts, uint64_t answer, GLint framebufferBefore) {
  if (static_cast<uint32_t>(answer) != kSuccess) {
    // A refused frame changes nothing.
    if (Integer(GL_DRAW_FRAMEBUFFER_BINDING) != framebufferBefore) Finding("a refused frame changed the framebuffer");
    return;
  }
  if (!facts.firstInputPresent) Finding("a frame without a first input answered success");
  if (const GLint unit = Integer(GL_ACTIVE_TEXTURE); unit != GL_TEXTURE0)
    Finding("a frame left texture unit 0x%x active", unit);
  if (const GLint texture = Integer(GL_TEXTURE_BINDING_2D); texture != 0)
    Finding("a frame left texture %d bound on unit 0", texture);
  if (facts.framebufferExists && Integer(GL_DRAW_FRAMEBUFFER_BINDING) != static_cast<GLint>(facts.framebuffer))
    Finding("a frame left framebuffer %d bound, not the host's %u", Integer(GL_DRAW_FRAMEBUFFER_BINDING),
            facts.framebuffer);
  if (facts.viewportPredictable) {
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (viewport[0] != 0 || viewport[1] != 0 || viewport[2] != facts.viewportWidth ||
        viewport[3] != facts.viewportHeight)
      Finding("a frame set the viewport to %d,%d %dx%d, not the input's hardware size %dx%d", viewport[0],
              viewport[1], viewport[2], viewport[3], facts.viewportWidth, facts.viewportHeight);
  }
  if (facts.everythingValid)
    if (const GLenum error = glGetError(); error != GL_NO_ERROR)
      Finding("a frame with valid inputs left GL error 0x%x", error);
}

void FuzzHost::DestroyEverything() {
  glFinish();  // see Request
  for (void* handle : live)
    if (const uint64_t answer = plugMain(kDestroyInstance, 0, handle); answer != 0)
      Finding("destroying live handle %p answered 0x%llx", handle, static_cast<unsigned long long>(answer));
  live.clear();
  destroyed.clear();
}

}  // namespace qvx::fuzz

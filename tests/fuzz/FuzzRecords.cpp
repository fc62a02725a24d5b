#include "tests/fuzz/FuzzRecords.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "host/Exports.h"
#include "host/FunctionCodes.h"
#include "host/HostRecords.h"

namespace qvx::fuzz {
namespace {

// Sizes up to this are drawn into a 16 x 16 target without surprises; larger
// ones are clamped or refused by the GL, which is the host's doing.
constexpr uint32_t kSmallSize = 64;

template <typename Record>
Record* NewRecord(RecordArena& arena) {
  return static_cast<Record*>(arena.Allocate(sizeof(Record)));
}

// Mostly a small index (every registered parameter and the first few beyond),
// sometimes any 32-bit value.
uint32_t Index(FuzzBytes& bytes) {
  const uint8_t choice = bytes.Byte();
  return choice < 200 ? choice % 12u : bytes.U32();
}

uint32_t Size(FuzzBytes& bytes) {
  const uint8_t choice = bytes.Byte();
  return choice < 192 ? choice % (kSmallSize + 1) : bytes.U32();
}

// Any bit pattern, or one of the values hosts get wrong.
float Float(FuzzBytes& bytes) {
  static const float kSpecial[] = {
      std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN(),
      std::numeric_limits<float>::infinity(),  -std::numeric_limits<float>::infinity(),
      std::numeric_limits<float>::denorm_min(), -std::numeric_limits<float>::denorm_min(),
      FLT_MAX, -FLT_MAX, 1e30f, -1e30f, -0.0f, 0.0f, 0.5f, 1.0f, -1.0f, 5.0f, 2147483648.0f, -2147483904.0f};
  const uint8_t choice = bytes.Byte();
  if (choice < 128) {
    const uint32_t bits = bytes.U32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  return kSpecial[choice % (sizeof kSpecial / sizeof kSpecial[0])];
}

double Double(FuzzBytes& bytes) {
  static const double kSpecial[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                                    -std::numeric_limits<double>::infinity(), 1e300, -1e300,
                                    std::numeric_limits<double>::denorm_min(), 0.0, 1.0};
  const uint8_t choice = bytes.Byte();
  if (choice < 128) {
    const uint64_t bits = bytes.U64();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  return kSpecial[choice % (sizeof kSpecial / sizeof kSpecial[0])];
}

// A NUL-terminated text of up to 47 bytes, or null when `nullable` and the bytes say so.
const char* Text(FuzzBytes& bytes, RecordArena& arena, bool nullable) {
  const uint8_t choice = bytes.Byte();
  if (nullable && choice % 8 == 0) return nullptr;
  const size_t length = choice % 48u;
  char* text = static_cast<char*>(arena.Allocate(length + 1));
  bytes.Fill(text, length);
  text[length] = '\0';
  return text;
}

uint32_t GLName(FuzzBytes& bytes, GLuint real) {
  switch (bytes.Byte() % 4) {
    case 0:
    case 1: return real;
    case 2: return 0;
    default: return bytes.U32();
  }
}

TextureDescriptor* Texture(FuzzBytes& bytes, RecordArena& arena, const HostGLObjects& gl) {
  auto* texture = NewRecord<TextureDescriptor>(arena);
  texture->width = Size(bytes);
  texture->height = Size(bytes);
  texture->hardwareWidth = Size(bytes);
  texture->hardwareHeight = Size(bytes);
  texture->textureName = GLName(bytes, gl.texture);
  return texture;
}

bool Small(uint32_t size) { return size >= 1 && size <= kSmallSize; }

FrameRenderRequest* Frame(FuzzBytes& bytes, RecordArena& arena, const HostGLObjects& gl, FrameFacts& facts) {
  auto* request = NewRecord<FrameRenderRequest>(arena);
  const uint8_t shape = bytes.Byte();
  request->inputTextureCount = shape % 4u;
  if (request->inputTextureCount == 0) {
    // No inputs: either no array at all or an empty one.
    request->inputTextures = (shape & 4) ? static_cast<TextureDescriptor**>(arena.Allocate(0)) : nullptr;
  } else if (shape & 8) {
    request->inputTextures = nullptr;  // a count without an array: refused, never followed
  } else {
    request->inputTextures = static_cast<TextureDescriptor**>(
        arena.Allocate(request->inputTextureCount * sizeof(TextureDescriptor*)));
    for (uint32_t entry = 0; entry < request->inputTextureCount; ++entry)
      request->inputTextures[entry] = bytes.Byte() % 4 == 0 ? nullptr : Texture(bytes, arena, gl);
  }
  request->hostFramebuffer = GLName(bytes, gl.framebuffer);

  const TextureDescriptor* first =
      request->inputTextureCount > 0 && request->inputTextures != nullptr ? request->inputTextures[0] : nullptr;
  facts.firstInputPresent = first != nullptr;
  facts.framebuffer = request->hostFramebuffer;
  facts.framebufferExists = request->hostFramebuffer == gl.framebuffer || request->hostFramebuffer == 0;
  if (first != nullptr) {
    facts.viewportPredictable = Small(first->hardwareWidth) && Small(first->hardwareHeight);
    facts.viewportWidth = static_cast<GLint>(first->hardwareWidth);
    facts.viewportHeight = static_cast<GLint>(first->hardwareHeight);
    facts.everythingValid = facts.viewportPredictable && first->textureName == gl.texture &&
                            request->hostFramebuffer == gl.framebuffer;
  }
  return request;
}

uint64_t Address(const void* record) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(record)); }

}  // namespace

void* RecordArena::Allocate(size_t bytes) {
  blocks.emplace_back(new uint8_t[bytes]());
  return blocks.back().get();
}

bool TakesRecord(uint32_t code) {
  switch (code) {
    case kSetParameter: case kRenderFrame: case kCreateInstance: case kSetHostTime: case kResize:
    case kGetElementName: case kGetElementValue: case kSetElementValue: case kSetBeat: case kSetHostInfo:
    case kGetParameterRange: case kGetThumbnail: case kGetFileExtension: case kCollectPendingEvents:
    case kGetSeparator: case kGetParameterGroup: case kGetParameterDisplayName:
      return true;
    default:
      return false;
  }
}

BuiltInput BuildInput(uint32_t code, FuzzBytes& bytes, RecordArena& arena, const HostGLObjects& gl) {
  BuiltInput built;
  if (!TakesRecord(code)) {
    switch (code) {
      case kGetParameterName: case kGetParameterDefault: case kGetParameterDisplay: case kGetParameter:
      case kGetCapability: case kGetParameterType: case kGetInputStatus: case kGetElementCount:
      case kGetParameterUsage: case kGetFileExtensionCount: case kGetParameterVisibility:
      case kGetSeparatorCount:
        built.input = Index(bytes);
        break;
      case kEnableCapability16:
        built.input = bytes.Byte() % 2 ? kCapability16 : bytes.U32();
        break;
      default:
        built.input = bytes.U64();  // ignored, or a code nobody handles
        break;
    }
    return built;
  }

  if (bytes.Byte() % 8 == 0) {
    built.nullRecord = true;
    return built;
  }
  switch (code) {
    case kSetParameter: {
      auto* assignment = NewRecord<ParameterAssignment>(arena);
      assignment->parameterIndex = Index(bytes);
      // The host reads the parameter's type first, as a host must.
      const auto type = static_cast<int32_t>(plugMain(kGetParameterType, assignment->parameterIndex, nullptr));
      if (IsTextValued(type)) {
        assignment->value.textValue = Text(bytes, arena, false);
      } else {
        const float value = Float(bytes);
        const uint32_t unused = bytes.U32();  // bytes 12..15 carry junk the module must ignore
        std::memcpy(reinterpret_cast<uint8_t*>(assignment) + 8, &value, sizeof value);
        std::memcpy(reinterpret_cast<uint8_t*>(assignment) + 12, &unused, sizeof unused);
      }
      built.input = Address(assignment);
      break;
    }
    case kRenderFrame:
      built.input = Address(Frame(bytes, arena, gl, built.frame));
      break;
    case kCreateInstance:
    case kResize: {
      auto* viewport = NewRecord<Viewport>(arena);
      viewport->x = Size(bytes);
      viewport->y = Size(bytes);
      viewport->width = Size(bytes);
      viewport->height = Size(bytes);
      built.input = Address(viewport);
      break;
    }
    case kSetHostTime: {
      auto* time = NewRecord<double>(arena);
      *time = Double(bytes);
      built.input = Address(time);
      break;
    }
    case kGetElementName: case kGetElementValue: case kGetFileExtension: case kGetSeparator: {
      auto* pair = NewRecord<IndexPair>(arena);
      pair->parameterIndex = Index(bytes);
      pair->position = Index(bytes);
      built.input = Address(pair);
      break;
    }
    case kSetElementValue: {
      auto* assignment = NewRecord<ElementAssignment>(arena);
      assignment->parameterIndex = Index(bytes);
      assignment->elementPosition = Index(bytes);
      assignment->value = Float(bytes);
      built.input = Address(assignment);
      break;
    }
    case kSetBeat: {
      auto* beat = NewRecord<BeatInfo>(arena);
      beat->beatsPerMinute = Float(bytes);
      beat->barPhase = Float(bytes);
      built.input = Address(beat);
      break;
    }
    case kSetHostInfo: {
      auto* info = NewRecord<HostInfo>(arena);
      info->hostName = Text(bytes, arena, true);
      info->hostVersion = Text(bytes, arena, true);
      built.input = Address(info);
      break;
    }
    case kGetParameterRange: {
      auto* range = NewRecord<RangeQuery>(arena);
      range->parameterIndex = Index(bytes);
      range->minimum = Float(bytes);
      range->maximum = Float(bytes);
      built.input = Address(range);
      break;
    }
    case kGetThumbnail: {
      auto* query = NewRecord<ThumbnailQuery>(arena);
      query->width = bytes.U32();
      query->height = bytes.U32();
      // The size the module announced at start-up, exactly: a module that
      // writes more is caught by the sanitizer.
      const size_t bytesNeeded = size_t{gl.thumbnailWidth} * gl.thumbnailHeight * 4;
      query->pixels = bytes.Byte() % 2 ? arena.Allocate(bytesNeeded) : nullptr;
      built.input = Address(query);
      break;
    }
    case kCollectPendingEvents: {
      auto* query = NewRecord<PendingEventQuery>(arena);
      query->count = bytes.Byte() % 8u;
      query->reports = bytes.Byte() % 2
                           ? static_cast<ParameterEventReport*>(arena.Allocate(query->count * sizeof(ParameterEventReport)))
                           : nullptr;
      built.input = Address(query);
      break;
    }
    case kGetParameterGroup:
    case kGetParameterDisplayName: {
      auto* request = NewRecord<TextCopyRequest>(arena);
      request->parameterIndex = Index(bytes);
      const uint8_t choice = bytes.Byte();
      request->bufferSize = choice < 64 ? 0u : choice;
      // A zero-size buffer may even be null; any other is exactly its size.
      request->buffer = request->bufferSize == 0 && (choice & 1) ? nullptr
                                                                 : static_cast<char*>(arena.Allocate(request->bufferSize));
      built.input = Address(request);
      break;
    }
    default:
      break;
  }
  return built;
}

}  // namespace qvx::fuzz

// The fixed-layout records that cross the module boundary. The host lays them
// out and the module reads or fills them in place, so every size and offset is
// part of the contract and checked at compile time below. Integers are
// little-endian, pointers 8 bytes, floats IEEE 754 single precision; a gap is
// never read or written by the module.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

// Codes 18 and 23: the host's viewport.
struct Viewport {
  uint32_t x;
  uint32_t y;
  uint32_t width;
  uint32_t height;
};

// One input texture, reached through a FrameRenderRequest. The picture may be
// smaller than the allocated ("hardware") texture.
struct TextureDescriptor {
  uint32_t width;           // picture width in pixels
  uint32_t height;          // picture height in pixels
  uint32_t hardwareWidth;   // allocated texture width
  uint32_t hardwareHeight;  // allocated texture height
  uint32_t textureName;     // GL texture name
};

// Code 17. inputTextures holds inputTextureCount pointers; an entry may be null.
struct FrameRenderRequest {
  uint32_t inputTextureCount;
  uint32_t gap0;
  TextureDescriptor** inputTextures;
  uint32_t hostFramebuffer;  // GL framebuffer to draw into
  uint32_t gap1;
};

// Code 8. For a numeric parameter the value is the float in bytes 8..11; for a
// text-valued one (types 14 and 100) the slot holds a NUL-terminated text's address.
struct ParameterAssignment {
  uint32_t parameterIndex;
  uint32_t gap;
  union {
    float floatValue;
    const char* textValue;
  } value;
};

// Codes 35, 36, 44, 48: a parameter and a position in one of its lists.
struct IndexPair {
  uint32_t parameterIndex;
  uint32_t position;
};

// Code 37.
struct ElementAssignment {
  uint32_t parameterIndex;
  uint32_t elementPosition;
  float value;
};

// Code 38.
struct BeatInfo {
  float beatsPerMinute;
  float barPhase;
};

// Code 39. Both texts NUL-terminated.
struct HostInfo {
  const char* hostName;
  const char* hostVersion;
};

// Code 41. The host sets the index; the module writes minimum and maximum.
struct RangeQuery {
  uint32_t parameterIndex;
  float minimum;
  float maximum;
};

// Code 42. A null pixel buffer asks for the size only; otherwise it holds at
// least width x height x 4 bytes.
struct ThumbnailQuery {
  uint32_t width;
  uint32_t height;
  void* pixels;
};

// One report of code 46, 16 bytes; bytes 4..7 are never written.
struct ParameterEventReport {
  uint32_t parameterIndex;
  uint32_t gap;
  uint64_t eventFlags;
};

// Code 46. count is the array's capacity on the way in and the number of
// reports written on the way out (with a null array: the number pending).
struct PendingEventQuery {
  uint32_t count;
  uint32_t gap;
  ParameterEventReport* reports;
};

// Codes 50 and 51: a text copied into the host's buffer, unterminated when it fills it.
struct TextCopyRequest {
  uint32_t parameterIndex;
  uint32_t gap0;
  char* buffer;
  uint32_t bufferSize;
  uint32_t gap1;
};

// Code 0: what the plugin is.
struct PluginIdentity {
  uint32_t interfaceMajorVersion;
  uint32_t interfaceMinorVersion;
  char uniqueIdentifier[4];  // no terminator
  char name[16];             // NUL-padded, unterminated when 16 long
  uint32_t pluginType;       // 0: effect
};

// Code 13: versions and texts. The two texts live as long as the module.
struct PluginDetails {
  uint32_t pluginMajorVersion;
  uint32_t pluginMinorVersion;
  const char* description;
  const char* about;
  uint32_t extendedDataSize;
  uint32_t gap;
  void* extendedData;
};

}  // extern "C"

#define QVX_CHECK_FIELD(record, field, offset) \
  static_assert(offsetof(record, field) == (offset), #record "." #field " must be at offset " #offset)

static_assert(sizeof(void*) == 8, "the host interface is defined for 64-bit processes");

static_assert(sizeof(Viewport) == 16);
QVX_CHECK_FIELD(Viewport, x, 0);
QVX_CHECK_FIELD(Viewport, y, 4);
QVX_CHECK_FIELD(Viewport, width, 8);
QVX_CHECK_FIELD(Viewport, height, 12);

static_assert(sizeof(TextureDescriptor) == 20);
QVX_CHECK_FIELD(TextureDescriptor, width, 0);
QVX_CHECK_FIELD(TextureDescriptor, height, 4);
QVX_CHECK_FIELD(TextureDescriptor, hardwareWidth, 8);
QVX_CHECK_FIELD(TextureDescriptor, hardwareHeight, 12);
QVX_CHECK_FIELD(TextureDescriptor, textureName, 16);

static_assert(sizeof(FrameRenderRequest) == 24);
QVX_CHECK_FIELD(FrameRenderRequest, inputTextureCount, 0);
QVX_CHECK_FIELD(FrameRenderRequest, inputTextures, 8);
QVX_CHECK_FIELD(FrameRenderRequest, hostFramebuffer, 16);

static_assert(sizeof(ParameterAssignment) == 16);
QVX_CHECK_FIELD(ParameterAssignment, parameterIndex, 0);
QVX_CHECK_FIELD(ParameterAssignment, value, 8);

static_assert(sizeof(IndexPair) == 8);
QVX_CHECK_FIELD(IndexPair, parameterIndex, 0);
QVX_CHECK_FIELD(IndexPair, position, 4);

static_assert(sizeof(ElementAssignment) == 12);
QVX_CHECK_FIELD(ElementAssignment, parameterIndex, 0);
QVX_CHECK_FIELD(ElementAssignment, elementPosition, 4);
QVX_CHECK_FIELD(ElementAssignment, value, 8);

static_assert(sizeof(BeatInfo) == 8);
QVX_CHECK_FIELD(BeatInfo, beatsPerMinute, 0);
QVX_CHECK_FIELD(BeatInfo, barPhase, 4);

static_assert(sizeof(HostInfo) == 16);
QVX_CHECK_FIELD(HostInfo, hostName, 0);
QVX_CHECK_FIELD(HostInfo, hostVersion, 8);

static_assert(sizeof(RangeQuery) == 12);
QVX_CHECK_FIELD(RangeQuery, parameterIndex, 0);
QVX_CHECK_FIELD(RangeQuery, minimum, 4);
QVX_CHECK_FIELD(RangeQuery, maximum, 8);

static_assert(sizeof(ThumbnailQuery) == 16);
QVX_CHECK_FIELD(ThumbnailQuery, width, 0);
QVX_CHECK_FIELD(ThumbnailQuery, height, 4);
QVX_CHECK_FIELD(ThumbnailQuery, pixels, 8);

static_assert(sizeof(ParameterEventReport) == 16);
QVX_CHECK_FIELD(ParameterEventReport, parameterIndex, 0);
QVX_CHECK_FIELD(ParameterEventReport, eventFlags, 8);

static_assert(sizeof(PendingEventQuery) == 16);
QVX_CHECK_FIELD(PendingEventQuery, count, 0);
QVX_CHECK_FIELD(PendingEventQuery, reports, 8);

static_assert(sizeof(TextCopyRequest) == 24);
QVX_CHECK_FIELD(TextCopyRequest, parameterIndex, 0);
QVX_CHECK_FIELD(TextCopyRequest, buffer, 8);
QVX_CHECK_FIELD(TextCopyRequest, bufferSize, 16);

static_assert(sizeof(PluginIdentity) == 32);
QVX_CHECK_FIELD(PluginIdentity, interfaceMajorVersion, 0);
QVX_CHECK_FIELD(PluginIdentity, interfaceMinorVersion, 4);
QVX_CHECK_FIELD(PluginIdentity, uniqueIdentifier, 8);
QVX_CHECK_FIELD(PluginIdentity, name, 12);
QVX_CHECK_FIELD(PluginIdentity, pluginType, 28);

static_assert(sizeof(PluginDetails) == 40);
QVX_CHECK_FIELD(PluginDetails, pluginMajorVersion, 0);
QVX_CHECK_FIELD(PluginDetails, pluginMinorVersion, 4);
QVX_CHECK_FIELD(PluginDetails, description, 8);
QVX_CHECK_FIELD(PluginDetails, about, 16);
QVX_CHECK_FIELD(PluginDetails, extendedDataSize, 24);
QVX_CHECK_FIELD(PluginDetails, extendedData, 32);

#undef QVX_CHECK_FIELD

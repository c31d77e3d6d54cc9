// SPDX-License-Identifier: GPL-3.0-or-later
// The FFGL 2.1 binary interface as the host sees it: function codes, result
// values, parameter types and the argument records passed to plugMain.
// Layouts are fixed by the ABI (x86-64, little-endian); static_asserts below
// pin every offset a host reads.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define FF_CALL __stdcall
#define FF_EXPORT extern "C" __declspec(dllexport)
#else
#define FF_CALL
#define FF_EXPORT extern "C" __attribute__((visibility("default")))
#endif

union FFMixed {
  uint32_t UIntValue;
  float FloatValue;
  void* PointerValue;
};
static_assert(sizeof(FFMixed) == 8, "FFMixed is 64 bits wide");

using FFInstanceID = void*;
using FFResult = uint32_t;

// Result values.
constexpr uint32_t FF_SUCCESS = 0;
constexpr uint32_t FF_FAIL = 0xFFFFFFFFu;
constexpr uint32_t FF_SUPPORTED = 1;
constexpr uint32_t FF_UNSUPPORTED = 0;

// Function codes.
constexpr uint32_t FF_GET_INFO = 0;
constexpr uint32_t FF_INITIALISE = 1;
constexpr uint32_t FF_DEINITIALISE = 2;
constexpr uint32_t FF_PROCESS_FRAME = 3;
constexpr uint32_t FF_GET_NUM_PARAMETERS = 4;
constexpr uint32_t FF_GET_PARAMETER_NAME = 5;
constexpr uint32_t FF_GET_PARAMETER_DEFAULT = 6;
constexpr uint32_t FF_GET_PARAMETER_DISPLAY = 7;
constexpr uint32_t FF_SET_PARAMETER = 8;
constexpr uint32_t FF_GET_PARAMETER = 9;
constexpr uint32_t FF_GET_PLUGIN_CAPS = 10;
constexpr uint32_t FF_INSTANTIATE = 11;
constexpr uint32_t FF_DEINSTANTIATE = 12;
constexpr uint32_t FF_GET_EXTENDED_INFO = 13;
constexpr uint32_t FF_PROCESS_FRAME_COPY = 14;
constexpr uint32_t FF_GET_PARAMETER_TYPE = 15;
constexpr uint32_t FF_GET_INPUT_STATUS = 16;
constexpr uint32_t FF_PROCESS_OPENGL = 17;
constexpr uint32_t FF_INSTANTIATE_GL = 18;
constexpr uint32_t FF_DEINSTANTIATE_GL = 19;
constexpr uint32_t FF_SET_TIME = 20;
constexpr uint32_t FF_CONNECT = 21;
constexpr uint32_t FF_DISCONNECT = 22;
constexpr uint32_t FF_RESIZE = 23;
constexpr uint32_t FF_GET_NUM_PARAMETER_ELEMENTS = 31;
constexpr uint32_t FF_GET_PARAMETER_USAGE = 32;
constexpr uint32_t FF_GET_PLUGIN_SHORT_NAME = 33;
constexpr uint32_t FF_INITIALISE_V2 = 34;
constexpr uint32_t FF_GET_PARAMETER_ELEMENT_NAME = 35;
constexpr uint32_t FF_GET_PARAMETER_ELEMENT_VALUE = 36;
constexpr uint32_t FF_SET_PARAMETER_ELEMENT_VALUE = 37;
constexpr uint32_t FF_SET_BEATINFO = 38;
constexpr uint32_t FF_SET_HOSTINFO = 39;
constexpr uint32_t FF_SET_SAMPLERATE = 40;
constexpr uint32_t FF_GET_RANGE = 41;
constexpr uint32_t FF_GET_THUMBNAIL = 42;
constexpr uint32_t FF_GET_NUM_FILE_PARAMETER_EXTENSIONS = 43;
constexpr uint32_t FF_GET_FILE_PARAMETER_EXTENSION = 44;
constexpr uint32_t FF_GET_PARAMETER_VISIBILITY = 45;
constexpr uint32_t FF_GET_PARAMETER_EVENTS = 46;

// Capabilities.
constexpr uint32_t FF_CAP_SET_TIME = 5;
constexpr uint32_t FF_CAP_MINIMUM_INPUT_FRAMES = 10;
constexpr uint32_t FF_CAP_MAXIMUM_INPUT_FRAMES = 11;

// Plug-in types.
constexpr uint32_t FF_EFFECT = 0;
constexpr uint32_t FF_SOURCE = 1;
constexpr uint32_t FF_MIXER = 2;

// Parameter types.
constexpr uint32_t FF_TYPE_BOOLEAN = 0;
constexpr uint32_t FF_TYPE_STANDARD = 10;
constexpr uint32_t FF_TYPE_OPTION = 11;
constexpr uint32_t FF_TYPE_FILE = 14;
constexpr uint32_t FF_TYPE_TEXT = 100;
constexpr uint32_t FF_TYPE_HUE = 200;
constexpr uint32_t FF_TYPE_SATURATION = 201;
constexpr uint32_t FF_TYPE_BRIGHTNESS = 202;
constexpr uint32_t FF_TYPE_ALPHA = 203;

constexpr uint64_t FF_EVENT_FLAG_VISIBILITY = 1;

inline bool IsStringParamType(uint32_t type) {
  return type == FF_TYPE_TEXT || type == FF_TYPE_FILE;
}

// Argument records.
struct PluginInfoStruct {
  uint32_t APIMajorVersion;
  uint32_t APIMinorVersion;
  char PluginUniqueID[4];
  char PluginName[16];
  uint32_t PluginType;
};
static_assert(sizeof(PluginInfoStruct) == 32, "PluginInfoStruct layout");

struct PluginExtendedInfoStruct {
  uint32_t PluginMajorVersion;
  uint32_t PluginMinorVersion;
  const char* Description;
  const char* About;
  uint32_t FreeFrameExtendedDataSize;
  void* FreeFrameExtendedDataBlock;
};
static_assert(sizeof(PluginExtendedInfoStruct) == 40, "PluginExtendedInfoStruct layout");
static_assert(offsetof(PluginExtendedInfoStruct, FreeFrameExtendedDataSize) == 24, "layout");
static_assert(offsetof(PluginExtendedInfoStruct, FreeFrameExtendedDataBlock) == 32, "layout");

struct SetParameterStruct {
  uint32_t ParameterNumber;
  FFMixed NewParameterValue;
};
static_assert(offsetof(SetParameterStruct, NewParameterValue) == 8, "layout");

struct FFGLViewportStruct {
  uint32_t x, y, width, height;
};

struct FFGLTextureStruct {
  uint32_t Width, Height, HardwareWidth, HardwareHeight, Handle;
};

struct ProcessOpenGLStruct {
  uint32_t numInputTextures;
  FFGLTextureStruct** inputTextures;
  uint32_t HostFBO;
};

struct ElementIndexStruct {
  uint32_t ParameterNumber;
  uint32_t ElementNumber;
};

struct SetElementValueStruct {
  uint32_t ParameterNumber;
  uint32_t ElementNumber;
  float NewParameterValue;
};

struct BeatInfoStruct {
  float bpm;
  float barPhase;
};

struct HostInfoStruct {
  const char* name;
  const char* version;
};
static_assert(offsetof(HostInfoStruct, version) == 8, "layout");

struct RangeStruct {
  uint32_t ParameterNumber;
  float min;
  float max;
};

struct ThumbnailStruct {
  uint32_t width;
  uint32_t height;
  void* rgbaPixelBuffer;
};
static_assert(offsetof(ThumbnailStruct, rgbaPixelBuffer) == 8, "layout");

struct ParamEventStruct {
  uint32_t ParameterNumber;
  uint64_t eventFlags;
};
static_assert(sizeof(ParamEventStruct) == 16 && offsetof(ParamEventStruct, eventFlags) == 8,
              "layout");

struct ParameterEventsStruct {
  uint32_t numEvents;
  ParamEventStruct* events;
};
static_assert(offsetof(ParameterEventsStruct, events) == 8, "layout");

using PlugMainFunc = FFMixed(FF_CALL*)(uint32_t functionCode, FFMixed inputValue,
                                       FFInstanceID instanceID);

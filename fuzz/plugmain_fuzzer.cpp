// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: plays random sessions of plugMain calls, decoded from the
// input (see SessionBytes.h), against the plug-in linked in statically, in a
// real headless GL context made once per process.
//
// Besides crashes and sanitizer reports, the harness stops on anything a host
// would see as misbehaviour: a frame of a live instance that does not answer
// FF_SUCCESS, an instance code that accepts a handle which is not a live
// instance, a GL error left pending, a change to the host's GL state, and GL
// objects still alive once every instance of the session is deleted.
//
// As a real host, it never passes a pointer that does not point to memory it
// owns (records may be null, and their fields hold anything), and a handle
// that is not live is only ever passed as a value, never dereferenced.
#include "fuzz/SessionBytes.h"

#include "ffgl/FFGL.h"
#include "ffgl/Mixed.h"
#include "host/HeadlessHost.h"
#include "host/PlugMainCalls.h"
#include "tests/reliability/GLStateSnapshot.h"
#include "tests/support/GLCallRecorder.h"
#include "tickora/TimeSource.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

FF_EXPORT FFMixed FF_CALL plugMain(uint32_t functionCode, FFMixed inputValue,
                                   FFInstanceID instanceID);

namespace {

using namespace fuzz;

constexpr size_t kMaxLive = 4;
constexpr int kMaxCreatesPerInput = 6;
constexpr int kMaxFramesPerInput = 32;
constexpr int kMaxActionsPerInput = 160;
constexpr int kHostSide = 64;
// 2026-12-08 10:09:59.500 UTC: every session starts from the same instant.
constexpr int64_t kStartClock = 1796724599500;

int64_t clockNow = kStartClock;
int64_t FrozenClock() { return clockNow; }

// The plug-in linked in, called as a host calls the shared library.
const host::LinkedPlugin plugin(&plugMain);

float Bits(uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

const std::array<float, 16> kHostileValues = {
    Bits(0x7FC00000u),  // NaN
    Bits(0xFFC00000u),  // negative NaN
    Bits(0x7F800001u),  // signalling NaN
    Bits(0x7F800000u),  // +Inf
    Bits(0xFF800000u),  // -Inf
    1e30f,
    -1e30f,
    Bits(0x7F7FFFFFu),  // largest float
    Bits(0xFF7FFFFFu),
    Bits(0x00000001u),  // smallest denormal
    Bits(0x007FFFFFu),  // largest denormal
    -1.0f,
    -0.0f,
    2147483648.0f,  // just past int32
    -2147483904.0f,
    1e-30f,
};

bool IsRecordCode(uint32_t code) {
  switch (code) {
    case FF_SET_PARAMETER: case FF_PROCESS_OPENGL: case FF_INSTANTIATE_GL: case FF_SET_TIME:
    case FF_RESIZE: case FF_GET_PARAMETER_ELEMENT_NAME: case FF_GET_PARAMETER_ELEMENT_VALUE:
    case FF_SET_PARAMETER_ELEMENT_VALUE: case FF_SET_BEATINFO: case FF_SET_HOSTINFO:
    case FF_GET_RANGE: case FF_GET_THUMBNAIL: case FF_GET_FILE_PARAMETER_EXTENSION:
    case FF_GET_PARAMETER_EVENTS:
      return true;
    default:
      return false;
  }
}

// Codes that need a live instance and answer FF_FAIL in the low half without one.
bool IsInstanceCode(uint32_t code) {
  switch (code) {
    case FF_SET_PARAMETER: case FF_GET_PARAMETER: case FF_GET_INPUT_STATUS:
    case FF_PROCESS_OPENGL: case FF_DEINSTANTIATE_GL: case FF_SET_TIME: case FF_CONNECT:
    case FF_DISCONNECT: case FF_RESIZE: case FF_SET_PARAMETER_ELEMENT_VALUE:
    case FF_SET_BEATINFO: case FF_SET_HOSTINFO: case FF_SET_SAMPLERATE:
    case FF_GET_PARAMETER_EVENTS:
      return true;
    default:
      return false;
  }
}

[[noreturn]] void Finding(const char* what, uint32_t code, const std::string& detail = {}) {
  std::fprintf(stderr, "tickora_fuzz: %s (code %u)\n%s\n", what, code, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

class Harness {
 public:
  bool Start();
  void Run(const uint8_t* data, size_t size);
  uint64_t calls = 0;
  uint64_t inputs = 0;

 private:
  FFMixed Call(uint32_t code, FFMixed input, FFInstanceID handle);
  bool IsLive(FFInstanceID handle) const;
  void Forget(FFInstanceID handle);
  void EndSession();

  FFInstanceID Handle(Reader& in);
  uint32_t Index(Reader& in);
  float Value(Reader& in);
  static uint32_t Size(Reader& in) {
    const uint8_t v = in.U8();
    return v < kSizeLarge ? v % 97u : in.U16() % (kMaxSide + 1);
  }
  const char* Text(Reader& in, size_t slot);
  FFMixed Argument(uint32_t code, Reader& in);

  void Act(uint8_t action, Reader& in);
  void Create(Reader& in);
  void Delete(Reader& in);
  void Frame(Reader& in);
  void SetParam(Reader& in);
  void GetParam(Reader& in);
  void Resize(Reader& in);
  void AnyCall(Reader& in);
  void SetClock(Reader& in);
  void Events(Reader& in);
  void HostState(Reader& in);
  void Global(Reader& in);

  std::unique_ptr<host::GLContext> context;
  reliability::HostObjects hostObjects;
  reliability::GLStateSnapshot hostState;
  std::unique_ptr<testing_support::GLCallRecorder> recorder;

  std::vector<FFInstanceID> live;
  std::vector<uintptr_t> deleted;
  int creates = 0;
  int frames = 0;

  // Storage the records of one call point into, all owned here.
  alignas(16) uint8_t record[64] = {};
  std::array<std::string, 2> texts;
  std::vector<ParamEventStruct> eventArray;
  std::array<FFGLTextureStruct, 2> textures{};
  std::array<FFGLTextureStruct*, 2> texturePointers{};
  std::array<uint32_t, 16> thumbnail{};
};

Harness harness;

bool Harness::Start() {
  // Every instance compiles the same two programs, and llvmpipe turns each
  // into machine code at its first draw: its disk cache makes that a lookup,
  // ten times the executions per second. Kept apart from the user's cache.
  setenv("MESA_SHADER_CACHE_DISABLE", "false", 1);
  if (getenv("MESA_SHADER_CACHE_DIR") == nullptr) {
    const char* temporary = getenv("TMPDIR");
    const std::string folder =
        std::string(temporary != nullptr ? temporary : "/tmp") + "/tickora-fuzz-mesa-cache";
    setenv("MESA_SHADER_CACHE_DIR", folder.c_str(), 1);
  }
  // Rasterise on the calling thread: frames here are tiny, threads cost more.
  setenv("LP_NUM_THREADS", "0", 0);
  std::string error;
  context = host::GLContext::Create(&error);
  if (!context || !context->SetFramebufferSize(kHostSide, kHostSide)) {
    std::fprintf(stderr, "tickora_fuzz: no GL context: %s\n", error.c_str());
    return false;
  }
  if (!hostObjects.Create()) return false;
  hostObjects.Bind(context->Framebuffer(), 0, 0, kHostSide, kHostSide);
  tickora::SetTimeSource(FrozenClock);
  for (size_t i = 0; i < textures.size(); ++i) {
    textures[i] = FFGLTextureStruct{16, 16, 16, 16, 0};
    texturePointers[i] = &textures[i];
  }

  // The dispatcher loads the GL entry points at the first instance; the
  // recorder goes over that table once it exists.
  FFInstanceID first = plugin.Instantiate(kHostSide, kHostSide);
  if (first == nullptr) return false;
  plugin.Deinstantiate(first);
  plugin.Deinitialise();
  recorder = std::make_unique<testing_support::GLCallRecorder>();
  hostState = reliability::CaptureGLState();
  reliability::TakeGLErrors();
  return true;
}

bool Harness::IsLive(FFInstanceID handle) const {
  return handle != nullptr && std::find(live.begin(), live.end(), handle) != live.end();
}

void Harness::Forget(FFInstanceID handle) {
  live.erase(std::remove(live.begin(), live.end(), handle), live.end());
  deleted.push_back(reinterpret_cast<uintptr_t>(handle));
}

FFMixed Harness::Call(uint32_t code, FFMixed input, FFInstanceID handle) {
  const bool wasLive = IsLive(handle);
  ++calls;
  const FFMixed result = plugin.Call(code, input, handle);

  if (const unsigned error = reliability::TakeGLErrors())
    Finding("GL error left pending", code, std::to_string(error));
  const std::string changed =
      reliability::DescribeDifferences(hostState, reliability::CaptureGLState());
  if (!changed.empty()) Finding("host GL state changed", code, changed);

  if (code == FF_INSTANTIATE_GL) {
    auto* made = static_cast<FFInstanceID>(result.PointerValue);
    if (ffgl::IsAllOnes(result)) return result;
    if (made == nullptr || IsLive(made)) Finding("instantiation returned a bad handle", code);
    live.push_back(made);
    return result;
  }
  if (IsInstanceCode(code) && !wasLive && result.UIntValue != FF_FAIL)
    Finding("an instance code accepted a handle that is not live", code);
  if (code == FF_GET_PARAMETER_DISPLAY && !wasLive &&
      !ffgl::IsAllOnes(result))
    Finding("parameter display accepted a handle that is not live", code);
  // Visibility answers from the prototype without a handle, never for a stale one.
  if (code == FF_GET_PARAMETER_VISIBILITY && handle != nullptr && !wasLive &&
      result.UIntValue != FF_FAIL)
    Finding("parameter visibility accepted a handle that is not live", code);
  if (code == FF_PROCESS_OPENGL && wasLive && input.PointerValue != nullptr &&
      result.UIntValue != FF_SUCCESS)
    Finding("a frame of a live instance failed", code);
  if (code == FF_DEINSTANTIATE_GL && wasLive) {
    if (result.UIntValue != FF_SUCCESS) Finding("deleting a live instance failed", code);
    Forget(handle);
  }
  return result;
}

FFInstanceID Harness::Handle(Reader& in) {
  uint8_t choice = in.U8();
  if (choice == kHandleNull) return nullptr;
  if (choice == kHandleStale) {
    const uint8_t which = in.U8();
    if (!deleted.empty()) return reinterpret_cast<FFInstanceID>(deleted[which % deleted.size()]);
    choice = kHandleForeign;
  }
  if (choice == kHandleForeign) {
    // Values no instance can have; the last is memory that is not an instance.
    const uintptr_t foreign[] = {1, 0x1000, UINTPTR_MAX, 0xDEADBEEF,
                                 reinterpret_cast<uintptr_t>(record)};
    return reinterpret_cast<FFInstanceID>(foreign[in.U8() % 5]);
  }
  if (live.empty()) return nullptr;
  return live[static_cast<size_t>(choice - kHandleLive) % live.size()];
}

uint32_t Harness::Index(Reader& in) {
  const uint8_t v = in.U8();
  return v < kIndexRaw ? v % 32u : in.U32();
}

float Harness::Value(Reader& in) {
  const uint8_t v = in.U8();
  if (v < kValueSpecial) return static_cast<float>(v);
  if (v < kValueSlider) return kHostileValues[v - kValueSpecial];
  if (v < kValueRaw) return static_cast<float>(v - kValueSlider) / 110.0f;
  return Bits(in.U32());
}

// A NUL-terminated string of the harness, or null.
const char* Harness::Text(Reader& in, size_t slot) {
  const uint8_t length = in.U8();
  if (length == 0) return nullptr;
  std::string& text = texts[slot];
  text.assign(length % 40u, 'x');
  in.Bytes(&text[0], text.size());
  return text.c_str();
}

FFMixed Harness::Argument(uint32_t code, Reader& in) {
  uint8_t kind = in.U8() % 3;
  // A record code given an index would receive a pointer to nowhere, which
  // no host passes: it gets no record instead.
  if (kind == kArgIndex && IsRecordCode(code)) kind = kArgNull;
  if (kind == kArgIndex) return ffgl::MixedUInt(Index(in));
  if (kind == kArgNull) return ffgl::MixedPointer(nullptr);

  std::memset(record, 0, sizeof record);
  in.Bytes(record, in.U8() % 33u);
  auto setPointer = [this](size_t offset, const void* pointer) {
    std::memcpy(record + offset, &pointer, sizeof pointer);
  };
  switch (code) {
    case FF_SET_PARAMETER: {
      uint32_t index;
      std::memcpy(&index, record, sizeof index);
      ++calls;
      if (IsStringParamType(plugin.ParameterType(index))) setPointer(8, Text(in, 0));
      break;
    }
    case FF_PROCESS_OPENGL:
      setPointer(8, in.U8() % 2 ? texturePointers.data() : nullptr);
      break;
    case FF_INSTANTIATE_GL:
    case FF_RESIZE: {
      auto* viewport = reinterpret_cast<FFGLViewportStruct*>(record);
      viewport->width %= kMaxSide + 1;
      viewport->height %= kMaxSide + 1;
      break;
    }
    case FF_SET_HOSTINFO: {
      setPointer(0, Text(in, 0));
      setPointer(8, Text(in, 1));
      break;
    }
    case FF_GET_THUMBNAIL:
      setPointer(8, in.U8() % 2 ? thumbnail.data() : nullptr);
      break;
    case FF_GET_PARAMETER_EVENTS: {
      uint32_t capacity;
      std::memcpy(&capacity, record, sizeof capacity);
      // Exactly the declared capacity, so that a write past it is caught;
      // an absurd capacity gets more room than there are parameters.
      eventArray.assign(std::min<uint32_t>(capacity, 64), ParamEventStruct{});
      setPointer(8, in.U8() % 2 && !eventArray.empty() ? eventArray.data() : nullptr);
      break;
    }
    default:
      break;
  }
  return ffgl::MixedPointer(record);
}

void Harness::Create(Reader& in) {
  const uint8_t flags = in.U8();
  FFGLViewportStruct viewport{0, 0, 0, 0};
  if (flags & 2) {
    viewport.x = in.U16();
    viewport.y = in.U16();
  }
  viewport.width = Size(in);
  viewport.height = Size(in);
  if (creates >= kMaxCreatesPerInput) return;
  ++creates;
  if (live.size() >= kMaxLive) Call(FF_DEINSTANTIATE_GL, ffgl::MixedUInt(0), live.front());
  Call(FF_INSTANTIATE_GL, ffgl::MixedPointer((flags & 1) ? nullptr : &viewport), nullptr);
}

void Harness::Frame(Reader& in) {
  FFInstanceID handle = Handle(in);
  const uint8_t flags = in.U8();
  if (frames >= kMaxFramesPerInput) return;
  ++frames;
  ProcessOpenGLStruct frame{};
  frame.HostFBO = context->Framebuffer();
  if (flags & 2) {
    frame.numInputTextures = static_cast<uint32_t>(textures.size());
    frame.inputTextures = texturePointers.data();
  }
  Call(FF_PROCESS_OPENGL, ffgl::MixedPointer((flags & 1) ? nullptr : &frame), handle);
}

void Harness::SetParam(Reader& in) {
  FFInstanceID handle = Handle(in);
  SetParameterStruct change{};
  change.ParameterNumber = Index(in);
  change.NewParameterValue.PointerValue = nullptr;
  change.NewParameterValue.FloatValue = Value(in);
  const uint8_t flags = in.U8();
  ++calls;
  if (IsStringParamType(plugin.ParameterType(change.ParameterNumber)))
    change.NewParameterValue.PointerValue = const_cast<char*>(Text(in, 0));
  Call(FF_SET_PARAMETER, ffgl::MixedPointer((flags & 1) ? nullptr : &change), handle);
}

void Harness::Events(Reader& in) {
  FFInstanceID handle = Handle(in);
  const uint8_t c = in.U8();
  const uint32_t capacity = c < kIndexRaw ? c % 65u : in.U32();
  const uint8_t flags = in.U8();
  eventArray.assign(std::min<uint32_t>(capacity, 64), ParamEventStruct{});
  ParameterEventsStruct events{};
  events.numEvents = capacity;
  events.events = (flags & 1) || eventArray.empty() ? nullptr : eventArray.data();
  const FFMixed result =
      Call(FF_GET_PARAMETER_EVENTS, ffgl::MixedPointer((flags & 2) ? nullptr : &events), handle);
  // On success the count is what was written; a refused call leaves it alone.
  if (result.UIntValue == FF_SUCCESS && events.events != nullptr &&
      events.numEvents > eventArray.size())
    Finding("more parameter events reported than the array holds", FF_GET_PARAMETER_EVENTS);
}

void Harness::HostState(Reader& in) {
  struct Rect { int x, y, w, h; };
  const Rect choices[] = {{0, 0, kHostSide, kHostSide},
                          {8, 4, kHostSide / 2, kHostSide / 3},
                          {5, 5, 1, 1},
                          {0, 0, 0, 0}};
  const Rect r = choices[in.U8() % 4];
  hostObjects.Bind(context->Framebuffer(), r.x, r.y, r.w, r.h);
  hostState = reliability::CaptureGLState();
}

void Harness::Delete(Reader& in) {
  Call(FF_DEINSTANTIATE_GL, ffgl::MixedUInt(0), Handle(in));
}

void Harness::GetParam(Reader& in) {
  FFInstanceID handle = Handle(in);
  Call(FF_GET_PARAMETER, ffgl::MixedUInt(Index(in)), handle);
}

void Harness::Resize(Reader& in) {
  FFInstanceID handle = Handle(in);
  const uint8_t flags = in.U8();
  FFGLViewportStruct viewport{0, 0, 0, 0};
  viewport.width = Size(in);
  viewport.height = Size(in);
  Call(FF_RESIZE, ffgl::MixedPointer((flags & 1) ? nullptr : &viewport), handle);
}

// Any function code, known or not, with an argument made for it.
void Harness::AnyCall(Reader& in) {
  const uint8_t c = in.U8();
  const uint32_t code = c < kCodeRaw ? c % 51u : in.U32();
  FFInstanceID handle = Handle(in);
  // Creation and deletion keep to the same bounds as their own actions.
  if (code == FF_INSTANTIATE_GL && (creates >= kMaxCreatesPerInput || live.size() >= kMaxLive))
    return;
  if (code == FF_INSTANTIATE_GL) ++creates;
  if (code == FF_PROCESS_OPENGL && frames++ >= kMaxFramesPerInput) return;
  Call(code, Argument(code, in), handle);
}

void Harness::SetClock(Reader& in) {
  const uint64_t v = in.U64();
  // 1900 to 2109.
  clockNow = static_cast<int64_t>(v % (3ull << 41)) - (int64_t{1} << 41);
}

void Harness::Global(Reader& in) {
  const uint32_t codes[] = {FF_DEINITIALISE, FF_INITIALISE_V2, FF_GET_NUM_PARAMETERS};
  Call(codes[in.U8() % 3], ffgl::MixedUInt(0), nullptr);
}

void Harness::Act(uint8_t action, Reader& in) {
  switch (action) {
    case kCreate: Create(in); break;
    case kDelete: Delete(in); break;
    case kFrame: Frame(in); break;
    case kSetParam: SetParam(in); break;
    case kGetParam: GetParam(in); break;
    case kResize: Resize(in); break;
    case kCall: AnyCall(in); break;
    case kSetClock: SetClock(in); break;
    case kHostState: HostState(in); break;
    case kEvents: Events(in); break;
    case kGlobal: Global(in); break;
  }
}

void Harness::Run(const uint8_t* data, size_t size) {
  ++inputs;
  Reader in(data, size);
  creates = 0;
  frames = 0;
  clockNow = kStartClock;
  for (int actions = 0; actions < kMaxActionsPerInput && !in.AtEnd(); ++actions)
    Act(static_cast<uint8_t>(in.U8() % kActionCount), in);
  EndSession();
}

// Every session ends as a host closing down: its instances deleted, the
// prototype released, nothing of the plug-in left in the GL context.
void Harness::EndSession() {
  while (!live.empty()) Call(FF_DEINSTANTIATE_GL, ffgl::MixedUInt(0), live.back());
  Call(FF_DEINITIALISE, ffgl::MixedUInt(0), nullptr);
  // As a host presenting its output: llvmpipe holds whatever a pending frame
  // used, deleted textures included, until the frame is finished.
  reliability::FinishGL();
  if (recorder->LiveObjects() != 0)
    Finding("GL objects left after every instance was deleted", FF_DEINSTANTIATE_GL,
            std::to_string(recorder->LiveObjects()));
  recorder->Reset();
  deleted.clear();
  hostObjects.Bind(context->Framebuffer(), 0, 0, kHostSide, kHostSide);
  hostState = reliability::CaptureGLState();
}

void PrintTotals() {
  std::fprintf(stderr, "tickora_fuzz: %llu plugMain calls in %llu inputs\n",
               static_cast<unsigned long long>(harness.calls),
               static_cast<unsigned long long>(harness.inputs));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!harness.Start()) std::abort();
  std::atexit(PrintTotals);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  harness.Run(data, size);
  return 0;
}

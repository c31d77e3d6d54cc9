// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the fuzzer's seed corpus: sessions a video host plays in normal
// use (start-up queries, one or several instances drawing each display type,
// parameter changes from the host's controls, resizes, shutdown), plus the
// lifecycle corners hosts reach by accident. Usage: tickora_fuzz_corpus DIR
#include "ffgl/FFGL.h"
#include "fuzz/SessionBytes.h"
#include "tickora/ClockParameters.h"

#include <cstdio>
#include <initializer_list>
#include <string>

namespace {

using namespace fuzz;

// Parameter positions of Tickora, from its parameter table.
constexpr uint8_t Position(tickora::ParamId id, uint32_t member = 0) {
  return static_cast<uint8_t>(tickora::IndexOf(id) + member);
}
using tickora::ParamId;
constexpr uint8_t kType = Position(ParamId::kType), kHue = Position(ParamId::kColour),
                  kSaturation = Position(ParamId::kColour, 1),
                  kAlpha = Position(ParamId::kColour, 3), kFont = Position(ParamId::kFont),
                  kStyle = Position(ParamId::kStyle), kScale = Position(ParamId::kScale),
                  kColonWidth = Position(ParamId::kColonWidth),
                  kShowSeconds = Position(ParamId::kShowSeconds),
                  kShowMillis = Position(ParamId::kShowMillisecs),
                  kColonAnimation = Position(ParamId::kColonAnimation),
                  kDate = Position(ParamId::kDate), kHour = Position(ParamId::kHour),
                  kMinute = Position(ParamId::kMinute), kHourLength = Position(ParamId::kHourLength),
                  kSmooth = Position(ParamId::kSmoothTime), kParamCount = Position(ParamId::kCount);

constexpr uint8_t kFirst = kHandleLive;
constexpr uint8_t kSecond = kHandleLive + 1;

struct Session : Writer {
  Session& Create(uint32_t w, uint32_t h) { U8(kCreate).U8(0).Size(w).Size(h); return *this; }
  Session& Delete(uint8_t handle = kFirst) { U8(kDelete).U8(handle); return *this; }
  Session& Frame(uint8_t handle = kFirst, int count = 1) {
    for (int i = 0; i < count; ++i) U8(kFrame).U8(handle).U8(0);
    return *this;
  }
  Session& Set(uint8_t index, float value, uint8_t handle = kFirst) {
    U8(kSetParam).U8(handle).U8(index);
    Value(value);
    U8(0);
    return *this;
  }
  Session& SetHostile(uint8_t index, uint8_t which, uint8_t handle = kFirst) {
    U8(kSetParam).U8(handle).U8(index).U8(static_cast<uint8_t>(kValueSpecial + which)).U8(0);
    return *this;
  }
  Session& Get(uint8_t index, uint8_t handle = kFirst) {
    U8(kGetParam).U8(handle).U8(index);
    return *this;
  }
  Session& Resize(uint32_t w, uint32_t h, uint8_t handle = kFirst) {
    U8(kResize).U8(handle).U8(0).Size(w).Size(h);
    return *this;
  }
  Session& Events(uint8_t capacity, uint8_t handle = kFirst) {
    U8(kEvents).U8(handle).U8(capacity).U8(0);
    return *this;
  }
  Session& Query(uint32_t code, uint8_t index, uint8_t handle = kHandleNull) {
    U8(kCall).U8(static_cast<uint8_t>(code)).U8(handle).U8(kArgIndex).U8(index);
    return *this;
  }
  // A call with a record of these bytes; `choices` answer the pointer fields.
  Session& Record(uint32_t code, uint8_t handle, std::initializer_list<uint8_t> bytes,
                  std::initializer_list<uint8_t> choices = {}) {
    U8(kCall).U8(static_cast<uint8_t>(code)).U8(handle).U8(kArgRecord);
    U8(static_cast<uint8_t>(bytes.size()));
    for (uint8_t b : bytes) U8(b);
    for (uint8_t c : choices) U8(c);
    return *this;
  }
  Session& Clock(uint64_t millis) { U8(kSetClock).U64(millis + (uint64_t{1} << 41)); return *this; }
  Session& Viewport(uint8_t choice) { U8(kHostState).U8(choice); return *this; }
  Session& Global(uint8_t which) { U8(kGlobal).U8(which); return *this; }
};

bool Save(const std::string& folder, const char* name, const Session& session) {
  const std::string path = folder + "/" + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const size_t written = std::fwrite(session.bytes.data(), 1, session.bytes.size(), file);
  return std::fclose(file) == 0 && written == session.bytes.size();
}

Session HostStartup() {
  Session s;
  s.Query(FF_GET_INFO, 0).Query(FF_GET_EXTENDED_INFO, 0).Global(1).Global(2);
  s.Query(FF_GET_PLUGIN_CAPS, FF_CAP_SET_TIME).Query(FF_GET_PLUGIN_CAPS, FF_CAP_MINIMUM_INPUT_FRAMES);
  for (uint8_t i = 0; i < kParamCount; ++i) {
    s.Query(FF_GET_PARAMETER_NAME, i).Query(FF_GET_PARAMETER_TYPE, i);
    s.Query(FF_GET_PARAMETER_DEFAULT, i).Query(FF_GET_NUM_PARAMETER_ELEMENTS, i);
    s.Query(FF_GET_PARAMETER_VISIBILITY, i);
  }
  for (uint8_t element = 0; element < 4; ++element) {
    s.Record(FF_GET_PARAMETER_ELEMENT_NAME, kHandleNull, {kType, 0, 0, 0, element, 0, 0, 0});
    s.Record(FF_GET_PARAMETER_ELEMENT_VALUE, kHandleNull, {kColonAnimation, 0, 0, 0, element, 0, 0, 0});
  }
  s.Record(FF_GET_RANGE, kHandleNull, {kScale, 0, 0, 0});
  s.Record(FF_GET_THUMBNAIL, kHandleNull, {}, {1});
  s.Global(0);
  return s;
}

Session Digital() {
  Session s;
  s.Create(96, 54).Frame(kFirst, 3).Set(kShowMillis, 1.0f).Frame();
  for (float animation : {1.0f, 2.0f, 3.0f}) s.Set(kColonAnimation, animation).Frame();
  s.Set(kFont, 1.0f).Set(kStyle, 1.0f).Frame().Set(kStyle, 2.0f).Frame();
  s.Set(kHue, 0.6f).Set(kSaturation, 0.5f).Set(kScale, 0.3f).Set(kColonWidth, 0.9f).Frame();
  s.Resize(64, 64).Frame().Events(32).Get(kScale).Delete();
  return s;
}

Session Classic() {
  Session s;
  s.Create(80, 80).Set(kType, 1.0f).Events(32).Frame(kFirst, 2);
  s.Set(kSmooth, 0.0f).Frame().Set(kHourLength, 0.9f).Set(kAlpha, 0.5f).Frame();
  s.Resize(40, 90).Frame().Set(kType, 0.0f).Frame().Set(kType, 1.0f).Frame().Delete();
  return s;
}

Session Countdown() {
  Session s;
  s.Create(96, 40).Set(kType, 2.0f).Events(4).Events(32);
  s.Set(kDate, 9.0f).Set(kHour, 23.0f).Set(kMinute, 59.0f).Frame();
  s.Set(kShowSeconds, 0.0f).Frame().Set(kDate, 0.0f).Set(kHour, 0.0f).Frame();
  s.Clock(1774746000000).Set(kDate, 1.0f).Set(kHour, 12.0f).Frame().Delete();
  return s;
}

Session SeveralInstances() {
  Session s;
  s.Create(64, 36).Create(32, 32).Set(kType, 1.0f, kSecond);
  for (int i = 0; i < 3; ++i) s.Frame(kFirst).Frame(kSecond);
  s.Delete(kFirst).Frame(kFirst).Create(48, 20).Set(kType, 2.0f, kSecond).Frame(kSecond);
  s.Delete(kFirst).Delete(kFirst);
  return s;
}

Session Resizes() {
  Session s;
  s.Create(0, 0).Frame().Resize(2048, 1).Frame().Resize(1, 2048).Set(kType, 1.0f).Frame();
  s.Set(kType, 0.0f).Resize(0, 0).Frame().Resize(97, 13).Frame().Delete();
  return s;
}

Session HostileValues() {
  Session s;
  s.Create(48, 27);
  for (uint8_t type = 0; type < tickora::kDisplayTypeCount; ++type) {
    s.Set(kType, type);
    for (uint8_t index = 1; index < kParamCount; index += 3)
      s.SetHostile(index, static_cast<uint8_t>((index + type) % 16));
    s.Frame();
  }
  s.SetHostile(kType, 0).Frame().SetHostile(kType, 3).Frame().Delete();
  return s;
}

Session Lifecycle() {
  Session s;
  s.Create(32, 32);
  s.Query(FF_CONNECT, 0, kFirst).Query(FF_DISCONNECT, 0, kFirst).Frame();
  s.Record(FF_SET_TIME, kFirst, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F});
  s.Record(FF_SET_BEATINFO, kFirst, {0, 0, 0xF0, 0x42, 0, 0, 0, 0x3F});
  s.Record(FF_SET_HOSTINFO, kFirst, {}, {5, 'H', 'o', 's', 't', '!', 3, '1', '.', '0'});
  s.Query(FF_SET_SAMPLERATE, 44, kFirst).Query(FF_GET_INPUT_STATUS, 0, kFirst);
  s.Query(FF_GET_PARAMETER_DISPLAY, 0, kFirst);
  s.Record(FF_SET_PARAMETER_ELEMENT_VALUE, kFirst, {kHour, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0x80, 0x40});
  s.Global(0).Frame().Global(1).Delete();
  return s;
}

Session StaleHandles() {
  Session s;
  s.Create(32, 18).Frame().Delete();
  s.U8(kFrame).U8(kHandleStale).U8(0).U8(0);
  s.U8(kSetParam).U8(kHandleStale).U8(0).U8(1).U8(0);
  s.U8(kDelete).U8(kHandleStale).U8(0);
  s.U8(kFrame).U8(kHandleForeign).U8(4).U8(0);
  s.U8(kFrame).U8(kHandleNull).U8(0);
  return s;
}

Session HostViewports() {
  Session s;
  s.Create(64, 64);
  for (uint8_t viewport = 0; viewport < 4; ++viewport) {
    s.Viewport(viewport);
    for (const tickora::DisplayTypeDef& def : tickora::kDisplayTypes)
      s.Set(kType, static_cast<float>(def.type)).Frame();
  }
  s.Delete();
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const bool ok = Save(folder, "host_startup", HostStartup()) && Save(folder, "digital", Digital()) &&
                  Save(folder, "classic", Classic()) && Save(folder, "countdown", Countdown()) &&
                  Save(folder, "several_instances", SeveralInstances()) &&
                  Save(folder, "resizes", Resizes()) && Save(folder, "hostile_values", HostileValues()) &&
                  Save(folder, "lifecycle", Lifecycle()) && Save(folder, "stale_handles", StaleHandles()) &&
                  Save(folder, "host_viewports", HostViewports());
  if (!ok) std::fprintf(stderr, "cannot write into %s\n", folder.c_str());
  return ok ? 0 : 1;
}

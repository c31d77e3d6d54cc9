// SPDX-License-Identifier: GPL-3.0-or-later
// The byte language of the plugMain fuzzer. An input is a sequence of host
// actions, each an action byte followed by its operands; reading past the end
// yields zeros, so every byte string is a session and the fuzzer's mutations
// stay meaningful. The harness decodes it, the corpus maker writes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace fuzz {

enum Action : uint8_t {
  kCreate = 0,     // [flags: 1 null viewport, 2 offset origin][size w][size h]
  kDelete = 1,     // [handle]
  kFrame = 2,      // [handle][flags: 1 null record, 2 input textures]
  kSetParam = 3,   // [handle][index][value][flags: 1 null record]
  kGetParam = 4,   // [handle][index]
  kResize = 5,     // [handle][flags: 1 null viewport][size w][size h]
  kCall = 6,       // [code][handle][argument]
  kSetClock = 7,   // [u64 milliseconds, reduced into 1900..2109]
  kHostState = 8,  // [viewport choice]
  kEvents = 9,     // [handle][capacity][flags: 1 null array, 2 null record]
  kGlobal = 10,    // [which: 0 deinitialise, 1 initialise, 2 parameter count]
  kActionCount = 11
};

// Handle operand: 0 none, 1 a deleted instance's handle (or a foreign value
// when none was deleted yet), 2 a foreign value, anything else a live
// instance (none when there is none).
constexpr uint8_t kHandleNull = 0;
constexpr uint8_t kHandleStale = 1;
constexpr uint8_t kHandleForeign = 2;
constexpr uint8_t kHandleLive = 3;  // + position among the live instances

// Index operand: below kIndexRaw the value modulo 32, else a raw u32 follows.
constexpr uint8_t kIndexRaw = 0xF0;

// Value operand: below 0x80 that whole number; 0x80-0x8F a hostile value of
// the table in the harness; 0x90-0xFE a slider position (v - 0x90) / 110;
// 0xFF a raw 32-bit pattern follows.
constexpr uint8_t kValueSpecial = 0x80;
constexpr uint8_t kValueSlider = 0x90;
constexpr uint8_t kValueRaw = 0xFF;

// Size operand: below kSizeLarge the value modulo 97, else a u16 follows,
// taken modulo kMaxSide + 1.
constexpr uint8_t kSizeLarge = 0xE0;
constexpr uint32_t kMaxSide = 2048;

// Code operand: below kCodeRaw the value modulo 51, else a raw u32 follows.
constexpr uint8_t kCodeRaw = 0xFB;

// Argument operand: [kind] then, for kArgIndex an index operand, for
// kArgRecord [length] and that many bytes of record, then the choices the
// code's pointer fields need.
constexpr uint8_t kArgIndex = 0;
constexpr uint8_t kArgNull = 1;
constexpr uint8_t kArgRecord = 2;

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data(data), size(size) {}
  bool AtEnd() const { return position >= size; }
  uint8_t U8() { return position < size ? data[position++] : 0; }
  uint16_t U16() { return static_cast<uint16_t>(U8() | (U8() << 8)); }
  uint32_t U32() { return static_cast<uint32_t>(U16()) | (static_cast<uint32_t>(U16()) << 16); }
  uint64_t U64() { return static_cast<uint64_t>(U32()) | (static_cast<uint64_t>(U32()) << 32); }
  void Bytes(void* out, size_t count) {
    auto* bytes = static_cast<uint8_t*>(out);
    for (size_t i = 0; i < count; ++i) bytes[i] = U8();
  }

 private:
  const uint8_t* data;
  size_t size;
  size_t position = 0;
};

class Writer {
 public:
  Writer& U8(uint8_t v) { bytes.push_back(v); return *this; }
  Writer& U16(uint16_t v) { return U8(static_cast<uint8_t>(v)).U8(static_cast<uint8_t>(v >> 8)); }
  Writer& U32(uint32_t v) { return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16)); }
  Writer& U64(uint64_t v) { return U32(static_cast<uint32_t>(v)).U32(static_cast<uint32_t>(v >> 32)); }
  Writer& Size(uint32_t side) {
    if (side < 97) return U8(static_cast<uint8_t>(side));
    return U8(kSizeLarge).U16(static_cast<uint16_t>(side));
  }
  Writer& Value(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return U8(kValueRaw).U32(bits);
  }
  std::vector<uint8_t> bytes;
};

}  // namespace fuzz

// SPDX-License-Identifier: GPL-3.0-or-later
// The display types, declared once: "Type" lists them in this order (saved
// shows store the position), each says which renderer draws it and which
// bit the parameter table uses for "shown in this type". Registration,
// visibility, the renderer choice and every test, tool and host that
// iterates the types read this list, so a new type is one line here.
#pragma once

#include <cstdint>

namespace tickora {

// The stored "Type" values.
enum class DisplayType : int32_t {
  kDigital = 0,
  kClassic = 1,
  kCountdown = 2,
  kTimer = 3,
  kStopwatch = 4,
};

enum class Renderer : uint8_t {
  kReadout,  // the glyph read-out
  kHands,    // the Classic hands
};

// What the read-out of a type counts.
enum class Counts : uint8_t {
  kTimeOfDay,  // the local time
  kToTarget,   // time left to a wall-clock moment
  kDuration,   // time left of a duration, on the monotonic clock
  kElapsed,    // time since a start, on the monotonic clock
};

struct DisplayTypeDef {
  DisplayType type;
  const char* name;  // the "Type" element
  Renderer renderer;
  Counts counts;
};

inline constexpr DisplayTypeDef kDisplayTypes[] = {
    {DisplayType::kDigital, "Digital", Renderer::kReadout, Counts::kTimeOfDay},
    {DisplayType::kClassic, "Classic", Renderer::kHands, Counts::kTimeOfDay},
    {DisplayType::kCountdown, "Countdown", Renderer::kReadout, Counts::kToTarget},
    {DisplayType::kTimer, "Timer", Renderer::kReadout, Counts::kDuration},
    {DisplayType::kStopwatch, "Stopwatch", Renderer::kReadout, Counts::kElapsed},
};

inline constexpr int kDisplayTypeCount =
    static_cast<int>(sizeof(kDisplayTypes) / sizeof(kDisplayTypes[0]));

constexpr bool TypesFollowTheirValues() {
  for (int i = 0; i < kDisplayTypeCount; ++i)
    if (static_cast<int>(kDisplayTypes[i].type) != i) return false;
  return true;
}
static_assert(TypesFollowTheirValues(), "a type's position is its stored value");

// The type a stored value names; null for a value no type has.
constexpr const DisplayTypeDef* DisplayTypeOf(int32_t value) {
  return value >= 0 && value < kDisplayTypeCount ? &kDisplayTypes[value] : nullptr;
}

// The bit of a type in a parameter's "shown in" set.
constexpr uint8_t ShownBit(DisplayType type) { return static_cast<uint8_t>(1u << static_cast<int>(type)); }

}  // namespace tickora

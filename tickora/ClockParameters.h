// SPDX-License-Identifier: GPL-3.0-or-later
// The clock's parameters as one table: the order the host lists them in,
// their names, types, defaults, option elements, the shader uniform each
// feeds and the display types that show it. Registration, the visibility
// each display type asks for and every parameter's index all come from it.
// Names, order, defaults and element names are what hosts and saved
// projects know the clock by: they must not change. The table does not
// register anything itself (tickora/Tickora.cpp does) and knows nothing of
// GL.
#pragma once

#include "tickora/DisplayTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tickora {

// Which display types show a parameter, as bits (tickora/DisplayTypes.h).
enum ShownIn : uint8_t {
  kInDigital = ShownBit(DisplayType::kDigital),
  kInClassic = ShownBit(DisplayType::kClassic),
  kInCountdown = ShownBit(DisplayType::kCountdown),
  kInTimer = ShownBit(DisplayType::kTimer),
  kInStopwatch = ShownBit(DisplayType::kStopwatch),
  // Every type that draws the glyph read-out.
  kInReadouts = kInDigital | kInCountdown | kInTimer | kInStopwatch,
  // Types that count a time rather than show the time of day.
  kInCounters = kInCountdown | kInTimer | kInStopwatch,
  kInEveryType = kInReadouts | kInClassic
};

// "Type" lists the display types' names in their order.
constexpr std::array<const char*, 8> TypeNames() {
  std::array<const char*, 8> names{};
  for (int i = 0; i < kDisplayTypeCount; ++i) names[static_cast<size_t>(i)] = kDisplayTypes[i].name;
  return names;
}

enum class ParamKind : uint8_t {
  kOption,    // one element of a list; not sent to a program
  kColour,    // hue, saturation, brightness and alpha: four slots
  kStandard,  // 0..1
  kBoolean,
  kText       // the host's text; not sent to a program
};

// Where an option's elements come from.
enum class Elements : uint8_t { kNone, kListed, kFontFamilies, kDateLabels, kHours, kMinutes };

enum class ParamId : uint8_t {
  kType, kColour, kFont, kStyle, kScale, kSpacing, kAspect, kColonHeight, kColonLeft,
  kColonWidth, kShowSeconds, kShowMillisecs, kColonAnimation, kDate, kHour, kMinute,
  kHourLength, kMinuteLength, kSecondLength, kHandWidth, kSecondWidth, kCornerRound,
  kSmoothTime,
  // Appended after the original 26 slots; saved shows know the ones above
  // by their positions.
  kTarget, kAtZero, kWarnAt, kWarnColour, kLongTimes,
  kDuration, kRun, kReset, kStartAt, kLabel, kEndText,
  kCount
};

struct ParamRow {
  ParamId id;
  const char* name;
  ParamKind kind;
  float defaultValue;
  // The uniform a program reads the value from ("" for none: options, and
  // values only the CPU uses); a colour sends red, green and blue.
  std::array<const char*, 3> uniforms;
  Elements elements;
  // Elements::kListed: the elements. A colour: its four members' names when
  // they are not the name with "_saturation", "_brighthness", "_alpha"
  // appended (hosts keep 16 characters of a name). Text: its default.
  std::array<const char*, 8> listed;
  // An element whose position is the default, when the list is only known
  // at run time (a missing one gives -1).
  const char* defaultElement;
  uint8_t shownIn;
};

// clang-format off
inline constexpr ParamRow kParamTable[] = {
  {ParamId::kType, "Type", ParamKind::kOption, 0.0f, {""}, Elements::kListed,
   TypeNames(), nullptr, kInEveryType},
  {ParamId::kColour, "Color", ParamKind::kColour, 1.0f, {"cR", "cG", "cB"}, Elements::kNone,
   {}, nullptr, kInEveryType},
  {ParamId::kFont, "Font", ParamKind::kOption, -1.0f, {""}, Elements::kFontFamilies,
   {}, "Arial", kInReadouts},
  {ParamId::kStyle, "Style", ParamKind::kOption, 0.0f, {""}, Elements::kListed,
   {"Regular", "Bold", "Italic"}, nullptr, kInReadouts},
  {ParamId::kScale, "Scale", ParamKind::kStandard, 0.91f, {"scale"}, Elements::kNone,
   {}, nullptr, kInReadouts},
  {ParamId::kSpacing, "Spacing", ParamKind::kStandard, 0.63f, {"spacing"}, Elements::kNone,
   {}, nullptr, kInReadouts},
  {ParamId::kAspect, "Aspect", ParamKind::kStandard, 0.5f, {"h"}, Elements::kNone,
   {}, nullptr, kInReadouts},
  {ParamId::kColonHeight, "Colon height", ParamKind::kStandard, 0.05f, {""}, Elements::kNone,
   {}, nullptr, kInReadouts},
  {ParamId::kColonLeft, "Colon Left", ParamKind::kStandard, 0.55f, {""}, Elements::kNone,
   {}, nullptr, kInReadouts},
  {ParamId::kColonWidth, "Colon width", ParamKind::kStandard, 0.46f, {"dpw"}, Elements::kNone,
   {}, nullptr, kInReadouts},
  {ParamId::kShowSeconds, "Show Seconds", ParamKind::kBoolean, 1.0f, {""}, Elements::kNone,
   {}, nullptr, kInReadouts},
  {ParamId::kShowMillisecs, "Show Millisecs", ParamKind::kBoolean, 0.0f, {""}, Elements::kNone,
   {}, nullptr, kInReadouts},
  {ParamId::kColonAnimation, "Colon animation", ParamKind::kOption, 0.0f, {""}, Elements::kListed,
   {"Show", "Blink", "Fade", "Hide"}, nullptr, kInReadouts},
  {ParamId::kDate, "Date", ParamKind::kOption, 0.0f, {""}, Elements::kDateLabels,
   {}, nullptr, kInCountdown},
  {ParamId::kHour, "Hour", ParamKind::kOption, 0.0f, {""}, Elements::kHours,
   {}, nullptr, kInCountdown},
  {ParamId::kMinute, "Minute", ParamKind::kOption, 0.0f, {""}, Elements::kMinutes,
   {}, nullptr, kInCountdown},
  {ParamId::kHourLength, "Hour length", ParamKind::kStandard, 0.4f, {"lengt"}, Elements::kNone,
   {}, nullptr, kInClassic},
  {ParamId::kMinuteLength, "Minute length", ParamKind::kStandard, 0.6f, {"lengt2"},
   Elements::kNone, {}, nullptr, kInClassic},
  {ParamId::kSecondLength, "Sec length", ParamKind::kStandard, 0.55f, {"lengt3"},
   Elements::kNone, {}, nullptr, kInClassic},
  {ParamId::kHandWidth, "Width", ParamKind::kStandard, 0.3f, {"width"}, Elements::kNone,
   {}, nullptr, kInClassic},
  {ParamId::kSecondWidth, "Sec Width", ParamKind::kStandard, 0.4f, {"w3"}, Elements::kNone,
   {}, nullptr, kInClassic},
  {ParamId::kCornerRound, "Round corner", ParamKind::kStandard, 0.3f, {"cornerRound"},
   Elements::kNone, {}, nullptr, kInClassic},
  {ParamId::kSmoothTime, "Smooth time", ParamKind::kBoolean, 1.0f, {""}, Elements::kNone,
   {}, nullptr, kInClassic},
  {ParamId::kTarget, "Target", ParamKind::kText, 0.0f, {""}, Elements::kNone,
   {}, nullptr, kInCountdown},
  {ParamId::kAtZero, "At zero", ParamKind::kOption, 0.0f, {""}, Elements::kListed,
   {"Hold", "Count up", "Flash", "Hide", "Text"}, nullptr, kInCountdown | kInTimer},
  {ParamId::kWarnAt, "Warn at", ParamKind::kOption, 0.0f, {""}, Elements::kListed,
   {"Off", "10 s", "30 s", "1 min", "2 min", "5 min", "10 min"}, nullptr,
   kInCountdown | kInTimer},
  // Amber: hue 40 degrees, full saturation and brightness.
  {ParamId::kWarnColour, "Warn color", ParamKind::kColour, 40.0f / 360.0f, {"", "", ""},
   Elements::kNone, {"Warn color", "Warn saturation", "Warn brightness", "Warn alpha"}, nullptr,
   kInCountdown | kInTimer},
  {ParamId::kLongTimes, "Long times", ParamKind::kOption, 0.0f, {""}, Elements::kListed,
   {"Hours", "Days"}, nullptr, kInCounters},
  {ParamId::kDuration, "Duration", ParamKind::kText, 0.0f, {""}, Elements::kNone,
   {"05:00"}, nullptr, kInTimer},
  {ParamId::kRun, "Run", ParamKind::kBoolean, 0.0f, {""}, Elements::kNone,
   {}, nullptr, kInTimer | kInStopwatch},
  {ParamId::kReset, "Reset", ParamKind::kBoolean, 0.0f, {""}, Elements::kNone,
   {}, nullptr, kInTimer | kInStopwatch},
  {ParamId::kStartAt, "Start at", ParamKind::kText, 0.0f, {""}, Elements::kNone,
   {}, nullptr, kInTimer | kInStopwatch},
  {ParamId::kLabel, "Label", ParamKind::kText, 0.0f, {""}, Elements::kNone,
   {}, nullptr, kInReadouts},
  {ParamId::kEndText, "End text", ParamKind::kText, 0.0f, {""}, Elements::kNone,
   {}, nullptr, kInCountdown | kInTimer},
};
// clang-format on

constexpr uint32_t SlotsOf(const ParamRow& row) { return row.kind == ParamKind::kColour ? 4 : 1; }

// The host's index of each parameter's first slot, by ParamId, worked out
// once while compiling (frames look parameters up many times).
constexpr std::array<uint32_t, static_cast<size_t>(ParamId::kCount) + 1> FirstSlots() {
  std::array<uint32_t, static_cast<size_t>(ParamId::kCount) + 1> first{};
  uint32_t index = 0;
  size_t id = 0;
  for (const ParamRow& row : kParamTable) {
    first[id++] = index;
    index += SlotsOf(row);
  }
  first[id] = index;
  return first;
}

inline constexpr auto kFirstSlots = FirstSlots();

constexpr uint32_t IndexOf(ParamId id) { return kFirstSlots[static_cast<size_t>(id)]; }

constexpr uint32_t kParamCount = IndexOf(ParamId::kCount);
// The slots a 1.1 show saved; every slot from here on is new.
constexpr uint32_t kOriginalParamCount = IndexOf(ParamId::kTarget);
static_assert(kOriginalParamCount == 26, "the original parameters keep their positions");

constexpr bool TableFollowsIds() {
  uint32_t i = 0;
  for (const ParamRow& row : kParamTable)
    if (static_cast<uint32_t>(row.id) != i++) return false;
  return i == static_cast<uint32_t>(ParamId::kCount);
}
static_assert(TableFollowsIds(), "one table row per ParamId, in ParamId order");

// The uniform a parameter feeds; `member` 1 and 2 are a colour's green and blue.
constexpr const char* UniformOf(ParamId id, int member = 0) {
  return kParamTable[static_cast<uint32_t>(id)].uniforms[static_cast<uint32_t>(member)];
}

// Whether `type` (any stored value, even one no type has) shows the row.
bool ShownFor(const ParamRow& row, int32_t type);

// Each slot as a host lists it: the name the clock registers (a host keeps
// its first 16 bytes), the FFGL type code and the row it belongs to. Hosts'
// and tests' expectations come from here, not from copies.
struct HostSlot {
  std::string name;
  uint32_t type;
  const ParamRow* row;
};
std::vector<HostSlot> HostSlots();

}  // namespace tickora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/ClockParameters.h"

#include "ffgl/FFGL.h"

namespace tickora {

bool ShownFor(const ParamRow& row, int32_t type) {
  if (row.shownIn == kInEveryType) return true;
  const DisplayTypeDef* def = DisplayTypeOf(type);
  return def != nullptr && (row.shownIn & ShownBit(def->type)) != 0;
}

std::vector<HostSlot> HostSlots() {
  std::vector<HostSlot> slots;
  for (const ParamRow& row : kParamTable) {
    switch (row.kind) {
      case ParamKind::kOption: slots.push_back({row.name, FF_TYPE_OPTION, &row}); break;
      case ParamKind::kStandard: slots.push_back({row.name, FF_TYPE_STANDARD, &row}); break;
      case ParamKind::kBoolean: slots.push_back({row.name, FF_TYPE_BOOLEAN, &row}); break;
      case ParamKind::kText: slots.push_back({row.name, FF_TYPE_TEXT, &row}); break;
      case ParamKind::kColour: {
        const std::string base = row.name;
        // The spelling is what saved host projects know "Color" by.
        const std::string named[4] = {base, base + "_saturation", base + "_brighthness",
                                      base + "_alpha"};
        const uint32_t types[4] = {FF_TYPE_HUE, FF_TYPE_SATURATION, FF_TYPE_BRIGHTNESS,
                                   FF_TYPE_ALPHA};
        for (int i = 0; i < 4; ++i)
          slots.push_back({row.listed[0] != nullptr ? row.listed[i] : named[i], types[i], &row});
        break;
      }
    }
  }
  return slots;
}

}  // namespace tickora

// SPDX-License-Identifier: GPL-3.0-or-later
// Float values come from the host and may be anything: converting NaN, an
// infinity or a value beyond the integer range with a plain cast is undefined
// behaviour in C++. These conversions truncate toward zero like the cast, map
// NaN to 0 and saturate at the ends of the range.
#pragma once

#include <cstdint>
#include <limits>

namespace framework {

inline int32_t TruncateToInt32(double value) {
  if (!(value == value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

inline int64_t TruncateToInt64(double value) {
  if (!(value == value)) return 0;
  if (value >= 9223372036854775807.0) return std::numeric_limits<int64_t>::max();
  if (value <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(value);
}

}  // namespace framework

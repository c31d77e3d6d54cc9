// SPDX-License-Identifier: GPL-3.0-or-later
// Builders for FFMixed, the 64-bit value that every plugMain call takes and
// answers. The dispatcher builds its answers with them, hosts and tests their
// arguments, so both sides agree on what the unused bytes hold. Not a
// parser: reading an answer is the caller's business.
#pragma once

#include "ffgl/FFGL.h"

#include <cstdint>

namespace ffgl {

// A 32-bit code or count. The upper half is cleared: a host that reads the
// answer as a pointer-sized value must not see stale bytes there.
inline FFMixed MixedUInt(uint32_t value) {
  FFMixed mixed;
  mixed.PointerValue = nullptr;
  mixed.UIntValue = value;
  return mixed;
}

inline FFMixed MixedFloat(float value) {
  FFMixed mixed;
  mixed.PointerValue = nullptr;
  mixed.FloatValue = value;
  return mixed;
}

inline FFMixed MixedPointer(const void* pointer) {
  FFMixed mixed;
  mixed.PointerValue = const_cast<void*>(pointer);
  return mixed;
}

// All 64 bits set: the failure answer of the codes that answer a handle or
// a text pointer where null would be a valid answer.
inline FFMixed MixedAllOnes() { return MixedPointer(reinterpret_cast<void*>(UINTPTR_MAX)); }

inline bool IsAllOnes(FFMixed mixed) {
  return mixed.PointerValue == reinterpret_cast<void*>(UINTPTR_MAX);
}

}  // namespace ffgl

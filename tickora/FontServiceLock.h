// SPDX-License-Identifier: GPL-3.0-or-later
// JUCE keeps its font list, typeface cache and glyph cache process-wide and
// unsynchronised. Hosts that render on several threads build atlases in
// parallel, so every use of JUCE's fonts and text drawing holds this lock:
// glyph rasterisation is serialised (and with it the atlas's upload from
// the one scratch buffer the rebuilds share); drawing frames is not.
#pragma once

#include <mutex>

namespace tickora {

std::unique_lock<std::mutex> LockFontService();

}  // namespace tickora

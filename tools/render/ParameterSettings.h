// SPDX-License-Identifier: GPL-3.0-or-later
// --set NAME=VALUE: parameters addressed by their display name, option
// parameters by an element's name (or position), booleans by on/off.
// Everything is resolved against the plug-in's parameter list before any GL
// work starts, so a typo costs nothing and names the culprit.
#pragma once

#include "host/HeadlessHost.h"

#include <string>
#include <vector>

namespace render {

struct ParameterSetting {
  uint32_t index = 0;
  std::string name;  // the plug-in's own spelling
  bool isText = false;
  float value = 0.0f;
  std::string text;
};

// Index of the parameter with that display name: exact, then ignoring case.
// A name longer than the 16 bytes FFGL keeps matches a colour parameter
// whose name was cut, and only when it is that name in full
// ("Color_brighthness" for the stored "Color_brighthnes"). -1 when none.
int FindParameterByName(const std::vector<host::ParameterInfo>& parameters,
                        const std::string& name);

// Throws a usage error for text that is not NAME=VALUE, an unknown
// parameter or element, or a value of the wrong kind.
std::vector<ParameterSetting> ResolveSettings(const std::vector<std::string>& assignments,
                                              const std::vector<host::ParameterInfo>& parameters);

// Sends the settings in order; throws a run-time error when the plug-in
// refuses one.
void ApplySettings(const host::PluginLibrary& library, FFInstanceID instance,
                   const std::vector<ParameterSetting>& settings);

}  // namespace render

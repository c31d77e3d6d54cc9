// SPDX-License-Identifier: GPL-3.0-or-later
// The tables printed for --list (the plug-in's identity and what its
// parameters are) and --print-values (what an instance holds after --set).
#pragma once

#include "host/HeadlessHost.h"

#include <cstdio>
#include <string>

namespace render {

std::string TypeName(uint32_t type);

// A value as a person would write it with --set: an element's name, on/off,
// or the number.
std::string DescribeValue(const host::ParameterInfo& parameter, float value);

// With `allElements`, every option list that the table shortens follows
// it in full, one element a line with its position (what --set takes).
void PrintParameterList(const host::PluginLibrary& library, const std::string& path,
                        bool allElements, std::FILE* out);
void PrintLongElementLists(const host::PluginLibrary& library, std::FILE* out);

// Values and visibility as the instance reports them.
void PrintInstanceValues(const host::PluginLibrary& library, FFInstanceID instance,
                         std::FILE* out);

}  // namespace render

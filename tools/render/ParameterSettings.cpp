// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/ParameterSettings.h"

#include "host/TextCompare.h"
#include "render/TextList.h"
#include "render/ToolError.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace render {

using host::EqualsIgnoringCase;

namespace {

constexpr size_t kFFGLNameBytes = 16;

// A finite number written in full; false for anything else.
bool ParseNumber(const std::string& text, double* number) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(value)) return false;
  *number = value;
  return true;
}

bool ParseSwitch(const std::string& text, float* value) {
  for (const char* on : {"on", "true", "yes", "1"})
    if (EqualsIgnoringCase(text, on)) return *value = 1.0f, true;
  for (const char* off : {"off", "false", "no", "0"})
    if (EqualsIgnoringCase(text, off)) return *value = 0.0f, true;
  return false;
}

float ResolveElement(const host::ParameterInfo& p, const std::string& value) {
  for (size_t e = 0; e < p.elementNames.size(); ++e)
    if (p.elementNames[e] == value) return p.elementValues[e];
  for (size_t e = 0; e < p.elementNames.size(); ++e)
    if (EqualsIgnoringCase(p.elementNames[e], value)) return p.elementValues[e];
  // The position works too, for elements without telling names.
  double number = 0.0;
  if (ParseNumber(value, &number) && number >= 0.0 && std::floor(number) == number &&
      number < static_cast<double>(p.elementNames.size()))
    return p.elementValues[static_cast<size_t>(number)];
  if (p.elementNames.empty()) throw UsageError("'" + p.name + "' has no elements to choose from");
  throw UsageError("'" + p.name + "' has no element '" + value + "' (" +
                   JoinShortened(p.elementNames, 6) + ")");
}

ParameterSetting Resolve(const std::string& assignment,
                         const std::vector<host::ParameterInfo>& parameters) {
  const size_t equals = assignment.find('=');
  if (equals == std::string::npos || equals == 0)
    throw UsageError("--set '" + assignment + "' is not NAME=VALUE");
  const std::string name = assignment.substr(0, equals);
  const std::string value = assignment.substr(equals + 1);
  const int index = FindParameterByName(parameters, name);
  if (index < 0) throw UsageError("unknown parameter '" + name + "' (see --list)");
  const host::ParameterInfo& p = parameters[static_cast<size_t>(index)];

  ParameterSetting setting;
  setting.index = p.index;
  setting.name = p.name;
  if (IsStringParamType(p.type)) {
    setting.isText = true;
    setting.text = value;
    return setting;
  }
  if (p.type == FF_TYPE_OPTION) {
    setting.value = ResolveElement(p, value);
    return setting;
  }
  if (p.type == FF_TYPE_BOOLEAN) {
    if (!ParseSwitch(value, &setting.value))
      throw UsageError("'" + p.name + "' is on or off, not '" + value + "'");
    return setting;
  }
  double number = 0.0;
  if (!ParseNumber(value, &number))
    throw UsageError("'" + p.name + "' takes a number, not '" + value + "'");
  // Standard parameters are fractions of their range; the colour types are
  // the plug-in's to interpret.
  if (p.type == FF_TYPE_STANDARD && (number < 0.0 || number > 1.0))
    throw UsageError("'" + p.name + "' takes a number from 0 to 1, not " + value);
  if (std::fabs(number) > 1e30)
    throw UsageError("'" + p.name + "' value " + value + " is out of range");
  setting.value = static_cast<float>(number);
  return setting;
}

// The framework names a colour group's parameters NAME, NAME_saturation,
// NAME_brighthness (so spelt: saved host projects know it by that name) and
// NAME_alpha. FFGL keeps 16 bytes of a name; for these the cut-off end is
// known from the parameter's type. Empty when the name was not cut.
std::string FullColourName(const host::ParameterInfo& p) {
  const std::string suffix = p.type == FF_TYPE_SATURATION   ? "_saturation"
                             : p.type == FF_TYPE_BRIGHTNESS ? "_brighthness"
                             : p.type == FF_TYPE_ALPHA      ? "_alpha"
                                                            : "";
  if (p.name.size() != kFFGLNameBytes) return {};
  // The longest start of the suffix that the stored name ends with.
  for (size_t kept = std::min(suffix.size(), kFFGLNameBytes); kept > 0; --kept) {
    if (p.name.compare(kFFGLNameBytes - kept, kept, suffix, 0, kept) != 0) continue;
    if (kept == suffix.size()) return {};  // nothing was cut
    return p.name.substr(0, kFFGLNameBytes - kept) + suffix;
  }
  return {};
}

}  // namespace

int FindParameterByName(const std::vector<host::ParameterInfo>& parameters,
                        const std::string& name) {
  for (const host::ParameterInfo& p : parameters)
    if (p.name == name) return static_cast<int>(p.index);
  for (const host::ParameterInfo& p : parameters)
    if (EqualsIgnoringCase(p.name, name)) return static_cast<int>(p.index);
  if (name.size() > kFFGLNameBytes) {
    for (const host::ParameterInfo& p : parameters) {
      const std::string full = FullColourName(p);
      if (!full.empty() && EqualsIgnoringCase(full, name)) return static_cast<int>(p.index);
    }
  }
  return -1;
}

std::vector<ParameterSetting> ResolveSettings(const std::vector<std::string>& assignments,
                                              const std::vector<host::ParameterInfo>& parameters) {
  std::vector<ParameterSetting> settings;
  for (const std::string& assignment : assignments)
    settings.push_back(Resolve(assignment, parameters));
  return settings;
}

void ApplySettings(const host::PluginLibrary& library, FFInstanceID instance,
                   const std::vector<ParameterSetting>& settings) {
  for (const ParameterSetting& s : settings) {
    uint32_t result = FF_FAIL;
    if (s.isText) {
      SetParameterStruct record{};
      record.ParameterNumber = s.index;
      record.NewParameterValue.PointerValue = const_cast<char*>(s.text.c_str());
      result = library.CallCode(FF_SET_PARAMETER, host::PluginLibrary::Mixed(&record), instance);
    } else {
      result = library.SetParameter(instance, s.index, s.value);
    }
    if (result != FF_SUCCESS) throw RunTimeError("the plug-in refused the value of '" + s.name + "'");
  }
}

}  // namespace render

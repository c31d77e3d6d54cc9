// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/ParameterTable.h"

#include "render/TextList.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace render {
namespace {

using Row = std::vector<std::string>;

// Longer option lists are shortened in the table (a plug-in may offer
// hundreds of font families); --all prints them in full below it.
constexpr size_t kElementsShown = 5;

// Left-aligned columns, two spaces apart; the last column is not padded.
void PrintColumns(const std::vector<Row>& rows, std::FILE* out) {
  std::vector<size_t> widths;
  for (const Row& row : rows)
    for (size_t c = 0; c < row.size(); ++c) {
      if (widths.size() <= c) widths.push_back(0);
      widths[c] = std::max(widths[c], row[c].size());
    }
  for (const Row& row : rows) {
    std::string line;
    for (size_t c = 0; c < row.size(); ++c) {
      line += row[c];
      if (c + 1 < row.size()) line += std::string(widths[c] - row[c].size() + 2, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::fprintf(out, "%s\n", line.c_str());
  }
}

std::string Number(float value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%g", static_cast<double>(value));
  return text;
}

}  // namespace

std::string TypeName(uint32_t type) {
  switch (type) {
    case FF_TYPE_BOOLEAN: return "boolean";
    case FF_TYPE_STANDARD: return "standard";
    case FF_TYPE_OPTION: return "option";
    case FF_TYPE_FILE: return "file";
    case FF_TYPE_TEXT: return "text";
    case FF_TYPE_HUE: return "hue";
    case FF_TYPE_SATURATION: return "saturation";
    case FF_TYPE_BRIGHTNESS: return "brightness";
    case FF_TYPE_ALPHA: return "alpha";
    default: return "type " + std::to_string(type);
  }
}

std::string DescribeValue(const host::ParameterInfo& parameter, float value) {
  if (parameter.type == FF_TYPE_BOOLEAN) return value > 0.5f ? "on" : "off";
  if (parameter.type == FF_TYPE_OPTION) {
    for (size_t e = 0; e < parameter.elementValues.size(); ++e)
      if (parameter.elementValues[e] == value) return parameter.elementNames[e];
    return Number(value) + " (no element)";
  }
  return Number(value);
}

void PrintParameterList(const host::PluginLibrary& library, const std::string& path,
                        bool allElements, std::FILE* out) {
  const PluginInfoStruct* info = library.Info();
  const PluginExtendedInfoStruct* ext = library.ExtendedInfo();
  std::fprintf(out, "%s (%s), source plug-in, FFGL %u.%u", library.Name().c_str(),
               library.UniqueId().c_str(), info != nullptr ? info->APIMajorVersion : 0u,
               info != nullptr ? info->APIMinorVersion : 0u);
  if (ext != nullptr) {
    std::fprintf(out, ", version %u.%u", ext->PluginMajorVersion, ext->PluginMinorVersion);
    if (ext->About != nullptr && ext->About[0] != '\0')
      std::fprintf(out, ", about \"%s\"", ext->About);
  }
  std::fprintf(out, "\n%s\n\n", path.c_str());

  std::vector<Row> rows{{"#", "Name", "Type", "Default", "Shown", "Elements"}};
  for (const host::ParameterInfo& p : library.Parameters()) {
    const std::string value =
        IsStringParamType(p.type) ? "\"" + p.defaultText + "\"" : DescribeValue(p, p.defaultValue);
    const std::string elements =
        p.type == FF_TYPE_OPTION ? JoinShortened(p.elementNames, kElementsShown) : std::string();
    rows.push_back({std::to_string(p.index), p.name, TypeName(p.type), value,
                    p.visible ? "yes" : "no", elements});
  }
  PrintColumns(rows, out);
  if (allElements) PrintLongElementLists(library, out);
}

void PrintLongElementLists(const host::PluginLibrary& library, std::FILE* out) {
  for (const host::ParameterInfo& p : library.Parameters()) {
    if (p.type != FF_TYPE_OPTION || p.elementNames.size() <= kElementsShown) continue;
    std::fprintf(out, "\n%s, all %zu elements:\n", p.name.c_str(), p.elementNames.size());
    std::vector<Row> rows;
    for (size_t e = 0; e < p.elementNames.size(); ++e)
      rows.push_back({"  " + std::to_string(e), p.elementNames[e]});
    PrintColumns(rows, out);
  }
}

void PrintInstanceValues(const host::PluginLibrary& library, FFInstanceID instance,
                         std::FILE* out) {
  std::vector<Row> rows{{"#", "Name", "Value", "Shown"}};
  for (const host::ParameterInfo& p : library.Parameters()) {
    std::string value;
    if (IsStringParamType(p.type)) {
      const FFMixed text =
          library.Call(FF_GET_PARAMETER, host::PluginLibrary::Mixed(p.index), instance);
      value = "\"" + std::string(text.PointerValue != nullptr
                                     ? static_cast<const char*>(text.PointerValue)
                                     : "") + "\"";
    } else {
      value = DescribeValue(p, library.GetParameter(instance, p.index));
    }
    rows.push_back({std::to_string(p.index), p.name, value,
                    library.Visibility(instance, p.index) == 1 ? "yes" : "no"});
  }
  PrintColumns(rows, out);
}

}  // namespace render

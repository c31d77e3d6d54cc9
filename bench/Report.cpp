// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/Report.h"

#include <cmath>
#include <cstdio>

namespace bench {
namespace {

std::string Number(double value) {
  char text[64];
  const double magnitude = std::fabs(value);
  if (magnitude >= 1000.0)
    std::snprintf(text, sizeof text, "%.0f", value);
  else if (magnitude >= 100.0)
    std::snprintf(text, sizeof text, "%.1f", value);
  else if (magnitude >= 10.0)
    std::snprintf(text, sizeof text, "%.2f", value);
  else
    std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 0x20) continue;
    out += c;
  }
  return out;
}

std::string JsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  char text[64];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

}  // namespace

std::string Report::Table() const {
  std::string out;
  char line[512];
  std::snprintf(line, sizeof line, "%-22s %-34s %12s %25s %6s  %s\n", "section", "figure", "median",
                "IQR [min - max]", "n", "unit / note");
  out += line;
  out += std::string(130, '-') + "\n";
  for (const Figure& f : figures) {
    const std::string spread = Number(f.value.q1) + "-" + Number(f.value.q3) + " [" +
                               Number(f.value.min) + "-" + Number(f.value.max) + "]";
    std::snprintf(line, sizeof line, "%-22s %-34s %12s %25s %6zu  %s%s%s\n", f.section.c_str(),
                  f.name.c_str(), Number(f.value.median).c_str(), spread.c_str(), f.value.count,
                  f.unit.c_str(), f.note.empty() ? "" : "  ", f.note.c_str());
    out += line;
  }
  return out;
}

std::string Report::Json() const {
  std::string out = "{\n  \"renderer\": \"" + Escaped(rendererName) + "\",\n  \"started\": \"" +
                    Escaped(startedAt) + "\",\n  \"figures\": [\n";
  for (size_t i = 0; i < figures.size(); ++i) {
    const Figure& f = figures[i];
    out += "    {\"section\": \"" + Escaped(f.section) + "\", \"name\": \"" + Escaped(f.name) +
           "\", \"unit\": \"" + Escaped(f.unit) + "\", \"median\": " + JsonNumber(f.value.median) +
           ", \"q1\": " + JsonNumber(f.value.q1) + ", \"q3\": " + JsonNumber(f.value.q3) +
           ", \"min\": " + JsonNumber(f.value.min) + ", \"max\": " + JsonNumber(f.value.max) +
           ", \"n\": " + std::to_string(f.value.count) + ", \"note\": \"" + Escaped(f.note) + "\"}";
    out += i + 1 < figures.size() ? ",\n" : "\n";
  }
  out += "  ]\n}\n";
  return out;
}

}  // namespace bench

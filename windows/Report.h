// SPDX-License-Identifier: GPL-3.0-or-later
// The smoke test's readable report: one line per check, "ok" or "FAIL",
// and a count of failures that becomes the exit status.
#pragma once

#include <cstdio>
#include <string>

namespace smoke {

class Report {
 public:
  void Section(const std::string& title) { std::printf("\n== %s\n", title.c_str()); }
  void Note(const std::string& text) { std::printf("        %s\n", text.c_str()); }
  bool Check(bool ok, const std::string& what) {
    std::printf("  %-5s %s\n", ok ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    ++checks;
    if (!ok) ++failures;
    return ok;
  }
  int Checks() const { return checks; }
  int Failures() const { return failures; }

 private:
  int checks = 0;
  int failures = 0;
};

}  // namespace smoke

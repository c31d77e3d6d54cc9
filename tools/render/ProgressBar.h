// SPDX-License-Identifier: GPL-3.0-or-later
// A one-line progress bar on standard error, redrawn in place, shown only
// when standard error is a terminal (logs and pipes stay clean).
#pragma once

#include <cstdio>
#include <string>

namespace render {

class ProgressBar {
 public:
  ProgressBar(int total, std::FILE* stream);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void Update(int done);
  // Ends the line so that later messages start on a fresh one.
  void Finish();
  bool Shown() const { return shown; }

  // The bar's text for that progress, e.g. "[#####     ]  50/100".
  static std::string Render(int done, int total, int barWidth);

 private:
  int total;
  std::FILE* stream;
  bool shown;
  bool finished = false;
  int lastDrawn = -1;
};

}  // namespace render

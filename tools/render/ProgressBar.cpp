// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/ProgressBar.h"

#include <algorithm>
#include <unistd.h>

namespace render {

ProgressBar::ProgressBar(int totalSteps, std::FILE* out)
    : total(std::max(totalSteps, 1)), stream(out), shown(isatty(fileno(out)) == 1) {}

ProgressBar::~ProgressBar() { Finish(); }

std::string ProgressBar::Render(int done, int totalSteps, int barWidth) {
  totalSteps = std::max(totalSteps, 1);
  done = std::clamp(done, 0, totalSteps);
  const int filled = static_cast<int>(static_cast<long long>(done) * barWidth / totalSteps);
  const std::string count = std::to_string(totalSteps);
  std::string counter = std::to_string(done);
  counter.insert(0, count.size() - counter.size(), ' ');
  return "[" + std::string(static_cast<size_t>(filled), '#') +
         std::string(static_cast<size_t>(barWidth - filled), ' ') + "] " + counter + "/" + count;
}

void ProgressBar::Update(int done) {
  if (!shown || finished || done == lastDrawn) return;
  lastDrawn = done;
  std::fprintf(stream, "\r%s", Render(done, total, 40).c_str());
  std::fflush(stream);
}

void ProgressBar::Finish() {
  if (!shown || finished) return;
  finished = true;
  if (lastDrawn >= 0) std::fprintf(stream, "\n");
  std::fflush(stream);
}

}  // namespace render

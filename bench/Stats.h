// SPDX-License-Identifier: GPL-3.0-or-later
// Summaries of repeated measurements: the median and the spread around it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace bench {

struct Summary {
  double median = 0.0;
  double q1 = 0.0;   // 25th percentile
  double q3 = 0.0;   // 75th percentile
  double min = 0.0;
  double max = 0.0;
  size_t count = 0;
};

// Linear interpolation between closest ranks; `sorted` must not be empty.
inline double Quantile(const std::vector<double>& sorted, double q) {
  const double position = q * static_cast<double>(sorted.size() - 1);
  const size_t below = static_cast<size_t>(position);
  const size_t above = std::min(below + 1, sorted.size() - 1);
  const double fraction = position - static_cast<double>(below);
  return sorted[below] + (sorted[above] - sorted[below]) * fraction;
}

inline Summary Summarise(std::vector<double> samples) {
  Summary s;
  if (samples.empty()) return s;
  std::sort(samples.begin(), samples.end());
  s.count = samples.size();
  s.min = samples.front();
  s.max = samples.back();
  s.median = Quantile(samples, 0.5);
  s.q1 = Quantile(samples, 0.25);
  s.q3 = Quantile(samples, 0.75);
  return s;
}

}  // namespace bench

// SPDX-License-Identifier: GPL-3.0-or-later
// The bench's figures, printed as one table and written as JSON.
#pragma once

#include "bench/Stats.h"

#include <string>
#include <vector>

namespace bench {

struct Figure {
  std::string section;  // e.g. "frame 1920x1080"
  std::string name;     // e.g. "Digital HH:MM:SS"
  std::string unit;     // "ms", "ns", "MB", "instr", "x floor"
  Summary value;
  std::string note;     // goal or remark, may be empty
};

class Report {
 public:
  void Add(Figure figure) { figures.push_back(std::move(figure)); }
  void SetContext(std::string renderer, std::string started) {
    rendererName = std::move(renderer);
    startedAt = std::move(started);
  }
  std::string Table() const;
  std::string Json() const;

 private:
  std::vector<Figure> figures;
  std::string rendererName;
  std::string startedAt;
};

}  // namespace bench

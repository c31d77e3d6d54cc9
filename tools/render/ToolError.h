// SPDX-License-Identifier: GPL-3.0-or-later
// The one way the tool fails: a message for a single line on standard error
// and the exit status that goes with it.
#pragma once

#include <stdexcept>
#include <string>

namespace render {

constexpr int kExitUsage = 2;    // the command line asks for something impossible
constexpr int kExitRunTime = 1;  // the request was fine, the machine or plug-in failed it

class ToolError : public std::runtime_error {
 public:
  ToolError(int status, const std::string& message)
      : std::runtime_error(message), exitStatus(status) {}
  int Status() const { return exitStatus; }

 private:
  int exitStatus;
};

inline ToolError UsageError(const std::string& message) { return ToolError(kExitUsage, message); }
inline ToolError RunTimeError(const std::string& message) {
  return ToolError(kExitRunTime, message);
}

}  // namespace render

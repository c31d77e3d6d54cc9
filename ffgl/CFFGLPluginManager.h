// SPDX-License-Identifier: GPL-3.0-or-later
// The parameter registry every instance carries: definitions as the host sees
// them (names, types, defaults, option elements, visibility, pending events).
// Current values are not kept here; the framework stores them.
#pragma once

#include "ffgl/FFGL.h"

#include <string>
#include <vector>

namespace ffgl {

struct ParamElement {
  std::string name;
  float value = 0.0f;
};

struct ParamInfo {
  uint32_t index = 0;
  char name[16] = {};  // not NUL-terminated when the name has 16 characters or more
  uint32_t type = 0;
  std::vector<ParamElement> elements;
  uint32_t usage = 0;
  bool visible = true;
  float rangeMin = 0.0f;
  float rangeMax = 1.0f;
  float defaultValue = 0.0f;
  std::string defaultText;
  std::vector<std::string> fileExtensions;
  uint64_t pendingEvents = 0;
};

class CFFGLPluginManager {
 public:
  CFFGLPluginManager() = default;
  virtual ~CFFGLPluginManager();
  CFFGLPluginManager(const CFFGLPluginManager&) = delete;
  CFFGLPluginManager& operator=(const CFFGLPluginManager&) = delete;

  // Definition, from constructors only.
  void SetParamInfo(uint32_t index, const char* name, uint32_t type, float defaultValue);
  void SetOptionParamInfo(uint32_t index, const char* name, uint32_t elementCount,
                          float defaultValue);
  void SetParamElementInfo(uint32_t paramIndex, uint32_t elementIndex, const char* elementName,
                           float elementValue);
  void SetTextParamInfo(uint32_t index, const char* name, const char* defaultText);

  // State changes after definition.
  void SetParamVisibility(uint32_t index, bool visible);
  void RaiseParamEvent(uint32_t index, uint64_t flags);

  // Queries.
  uint32_t GetNumParams() const { return static_cast<uint32_t>(params.size()); }
  const ParamInfo* FindParam(uint32_t index) const;
  ParamInfo* FindParam(uint32_t index);
  uint32_t GetParamType(uint32_t index) const;

  // Code 46: delivers pending events into `events` (capacity in numEvents).
  void HarvestParamEvents(ParameterEventsStruct& events);

  int32_t minInputs = 0;
  int32_t maxInputs = 0;
  bool timeSupported = true;

 private:
  std::vector<ParamInfo> params;
};

}  // namespace ffgl

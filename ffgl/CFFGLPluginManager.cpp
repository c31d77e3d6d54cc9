// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffgl/CFFGLPluginManager.h"

#include <cstring>

namespace ffgl {

CFFGLPluginManager::~CFFGLPluginManager() = default;

namespace {
ParamInfo MakeRecord(uint32_t index, const char* name, uint32_t type) {
  ParamInfo record;
  record.index = index;
  // Hosts read exactly 16 bytes: a longer name is cut, with no terminator.
  if (name != nullptr) std::memcpy(record.name, name, strnlen(name, sizeof record.name));
  record.type = type;
  record.elements.resize(1);
  return record;
}
}  // namespace

void CFFGLPluginManager::SetParamInfo(uint32_t index, const char* name, uint32_t type,
                                      float defaultValue) {
  ParamInfo record = MakeRecord(index, name, type);
  if (type == FF_TYPE_STANDARD) {
    // NaN fails both comparisons; a standard default must be a usable slider
    // position, so it becomes 0.
    if (!(defaultValue >= 0.0f)) defaultValue = 0.0f;
    if (defaultValue > 1.0f) defaultValue = 1.0f;
  }
  record.defaultValue = defaultValue;
  params.push_back(std::move(record));
}

void CFFGLPluginManager::SetTextParamInfo(uint32_t index, const char* name,
                                          const char* defaultText) {
  ParamInfo record = MakeRecord(index, name, FF_TYPE_TEXT);
  record.defaultText = defaultText != nullptr ? defaultText : "";
  params.push_back(std::move(record));
}

void CFFGLPluginManager::SetOptionParamInfo(uint32_t index, const char* name,
                                            uint32_t elementCount, float defaultValue) {
  ParamInfo record = MakeRecord(index, name, FF_TYPE_OPTION);
  record.elements.assign(elementCount, ParamElement{});
  record.defaultValue = defaultValue;
  params.push_back(std::move(record));
}

void CFFGLPluginManager::SetParamElementInfo(uint32_t paramIndex, uint32_t elementIndex,
                                             const char* elementName, float elementValue) {
  ParamInfo* record = FindParam(paramIndex);
  if (record == nullptr || elementIndex >= record->elements.size()) return;
  record->elements[elementIndex].name = elementName != nullptr ? elementName : "";
  record->elements[elementIndex].value = elementValue;
}

void CFFGLPluginManager::SetParamVisibility(uint32_t index, bool visible) {
  if (ParamInfo* record = FindParam(index)) record->visible = visible;
}

void CFFGLPluginManager::RaiseParamEvent(uint32_t index, uint64_t flags) {
  if (ParamInfo* record = FindParam(index)) record->pendingEvents |= flags;
}

const ParamInfo* CFFGLPluginManager::FindParam(uint32_t index) const {
  for (const ParamInfo& record : params)
    if (record.index == index) return &record;
  return nullptr;
}

ParamInfo* CFFGLPluginManager::FindParam(uint32_t index) {
  for (ParamInfo& record : params)
    if (record.index == index) return &record;
  return nullptr;
}

uint32_t CFFGLPluginManager::GetParamType(uint32_t index) const {
  const ParamInfo* record = FindParam(index);
  return record != nullptr ? record->type : FF_FAIL;
}

void CFFGLPluginManager::HarvestParamEvents(ParameterEventsStruct& events) {
  if (events.events == nullptr) {
    uint32_t pending = 0;
    for (const ParamInfo& record : params)
      if (record.pendingEvents != 0) ++pending;
    events.numEvents = pending;
    return;
  }
  const uint32_t capacity = events.numEvents;
  uint32_t written = 0;
  for (ParamInfo& record : params) {
    if (written >= capacity) break;
    if (record.pendingEvents == 0) continue;
    events.events[written].ParameterNumber = record.index;
    events.events[written].eventFlags = record.pendingEvents;
    record.pendingEvents = 0;
    ++written;
  }
  events.numEvents = written;
}

}  // namespace ffgl

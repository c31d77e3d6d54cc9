// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/PlugMainCalls.h"

#include "host/TextCompare.h"

#include <cstring>

namespace host {

FFMixed PlugMainCalls::Call(uint32_t code, FFMixed input, FFInstanceID instance) const {
  return plugMain(code, input, instance);
}

uint32_t PlugMainCalls::CallCode(uint32_t code, FFMixed input, FFInstanceID instance) const {
  return Call(code, input, instance).UIntValue;
}

const PluginInfoStruct* PlugMainCalls::Info() const {
  return static_cast<const PluginInfoStruct*>(Call(FF_GET_INFO).PointerValue);
}

const PluginExtendedInfoStruct* PlugMainCalls::ExtendedInfo() const {
  return static_cast<const PluginExtendedInfoStruct*>(Call(FF_GET_EXTENDED_INFO).PointerValue);
}

std::string PlugMainCalls::Name() const {
  const PluginInfoStruct* info = Info();
  return info != nullptr ? std::string(info->PluginName, strnlen(info->PluginName, 16)) : "";
}

std::string PlugMainCalls::UniqueId() const {
  const PluginInfoStruct* info = Info();
  return info != nullptr ? std::string(info->PluginUniqueID, strnlen(info->PluginUniqueID, 4))
                         : "";
}

bool PlugMainCalls::Initialise() const { return CallCode(FF_INITIALISE_V2) == FF_SUCCESS; }

void PlugMainCalls::Deinitialise() const { Call(FF_DEINITIALISE); }

uint32_t PlugMainCalls::NumParameters() const {
  const uint32_t count = CallCode(FF_GET_NUM_PARAMETERS);
  return count == FF_FAIL ? 0 : count;
}

std::string PlugMainCalls::ParameterName(uint32_t index) const {
  const auto* name = static_cast<const char*>(Call(FF_GET_PARAMETER_NAME, Mixed(index)).PointerValue);
  return name != nullptr ? std::string(name, strnlen(name, 16)) : "";
}

uint32_t PlugMainCalls::ParameterType(uint32_t index) const {
  return CallCode(FF_GET_PARAMETER_TYPE, Mixed(index));
}

float PlugMainCalls::ParameterDefault(uint32_t index) const {
  return Call(FF_GET_PARAMETER_DEFAULT, Mixed(index)).FloatValue;
}

uint32_t PlugMainCalls::NumElements(uint32_t index) const {
  const uint32_t count = CallCode(FF_GET_NUM_PARAMETER_ELEMENTS, Mixed(index));
  return count == FF_FAIL ? 0 : count;
}

std::string PlugMainCalls::ElementName(uint32_t index, uint32_t element) const {
  ElementIndexStruct which{index, element};
  const auto* name =
      static_cast<const char*>(Call(FF_GET_PARAMETER_ELEMENT_NAME, Mixed(&which)).PointerValue);
  return name != nullptr ? name : "";
}

float PlugMainCalls::ElementValue(uint32_t index, uint32_t element) const {
  ElementIndexStruct which{index, element};
  return Call(FF_GET_PARAMETER_ELEMENT_VALUE, Mixed(&which)).FloatValue;
}

ParameterInfo PlugMainCalls::Parameter(uint32_t index) const {
  ParameterInfo info;
  info.index = index;
  info.name = ParameterName(index);
  info.type = ParameterType(index);
  if (IsStringParamType(info.type)) {
    const auto* text =
        static_cast<const char*>(Call(FF_GET_PARAMETER_DEFAULT, Mixed(index)).PointerValue);
    info.defaultText = text != nullptr ? text : "";
  } else {
    info.defaultValue = ParameterDefault(index);
  }
  if (info.type == FF_TYPE_OPTION) {
    const uint32_t count = NumElements(index);
    for (uint32_t e = 0; e < count; ++e) {
      info.elementNames.push_back(ElementName(index, e));
      info.elementValues.push_back(ElementValue(index, e));
    }
  }
  info.visible = CallCode(FF_GET_PARAMETER_VISIBILITY, Mixed(index)) == 1;
  return info;
}

std::vector<ParameterInfo> PlugMainCalls::Parameters() const {
  std::vector<ParameterInfo> all;
  const uint32_t count = NumParameters();
  for (uint32_t i = 0; i < count; ++i) all.push_back(Parameter(i));
  return all;
}

int PlugMainCalls::FindParameter(const std::string& name) const {
  const uint32_t count = NumParameters();
  for (uint32_t i = 0; i < count; ++i)
    if (ParameterName(i) == name) return static_cast<int>(i);
  return -1;
}

int PlugMainCalls::FindElement(uint32_t index, const std::string& elementName) const {
  const uint32_t count = NumElements(index);
  for (uint32_t e = 0; e < count; ++e)
    if (ElementName(index, e) == elementName) return static_cast<int>(e);
  for (uint32_t e = 0; e < count; ++e)
    if (EqualsIgnoringCase(ElementName(index, e), elementName))
      return static_cast<int>(e);
  return -1;
}

FFInstanceID PlugMainCalls::Instantiate(uint32_t width, uint32_t height) const {
  FFGLViewportStruct viewport{0, 0, width, height};
  const FFMixed handle = Call(FF_INSTANTIATE_GL, Mixed(&viewport));
  return ffgl::IsAllOnes(handle) ? nullptr : handle.PointerValue;
}

uint32_t PlugMainCalls::Deinstantiate(FFInstanceID instance) const {
  return CallCode(FF_DEINSTANTIATE_GL, Mixed(0u), instance);
}

uint32_t PlugMainCalls::SetParameter(FFInstanceID instance, uint32_t index, float value) const {
  SetParameterStruct record{};
  record.ParameterNumber = index;
  record.NewParameterValue.PointerValue = nullptr;
  record.NewParameterValue.FloatValue = value;
  return CallCode(FF_SET_PARAMETER, Mixed(&record), instance);
}

bool PlugMainCalls::SetParameter(FFInstanceID instance, const std::string& name,
                                 float value) const {
  const int index = FindParameter(name);
  return index >= 0 && SetParameter(instance, static_cast<uint32_t>(index), value) == FF_SUCCESS;
}

float PlugMainCalls::GetParameter(FFInstanceID instance, uint32_t index) const {
  return Call(FF_GET_PARAMETER, Mixed(index), instance).FloatValue;
}

uint32_t PlugMainCalls::SetText(FFInstanceID instance, uint32_t index, const char* text) const {
  SetParameterStruct record{};
  record.ParameterNumber = index;
  record.NewParameterValue.PointerValue = const_cast<char*>(text);
  return CallCode(FF_SET_PARAMETER, Mixed(&record), instance);
}

std::string PlugMainCalls::GetText(FFInstanceID instance, uint32_t index) const {
  const FFMixed answer = Call(FF_GET_PARAMETER, Mixed(index), instance);
  if (answer.PointerValue == nullptr || ffgl::IsAllOnes(answer)) return "(none)";
  return static_cast<const char*>(answer.PointerValue);
}

uint32_t PlugMainCalls::ProcessFrame(FFInstanceID instance, unsigned hostFramebuffer) const {
  ProcessOpenGLStruct frame{};
  frame.numInputTextures = 0;
  frame.inputTextures = nullptr;
  frame.HostFBO = hostFramebuffer;
  return CallCode(FF_PROCESS_OPENGL, Mixed(&frame), instance);
}

uint32_t PlugMainCalls::Resize(FFInstanceID instance, uint32_t width, uint32_t height) const {
  FFGLViewportStruct viewport{0, 0, width, height};
  return CallCode(FF_RESIZE, Mixed(&viewport), instance);
}

uint32_t PlugMainCalls::Visibility(FFInstanceID instance, uint32_t index) const {
  return CallCode(FF_GET_PARAMETER_VISIBILITY, Mixed(index), instance);
}

std::vector<ParamEventStruct> PlugMainCalls::TakeEvents(FFInstanceID instance) const {
  ParameterEventsStruct query{0, nullptr};
  if (CallCode(FF_GET_PARAMETER_EVENTS, Mixed(&query), instance) != FF_SUCCESS) return {};
  std::vector<ParamEventStruct> events(query.numEvents);
  if (events.empty()) return events;
  ParameterEventsStruct harvest{static_cast<uint32_t>(events.size()), events.data()};
  CallCode(FF_GET_PARAMETER_EVENTS, Mixed(&harvest), instance);
  events.resize(harvest.numEvents);
  return events;
}

uint32_t PlugMainCalls::SetTime(FFInstanceID instance, double time) const {
  return CallCode(FF_SET_TIME, Mixed(&time), instance);
}

}  // namespace host

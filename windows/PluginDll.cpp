#include "windows/PluginDll.h"

#include <windows.h>

#include <cstring>

namespace smoke {

std::unique_ptr<PluginDll> PluginDll::Load(const std::string& path, std::string* error) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) {
    if (error != nullptr)
      *error = "LoadLibrary('" + path + "') failed, error " + std::to_string(GetLastError());
    return nullptr;
  }
  auto entry = reinterpret_cast<PlugMainFunc>(
      reinterpret_cast<void*>(GetProcAddress(module, "plugMain")));
  if (entry == nullptr) {
    FreeLibrary(module);
    if (error != nullptr) *error = "'" + path + "' exports no plugMain";
    return nullptr;
  }
  std::unique_ptr<PluginDll> dll(new PluginDll());
  dll->module = module;
  dll->plugMain = entry;
  return dll;
}

PluginDll::~PluginDll() {
  if (module != nullptr) FreeLibrary(static_cast<HMODULE>(module));
}

FFMixed PluginDll::Mixed(uint32_t value) {
  FFMixed mixed;
  mixed.PointerValue = nullptr;
  mixed.UIntValue = value;
  return mixed;
}

FFMixed PluginDll::Mixed(const void* pointer) {
  FFMixed mixed;
  mixed.PointerValue = const_cast<void*>(pointer);
  return mixed;
}

FFMixed PluginDll::Call(uint32_t code, FFMixed input, FFInstanceID instance) const {
  return plugMain(code, input, instance);
}

uint32_t PluginDll::CallCode(uint32_t code, FFMixed input, FFInstanceID instance) const {
  return Call(code, input, instance).UIntValue;
}

const PluginInfoStruct* PluginDll::Info() const {
  return static_cast<const PluginInfoStruct*>(Call(FF_GET_INFO, Mixed(0u)).PointerValue);
}

const PluginExtendedInfoStruct* PluginDll::ExtendedInfo() const {
  return static_cast<const PluginExtendedInfoStruct*>(
      Call(FF_GET_EXTENDED_INFO, Mixed(0u)).PointerValue);
}

uint32_t PluginDll::NumParameters() const {
  const uint32_t count = CallCode(FF_GET_NUM_PARAMETERS, Mixed(0u));
  return count == FF_FAIL ? 0 : count;
}

std::string PluginDll::ParameterName(uint32_t index) const {
  const auto* name = static_cast<const char*>(Call(FF_GET_PARAMETER_NAME, Mixed(index)).PointerValue);
  return name != nullptr ? std::string(name, strnlen(name, 16)) : "";
}

uint32_t PluginDll::ParameterType(uint32_t index) const {
  return CallCode(FF_GET_PARAMETER_TYPE, Mixed(index));
}

float PluginDll::ParameterDefault(uint32_t index) const {
  return Call(FF_GET_PARAMETER_DEFAULT, Mixed(index)).FloatValue;
}

uint32_t PluginDll::NumElements(uint32_t index) const {
  const uint32_t count = CallCode(FF_GET_NUM_PARAMETER_ELEMENTS, Mixed(index));
  return count == FF_FAIL ? 0 : count;
}

std::string PluginDll::ElementName(uint32_t index, uint32_t element) const {
  ElementIndexStruct which{index, element};
  const auto* name =
      static_cast<const char*>(Call(FF_GET_PARAMETER_ELEMENT_NAME, Mixed(&which)).PointerValue);
  return name != nullptr ? name : "";
}

FFInstanceID PluginDll::Instantiate(uint32_t width, uint32_t height) const {
  FFGLViewportStruct viewport{0, 0, width, height};
  void* handle = Call(FF_INSTANTIATE_GL, Mixed(&viewport)).PointerValue;
  if (handle == reinterpret_cast<void*>(UINTPTR_MAX)) return nullptr;
  return handle;
}

uint32_t PluginDll::Deinstantiate(FFInstanceID instance) const {
  return CallCode(FF_DEINSTANTIATE_GL, Mixed(0u), instance);
}

uint32_t PluginDll::SetParameter(FFInstanceID instance, uint32_t index, float value) const {
  SetParameterStruct record{};
  record.ParameterNumber = index;
  record.NewParameterValue.PointerValue = nullptr;
  record.NewParameterValue.FloatValue = value;
  return CallCode(FF_SET_PARAMETER, Mixed(&record), instance);
}

float PluginDll::GetParameter(FFInstanceID instance, uint32_t index) const {
  return Call(FF_GET_PARAMETER, Mixed(index), instance).FloatValue;
}

uint32_t PluginDll::ProcessFrame(FFInstanceID instance, unsigned hostFramebuffer) const {
  ProcessOpenGLStruct frame{};
  frame.numInputTextures = 0;
  frame.inputTextures = nullptr;
  frame.HostFBO = hostFramebuffer;
  return CallCode(FF_PROCESS_OPENGL, Mixed(&frame), instance);
}

uint32_t PluginDll::Resize(FFInstanceID instance, uint32_t width, uint32_t height) const {
  FFGLViewportStruct viewport{0, 0, width, height};
  return CallCode(FF_RESIZE, Mixed(&viewport), instance);
}

uint32_t PluginDll::Visibility(FFInstanceID instance, uint32_t index) const {
  return CallCode(FF_GET_PARAMETER_VISIBILITY, Mixed(index), instance);
}

std::vector<ParamEventStruct> PluginDll::TakeEvents(FFInstanceID instance) const {
  ParameterEventsStruct query{0, nullptr};
  if (CallCode(FF_GET_PARAMETER_EVENTS, Mixed(&query), instance) != FF_SUCCESS) return {};
  std::vector<ParamEventStruct> events(query.numEvents);
  if (events.empty()) return events;
  ParameterEventsStruct harvest{static_cast<uint32_t>(events.size()), events.data()};
  CallCode(FF_GET_PARAMETER_EVENTS, Mixed(&harvest), instance);
  events.resize(harvest.numEvents);
  return events;
}

}  // namespace smoke

// An FFGL plug-in DLL loaded with LoadLibrary and driven only through its
// exported plugMain, as a Windows video host drives it.
#pragma once

#include "ffgl/FFGL.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace smoke {

class PluginDll {
 public:
  // Null, with the reason in `error`, when the DLL does not load or has no plugMain.
  static std::unique_ptr<PluginDll> Load(const std::string& path, std::string* error);
  ~PluginDll();
  PluginDll(const PluginDll&) = delete;
  PluginDll& operator=(const PluginDll&) = delete;

  FFMixed Call(uint32_t code, FFMixed input, FFInstanceID instance = nullptr) const;
  uint32_t CallCode(uint32_t code, FFMixed input, FFInstanceID instance = nullptr) const;
  static FFMixed Mixed(uint32_t value);
  static FFMixed Mixed(const void* pointer);

  const PluginInfoStruct* Info() const;
  const PluginExtendedInfoStruct* ExtendedInfo() const;
  uint32_t NumParameters() const;
  std::string ParameterName(uint32_t index) const;
  uint32_t ParameterType(uint32_t index) const;
  float ParameterDefault(uint32_t index) const;
  uint32_t NumElements(uint32_t index) const;
  std::string ElementName(uint32_t index, uint32_t element) const;

  FFInstanceID Instantiate(uint32_t width, uint32_t height) const;  // null on failure
  uint32_t Deinstantiate(FFInstanceID instance) const;
  uint32_t SetParameter(FFInstanceID instance, uint32_t index, float value) const;
  float GetParameter(FFInstanceID instance, uint32_t index) const;
  uint32_t ProcessFrame(FFInstanceID instance, unsigned hostFramebuffer) const;
  uint32_t Resize(FFInstanceID instance, uint32_t width, uint32_t height) const;
  // 1 shown, 0 hidden, FF_FAIL for an unknown index or instance.
  uint32_t Visibility(FFInstanceID instance, uint32_t index) const;
  std::vector<ParamEventStruct> TakeEvents(FFInstanceID instance) const;

 private:
  PluginDll() = default;
  void* module = nullptr;  // HMODULE
  PlugMainFunc plugMain = nullptr;
};

}  // namespace smoke

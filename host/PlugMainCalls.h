// SPDX-License-Identifier: GPL-3.0-or-later
// Typed calls over a plug-in's plugMain, the way a video host makes them.
// Knows nothing about how the library was loaded: the headless host (dlopen)
// and the Windows smoke host (LoadLibrary) both build on it.
#pragma once

#include "ffgl/FFGL.h"
#include "ffgl/Mixed.h"

#include <cstdint>
#include <string>
#include <vector>

namespace host {

struct ParameterInfo {
  uint32_t index = 0;
  std::string name;
  uint32_t type = 0;
  float defaultValue = 0.0f;
  std::string defaultText;
  std::vector<std::string> elementNames;
  std::vector<float> elementValues;
  bool visible = true;
};

class PlugMainCalls {
 public:
  // The raw entry point.
  FFMixed Call(uint32_t code, FFMixed input = Mixed(0u), FFInstanceID instance = nullptr) const;
  uint32_t CallCode(uint32_t code, FFMixed input = Mixed(0u), FFInstanceID instance = nullptr) const;
  // Shorthands for the shared builders, for call sites that name the host.
  static FFMixed Mixed(uint32_t value) { return ffgl::MixedUInt(value); }
  static FFMixed Mixed(const void* pointer) { return ffgl::MixedPointer(pointer); }

  // Information.
  const PluginInfoStruct* Info() const;
  const PluginExtendedInfoStruct* ExtendedInfo() const;
  std::string Name() const;
  std::string UniqueId() const;
  bool Initialise() const;
  void Deinitialise() const;

  // Parameters, from the plug-in's global answers.
  uint32_t NumParameters() const;
  std::string ParameterName(uint32_t index) const;
  uint32_t ParameterType(uint32_t index) const;
  float ParameterDefault(uint32_t index) const;
  uint32_t NumElements(uint32_t index) const;
  std::string ElementName(uint32_t index, uint32_t element) const;
  float ElementValue(uint32_t index, uint32_t element) const;
  ParameterInfo Parameter(uint32_t index) const;
  std::vector<ParameterInfo> Parameters() const;
  // Index of the parameter with that display name (exact), -1 when none.
  int FindParameter(const std::string& name) const;
  // Element of an option parameter by name (exact, then ignoring case), -1 when none.
  int FindElement(uint32_t index, const std::string& elementName) const;

  // Instances.
  FFInstanceID Instantiate(uint32_t width, uint32_t height) const;  // null on failure
  uint32_t Deinstantiate(FFInstanceID instance) const;
  uint32_t SetParameter(FFInstanceID instance, uint32_t index, float value) const;
  bool SetParameter(FFInstanceID instance, const std::string& name, float value) const;
  float GetParameter(FFInstanceID instance, uint32_t index) const;
  // Text-valued parameters: the bytes go as they are (null sends none).
  uint32_t SetText(FFInstanceID instance, uint32_t index, const char* text) const;
  std::string GetText(FFInstanceID instance, uint32_t index) const;
  uint32_t ProcessFrame(FFInstanceID instance, unsigned hostFramebuffer = 0) const;
  uint32_t Resize(FFInstanceID instance, uint32_t width, uint32_t height) const;
  uint32_t Visibility(FFInstanceID instance, uint32_t index) const;
  std::vector<ParamEventStruct> TakeEvents(FFInstanceID instance) const;
  uint32_t SetTime(FFInstanceID instance, double time) const;

 protected:
  explicit PlugMainCalls(PlugMainFunc entry) : plugMain(entry) {}
  ~PlugMainCalls() = default;
  PlugMainCalls(const PlugMainCalls&) = delete;
  PlugMainCalls& operator=(const PlugMainCalls&) = delete;

 private:
  PlugMainFunc plugMain;
};

// The plugMain of a plug-in linked into the same binary (bench, fuzzer,
// tests that watch the plug-in's GL calls), with the same typed calls.
class LinkedPlugin : public PlugMainCalls {
 public:
  explicit LinkedPlugin(PlugMainFunc entry) : PlugMainCalls(entry) {}
};

}  // namespace host

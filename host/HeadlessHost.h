// A small FFGL host without a display: a surfaceless EGL OpenGL 4.1 core
// context on Mesa with an RGBA8 framebuffer object, and a plug-in library
// loaded with dlopen and driven only through its plugMain, as a video host
// would. Tests and tools use it; nothing in it knows about Tickora.
#pragma once

#include "ffgl/FFGL.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace host {

// RGBA8 pixels, top row first.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;

  const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

class GLContext {
 public:
  // Null, with the reason in `error`, when no 4.1 core context can be made.
  static std::unique_ptr<GLContext> Create(std::string* error = nullptr);
  ~GLContext();
  GLContext(const GLContext&) = delete;
  GLContext& operator=(const GLContext&) = delete;

  bool MakeCurrent();

  // (Re)creates the framebuffer at that size, binds it and sets the viewport.
  bool SetFramebufferSize(int width, int height);
  int Width() const { return width; }
  int Height() const { return height; }
  unsigned Framebuffer() const { return framebuffer; }
  int MaxRenderSize() const;
  std::string Renderer() const;
  std::string Version() const;

  void Clear(float r, float g, float b, float a);
  Pixels ReadPixels() const;
  // Rebinds the framebuffer and viewport, as a host does before each frame.
  void BindFramebuffer();

 private:
  GLContext() = default;
  void* display = nullptr;
  void* context = nullptr;
  unsigned framebuffer = 0;
  unsigned colour = 0;
  int width = 0;
  int height = 0;
};

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

class PluginLibrary {
 public:
  static std::unique_ptr<PluginLibrary> Load(const std::string& path, std::string* error = nullptr);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // The raw entry point.
  FFMixed Call(uint32_t code, FFMixed input = Mixed(0u), FFInstanceID instance = nullptr) const;
  uint32_t CallCode(uint32_t code, FFMixed input = Mixed(0u), FFInstanceID instance = nullptr) const;
  static FFMixed Mixed(uint32_t value);
  static FFMixed Mixed(const void* pointer);

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
  uint32_t ProcessFrame(FFInstanceID instance, unsigned hostFramebuffer = 0) const;
  uint32_t Resize(FFInstanceID instance, uint32_t width, uint32_t height) const;
  uint32_t Visibility(FFInstanceID instance, uint32_t index) const;
  std::vector<ParamEventStruct> TakeEvents(FFInstanceID instance) const;
  uint32_t SetTime(FFInstanceID instance, double time) const;

 private:
  PluginLibrary() = default;
  void* handle = nullptr;
  PlugMainFunc plugMain = nullptr;
};

// Reads a float uniform of a program (the context must be current).
std::vector<float> GetUniformFloats(unsigned program, const char* name, int components);
// The current GL error, clearing it.
unsigned TakeGLError();

}  // namespace host

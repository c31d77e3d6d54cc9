#include "host/HeadlessHost.h"

#define GL_GLEXT_PROTOTYPES 1
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glcorearb.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace host {
namespace {

void SetError(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
}

}  // namespace

// ---------------------------------------------------------------- GLContext

std::unique_ptr<GLContext> GLContext::Create(std::string* error) {
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay == nullptr) {
    SetError(error, "EGL has no eglGetPlatformDisplayEXT");
    return nullptr;
  }
  EGLDisplay display =
      getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  EGLint major = 0, minor = 0;
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
    SetError(error, "cannot open a surfaceless EGL display (is Mesa's EGL installed?)");
    return nullptr;
  }
  if (!eglBindAPI(EGL_OPENGL_API)) {
    eglTerminate(display);
    SetError(error, "EGL cannot bind the OpenGL API");
    return nullptr;
  }
  const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION, 4, EGL_CONTEXT_MINOR_VERSION, 1,
                               EGL_CONTEXT_OPENGL_PROFILE_MASK,
                               EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
  EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
  if (context == EGL_NO_CONTEXT) {
    eglTerminate(display);
    SetError(error, "cannot create an OpenGL 4.1 core context");
    return nullptr;
  }
  if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
    eglDestroyContext(display, context);
    eglTerminate(display);
    SetError(error, "cannot make the OpenGL context current");
    return nullptr;
  }
  // Mesa unloads its driver when the display closes; keeping it loaded makes
  // leak checkers see the driver's allocations as what they are.
  dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);

  std::unique_ptr<GLContext> result(new GLContext());
  result->display = display;
  result->context = context;
  return result;
}

GLContext::~GLContext() {
  if (display == nullptr) return;
  eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context);
  if (framebuffer != 0) glDeleteFramebuffers(1, &framebuffer);
  if (colour != 0) glDeleteRenderbuffers(1, &colour);
  eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  eglDestroyContext(display, context);
  eglTerminate(display);
}

bool GLContext::MakeCurrent() {
  return eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context) == EGL_TRUE;
}

int GLContext::MaxRenderSize() const {
  GLint size = 0;
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &size);
  GLint dims[2] = {0, 0};
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
  return std::min(size, std::min(dims[0], dims[1]));
}

std::string GLContext::Renderer() const {
  const auto* text = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  return text != nullptr ? text : "";
}

std::string GLContext::Version() const {
  const auto* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  return text != nullptr ? text : "";
}

bool GLContext::SetFramebufferSize(int newWidth, int newHeight) {
  if (newWidth <= 0 || newHeight <= 0 || newWidth > MaxRenderSize() ||
      newHeight > MaxRenderSize())
    return false;
  if (framebuffer == 0) glGenFramebuffers(1, &framebuffer);
  if (colour == 0) glGenRenderbuffers(1, &colour);
  glBindRenderbuffer(GL_RENDERBUFFER, colour);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, newWidth, newHeight);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
  width = newWidth;
  height = newHeight;
  glViewport(0, 0, width, height);
  return true;
}

void GLContext::BindFramebuffer() {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glViewport(0, 0, width, height);
}

void GLContext::Clear(float r, float g, float b, float a) {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glClearColor(r, g, b, a);
  glClear(GL_COLOR_BUFFER_BIT);
}

Pixels GLContext::ReadPixels() const {
  Pixels pixels;
  pixels.width = width;
  pixels.height = height;
  pixels.rgba.resize(static_cast<size_t>(width) * height * 4);
  std::vector<uint8_t> bottomUp(pixels.rgba.size());
  GLint previousFramebuffer = 0, previousAlignment = 4;
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousFramebuffer);
  glGetIntegerv(GL_PACK_ALIGNMENT, &previousAlignment);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  glPixelStorei(GL_PACK_ALIGNMENT, previousAlignment);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousFramebuffer));
  const size_t row = static_cast<size_t>(width) * 4;
  for (int y = 0; y < height; ++y)
    std::memcpy(&pixels.rgba[static_cast<size_t>(y) * row],
                &bottomUp[static_cast<size_t>(height - 1 - y) * row], row);
  return pixels;
}

std::vector<float> GetUniformFloats(unsigned program, const char* name, int components) {
  std::vector<float> values(static_cast<size_t>(components > 0 ? components : 1), 0.0f);
  const GLint location = glGetUniformLocation(program, name);
  if (location >= 0) glGetUniformfv(program, location, values.data());
  return values;
}

unsigned TakeGLError() { return glGetError(); }

// ------------------------------------------------------------ PluginLibrary

std::unique_ptr<PluginLibrary> PluginLibrary::Load(const std::string& path, std::string* error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    SetError(error, "cannot load '" + path + "': " + (reason != nullptr ? reason : "unknown"));
    return nullptr;
  }
  auto entry = reinterpret_cast<PlugMainFunc>(dlsym(handle, "plugMain"));
  if (entry == nullptr) {
    dlclose(handle);
    SetError(error, "'" + path + "' is not an FFGL plug-in: it has no plugMain");
    return nullptr;
  }
  std::unique_ptr<PluginLibrary> library(new PluginLibrary());
  library->handle = handle;
  library->plugMain = entry;
  return library;
}

PluginLibrary::~PluginLibrary() {
  if (handle != nullptr) dlclose(handle);
}

FFMixed PluginLibrary::Mixed(uint32_t value) {
  FFMixed mixed;
  mixed.PointerValue = nullptr;
  mixed.UIntValue = value;
  return mixed;
}

FFMixed PluginLibrary::Mixed(const void* pointer) {
  FFMixed mixed;
  mixed.PointerValue = const_cast<void*>(pointer);
  return mixed;
}

FFMixed PluginLibrary::Call(uint32_t code, FFMixed input, FFInstanceID instance) const {
  return plugMain(code, input, instance);
}

uint32_t PluginLibrary::CallCode(uint32_t code, FFMixed input, FFInstanceID instance) const {
  return Call(code, input, instance).UIntValue;
}

const PluginInfoStruct* PluginLibrary::Info() const {
  return static_cast<const PluginInfoStruct*>(Call(FF_GET_INFO).PointerValue);
}

const PluginExtendedInfoStruct* PluginLibrary::ExtendedInfo() const {
  return static_cast<const PluginExtendedInfoStruct*>(Call(FF_GET_EXTENDED_INFO).PointerValue);
}

std::string PluginLibrary::Name() const {
  const PluginInfoStruct* info = Info();
  return info != nullptr ? std::string(info->PluginName, strnlen(info->PluginName, 16)) : "";
}

std::string PluginLibrary::UniqueId() const {
  const PluginInfoStruct* info = Info();
  return info != nullptr ? std::string(info->PluginUniqueID, strnlen(info->PluginUniqueID, 4))
                         : "";
}

bool PluginLibrary::Initialise() const { return CallCode(FF_INITIALISE_V2) == FF_SUCCESS; }

void PluginLibrary::Deinitialise() const { Call(FF_DEINITIALISE); }

uint32_t PluginLibrary::NumParameters() const {
  const uint32_t count = CallCode(FF_GET_NUM_PARAMETERS);
  return count == FF_FAIL ? 0 : count;
}

std::string PluginLibrary::ParameterName(uint32_t index) const {
  const auto* name = static_cast<const char*>(Call(FF_GET_PARAMETER_NAME, Mixed(index)).PointerValue);
  return name != nullptr ? std::string(name, strnlen(name, 16)) : "";
}

uint32_t PluginLibrary::ParameterType(uint32_t index) const {
  return CallCode(FF_GET_PARAMETER_TYPE, Mixed(index));
}

float PluginLibrary::ParameterDefault(uint32_t index) const {
  return Call(FF_GET_PARAMETER_DEFAULT, Mixed(index)).FloatValue;
}

uint32_t PluginLibrary::NumElements(uint32_t index) const {
  const uint32_t count = CallCode(FF_GET_NUM_PARAMETER_ELEMENTS, Mixed(index));
  return count == FF_FAIL ? 0 : count;
}

std::string PluginLibrary::ElementName(uint32_t index, uint32_t element) const {
  ElementIndexStruct which{index, element};
  const auto* name =
      static_cast<const char*>(Call(FF_GET_PARAMETER_ELEMENT_NAME, Mixed(&which)).PointerValue);
  return name != nullptr ? name : "";
}

float PluginLibrary::ElementValue(uint32_t index, uint32_t element) const {
  ElementIndexStruct which{index, element};
  return Call(FF_GET_PARAMETER_ELEMENT_VALUE, Mixed(&which)).FloatValue;
}

ParameterInfo PluginLibrary::Parameter(uint32_t index) const {
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

std::vector<ParameterInfo> PluginLibrary::Parameters() const {
  std::vector<ParameterInfo> all;
  const uint32_t count = NumParameters();
  for (uint32_t i = 0; i < count; ++i) all.push_back(Parameter(i));
  return all;
}

int PluginLibrary::FindParameter(const std::string& name) const {
  const uint32_t count = NumParameters();
  for (uint32_t i = 0; i < count; ++i)
    if (ParameterName(i) == name) return static_cast<int>(i);
  return -1;
}

int PluginLibrary::FindElement(uint32_t index, const std::string& elementName) const {
  const uint32_t count = NumElements(index);
  for (uint32_t e = 0; e < count; ++e)
    if (ElementName(index, e) == elementName) return static_cast<int>(e);
  for (uint32_t e = 0; e < count; ++e)
    if (strcasecmp(ElementName(index, e).c_str(), elementName.c_str()) == 0)
      return static_cast<int>(e);
  return -1;
}

FFInstanceID PluginLibrary::Instantiate(uint32_t width, uint32_t height) const {
  FFGLViewportStruct viewport{0, 0, width, height};
  void* handle = Call(FF_INSTANTIATE_GL, Mixed(&viewport)).PointerValue;
  if (handle == reinterpret_cast<void*>(UINTPTR_MAX)) return nullptr;
  return handle;
}

uint32_t PluginLibrary::Deinstantiate(FFInstanceID instance) const {
  return CallCode(FF_DEINSTANTIATE_GL, Mixed(0u), instance);
}

uint32_t PluginLibrary::SetParameter(FFInstanceID instance, uint32_t index, float value) const {
  SetParameterStruct record{};
  record.ParameterNumber = index;
  record.NewParameterValue.PointerValue = nullptr;
  record.NewParameterValue.FloatValue = value;
  return CallCode(FF_SET_PARAMETER, Mixed(&record), instance);
}

bool PluginLibrary::SetParameter(FFInstanceID instance, const std::string& name,
                                 float value) const {
  const int index = FindParameter(name);
  return index >= 0 && SetParameter(instance, static_cast<uint32_t>(index), value) == FF_SUCCESS;
}

float PluginLibrary::GetParameter(FFInstanceID instance, uint32_t index) const {
  return Call(FF_GET_PARAMETER, Mixed(index), instance).FloatValue;
}

uint32_t PluginLibrary::ProcessFrame(FFInstanceID instance, unsigned hostFramebuffer) const {
  ProcessOpenGLStruct frame{};
  frame.numInputTextures = 0;
  frame.inputTextures = nullptr;
  frame.HostFBO = hostFramebuffer;
  return CallCode(FF_PROCESS_OPENGL, Mixed(&frame), instance);
}

uint32_t PluginLibrary::Resize(FFInstanceID instance, uint32_t width, uint32_t height) const {
  FFGLViewportStruct viewport{0, 0, width, height};
  return CallCode(FF_RESIZE, Mixed(&viewport), instance);
}

uint32_t PluginLibrary::Visibility(FFInstanceID instance, uint32_t index) const {
  return CallCode(FF_GET_PARAMETER_VISIBILITY, Mixed(index), instance);
}

std::vector<ParamEventStruct> PluginLibrary::TakeEvents(FFInstanceID instance) const {
  ParameterEventsStruct query{0, nullptr};
  if (CallCode(FF_GET_PARAMETER_EVENTS, Mixed(&query), instance) != FF_SUCCESS) return {};
  std::vector<ParamEventStruct> events(query.numEvents);
  if (events.empty()) return events;
  ParameterEventsStruct harvest{static_cast<uint32_t>(events.size()), events.data()};
  CallCode(FF_GET_PARAMETER_EVENTS, Mixed(&harvest), instance);
  events.resize(harvest.numEvents);
  return events;
}

uint32_t PluginLibrary::SetTime(FFInstanceID instance, double time) const {
  return CallCode(FF_SET_TIME, Mixed(&time), instance);
}

}  // namespace host

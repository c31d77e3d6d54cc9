// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/PreviewWindow.h"

#include "host/FrameTarget.h"
#include "render/Interruption.h"
#include "render/OutputPath.h"
#include "render/ParameterTable.h"
#include "render/PngFile.h"
#include "render/ToolError.h"
#include "render/WindowCompositor.h"
#include "render/WindowKeys.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <chrono>
#include <dlfcn.h>
#include <cstdio>
#include <thread>

namespace render {
namespace {

std::string lastGlfwError = "unknown reason";

void OnGlfwError(int, const char* description) {
  lastGlfwError = description != nullptr ? description : "unknown reason";
}

// GLFW is process-wide: initialised once here, terminated on every way out.
struct GlfwLibrary {
  GlfwLibrary() {
    glfwSetErrorCallback(OnGlfwError);
    if (glfwInit() != GLFW_TRUE)
      throw RunTimeError("no GL context available: cannot open a window: " + lastGlfwError);
  }
  ~GlfwLibrary() { glfwTerminate(); }
};

struct Window {
  GLFWwindow* handle = nullptr;
  explicit Window(const FrameSize& size) {
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 1);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_OPENGL_FORWARD_COMPAT, GLFW_TRUE);
    handle = glfwCreateWindow(size.width, size.height, "tickora-render", nullptr, nullptr);
    if (handle == nullptr)
      throw RunTimeError("no GL context available: cannot open a GL 4.1 core window: " +
                         lastGlfwError);
    glfwMakeContextCurrent(handle);
    // Mesa unloads its GLX driver when the display closes, orphaning what the
    // driver keeps for the process; kept loaded, leak checkers see those
    // allocations as reachable, which they are.
    for (const char* driver : {"libGLX_mesa.so.0", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"})
      dlopen(driver, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
  ~Window() { glfwDestroyWindow(handle); }
};

// What the keys act on: the instance's option parameter named "Type", when
// the plug-in has one.
struct Controller {
  const host::PluginLibrary* library = nullptr;
  FFInstanceID instance = nullptr;
  GLFWwindow* window = nullptr;
  int typeIndex = -1;
  host::ParameterInfo type;
  std::string pluginName;
  std::string quitKey;

  int CurrentType() const {
    const float value = library->GetParameter(instance, static_cast<uint32_t>(typeIndex));
    for (size_t e = 0; e < type.elementValues.size(); ++e)
      if (type.elementValues[e] == value) return static_cast<int>(e);
    return 0;
  }

  std::string TypeName() const {
    if (typeIndex < 0) return "";
    return DescribeValue(type, library->GetParameter(instance, static_cast<uint32_t>(typeIndex)));
  }

  void UpdateTitle() const {
    std::string title = "tickora-render: " + pluginName;
    if (typeIndex >= 0) title += " (" + TypeName() + ")";
    glfwSetWindowTitle(window, title.c_str());
  }

  void Handle(int key, int mods, const std::string& keyName) {
    const KeyCommand command = InterpretKey(key, mods);
    if (command.action == KeyAction::Quit) {
      quitKey = keyName;
      glfwSetWindowShouldClose(window, GLFW_TRUE);
      return;
    }
    if (command.action == KeyAction::None || typeIndex < 0) return;
    const int count = static_cast<int>(type.elementValues.size());
    const int next = NextElement(command, CurrentType(), count);
    if (next < 0 || next >= count) return;
    library->SetParameter(instance, static_cast<uint32_t>(typeIndex),
                          type.elementValues[static_cast<size_t>(next)]);
    UpdateTitle();
  }
};

std::string NameOfKey(int key, int scancode) {
  const char* name = glfwGetKeyName(key, scancode);
  if (name != nullptr) return name;
  if (key == GLFW_KEY_ESCAPE) return "escape";
  return "key " + std::to_string(key);
}

void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods) {
  if (action != GLFW_PRESS) return;
  auto* controller = static_cast<Controller*>(glfwGetWindowUserPointer(window));
  if (controller != nullptr) controller->Handle(key, mods, NameOfKey(key, scancode));
}

double DisplayRate() {
  GLFWmonitor* monitor = glfwGetPrimaryMonitor();
  const GLFWvidmode* mode = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr;
  return mode != nullptr && mode->refreshRate > 0 ? mode->refreshRate : 60.0;
}

}  // namespace

void RunPreviewWindow(const PluginSession& session, const std::vector<ParameterSetting>& settings,
                      const WindowRequest& request) {
  // Each test step is a key name or a new window size WxH.
  std::vector<int> testKeyCodes;
  std::vector<FrameSize> testSizes;
  for (const std::string& name : request.testKeys) {
    const bool isSize = name.find_first_of("xX") != std::string::npos && name.size() > 2;
    testSizes.push_back(isSize ? ParseFrameSize(name) : FrameSize{0, 0});
    testKeyCodes.push_back(isSize ? 0 : KeyCodeForName(name));
    if (testKeyCodes.back() < 0) throw UsageError("--test-keys: unknown key '" + name + "'");
  }
  const std::string screenshotFile =
      request.screenshotFile.empty() ? "" : ResolveOutputFile(request.screenshotFile);

  const host::PluginLibrary& library = session.Library();
  GlfwLibrary glfw;
  Window window(request.size);
  glfwSwapInterval(1);
  const int limit = host::MaxFramebufferSize();
  if (request.size.width > limit || request.size.height > limit)
    throw UsageError("--size " + ToString(request.size) + " is beyond this GL's limit of " +
                     std::to_string(limit) + " pixels a side");

  host::FrameTarget target;
  WindowCompositor compositor;
  std::string error;
  if (!compositor.Create(&error)) throw RunTimeError(error);
  int width = 0, height = 0;
  glfwGetFramebufferSize(window.handle, &width, &height);
  if (!target.Resize(width, height)) {
    compositor.Release();
    throw RunTimeError("the GL cannot make a " + std::to_string(width) + "x" +
                       std::to_string(height) + " framebuffer");
  }

  Controller controller;
  int frames = 0;
  host::Pixels screenshot;
  std::string stopReason = "the window was closed";
  {
    PluginInstance instance(library, width, height);
    ApplySettings(library, instance.Id(), settings);
    controller.library = &library;
    controller.instance = instance.Id();
    controller.window = window.handle;
    controller.pluginName = library.Name();
    const std::vector<host::ParameterInfo> parameters = library.Parameters();
    const int typeIndex = FindParameterByName(parameters, "Type");
    if (typeIndex >= 0 && parameters[static_cast<size_t>(typeIndex)].type == FF_TYPE_OPTION) {
      controller.typeIndex = typeIndex;
      controller.type = parameters[static_cast<size_t>(typeIndex)];
    }
    controller.UpdateTitle();
    glfwSetWindowUserPointer(window.handle, &controller);
    glfwSetKeyCallback(window.handle, OnKey);

    const auto framePeriod = std::chrono::duration<double>(1.0 / DisplayRate());
    const auto start = std::chrono::steady_clock::now();
    while (glfwWindowShouldClose(window.handle) != GLFW_TRUE && !Interrupted()) {
      const auto frameStart = std::chrono::steady_clock::now();
      int newWidth = 0, newHeight = 0;
      glfwGetFramebufferSize(window.handle, &newWidth, &newHeight);
      if (newWidth > 0 && newHeight > 0 && (newWidth != width || newHeight != height) &&
          target.Resize(newWidth, newHeight)) {
        width = newWidth;
        height = newHeight;
        library.Resize(instance.Id(), static_cast<uint32_t>(width), static_cast<uint32_t>(height));
      }
      if (newWidth > 0 && newHeight > 0) {  // nothing to draw while minimised
        target.Clear(0.0f, 0.0f, 0.0f, 0.0f);
        library.SetTime(instance.Id(),
                        std::chrono::duration<double>(frameStart - start).count());
        library.ProcessFrame(instance.Id(), target.Framebuffer());
        compositor.Draw(target.Texture(), width, height, request.background);
        ++frames;
        if (!request.screenshotFile.empty())
          screenshot = host::ReadFramebufferPixels(0, width, height);
        glfwSwapBuffers(window.handle);
      }
      glfwPollEvents();
      if (frames > 0 && static_cast<size_t>(frames) <= testKeyCodes.size()) {
        const size_t step = static_cast<size_t>(frames - 1);
        if (testSizes[step].width > 0)
          glfwSetWindowSize(window.handle, testSizes[step].width, testSizes[step].height);
        else
          controller.Handle(testKeyCodes[step], 0, request.testKeys[step]);
      }
      if (request.quitAfterFrames > 0 && frames >= request.quitAfterFrames &&
          glfwWindowShouldClose(window.handle) != GLFW_TRUE) {
        stopReason = "the frame limit was reached";
        break;
      }
      // Where swapping does not wait for the display (no vsync, e.g. Xvfb),
      // keep to the display rate instead of spinning.
      std::this_thread::sleep_until(frameStart + framePeriod);
    }
    if (!controller.quitKey.empty()) stopReason = "key " + controller.quitKey + " quit";
    if (Interrupted()) stopReason = "interrupted";
    std::printf("tickora-render: drew %d frames in the window; %s%s\n", frames,
                controller.typeIndex >= 0 ? ("Type " + controller.TypeName() + "; ").c_str() : "",
                stopReason.c_str());
    glfwSetKeyCallback(window.handle, nullptr);
    glfwSetWindowUserPointer(window.handle, nullptr);
  }  // the instance goes while the window's context is still current
  target.Release();
  compositor.Release();
  if (!screenshotFile.empty() && screenshot.width > 0) WritePng(screenshot, screenshotFile);
}

}  // namespace render

// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/HeadlessRenderer.h"

#include "render/ToolError.h"

namespace render {

HeadlessRenderer::HeadlessRenderer(const PluginSession& session, const FrameSize& size,
                                   const std::vector<ParameterSetting>& settings)
    : library(session.Library()) {
  std::string error;
  context = host::GLContext::Create(&error);
  if (!context) throw RunTimeError("no GL context available: " + error);
  const int limit = context->MaxRenderSize();
  if (size.width > limit || size.height > limit)
    throw UsageError("--size " + ToString(size) + " is beyond this GL's limit of " +
                     std::to_string(limit) + " pixels a side");
  if (!context->SetFramebufferSize(size.width, size.height))
    throw RunTimeError("the GL cannot make a " + ToString(size) + " framebuffer");
  instance = std::make_unique<PluginInstance>(library, size.width, size.height);
  ApplySettings(library, instance->Id(), settings);
}

HeadlessRenderer::~HeadlessRenderer() {
  if (context) context->MakeCurrent();
  instance.reset();
}

host::Pixels HeadlessRenderer::Draw(double seconds) {
  context->Clear(0.0f, 0.0f, 0.0f, 0.0f);
  context->BindFramebuffer();
  library.SetTime(instance->Id(), seconds);  // for plug-ins that follow host time
  if (library.ProcessFrame(instance->Id(), context->Framebuffer()) != FF_SUCCESS)
    throw RunTimeError("the plug-in failed to draw a frame");
  return context->ReadPixels();
}

}  // namespace render

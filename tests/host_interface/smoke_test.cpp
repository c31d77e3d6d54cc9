// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end: the built plug-in loads in the headless host and draws ink.
#include "host/HeadlessHost.h"
#include "host/Ink.h"
#include "tickora/DisplayTypes.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(Smoke, EveryDisplayTypeDrawsInk) {
  auto context = host::GLContext::Create();
  ASSERT_TRUE(context);
  ASSERT_TRUE(context->SetFramebufferSize(320, 180));
  auto plugin = host::PluginLibrary::Load(std::getenv("TICKORA_PLUGIN"));
  ASSERT_TRUE(plugin);
  FFInstanceID instance = plugin->Instantiate(320, 180);
  ASSERT_NE(instance, nullptr);
  for (const tickora::DisplayTypeDef& def : tickora::kDisplayTypes) {
    const float type = static_cast<float>(def.type);
    ASSERT_EQ(plugin->SetParameter(instance, 0, type), FF_SUCCESS);
    // Countdown to 23:59 nine days ahead always has digits to show.
    plugin->SetParameter(instance, "Date", 9.0f);
    plugin->SetParameter(instance, "Hour", 23.0f);
    context->Clear(0, 0, 0, 0);
    ASSERT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
    const host::Pixels pixels = context->ReadPixels();
    EXPECT_GT(host::CountInk(pixels), 200) << "type " << type;
  }
  EXPECT_EQ(plugin->Deinstantiate(instance), FF_SUCCESS);
  plugin->Deinitialise();
}

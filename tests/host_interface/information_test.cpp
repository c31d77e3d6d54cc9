// SPDX-License-Identifier: GPL-3.0-or-later
// What a host reads before it makes any instance: the two information
// records, the global answers of the prototype, and the codes this plug-in
// does not support.
#include "tests/support/HostSession.h"
#include "tickora/Version.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

using testing_support::PluginHostTest;

class Information : public PluginHostTest {};

TEST_F(Information, RecordsAreByteExactAndBackToBack) {
  const auto* info = static_cast<const unsigned char*>(plugin->Call(FF_GET_INFO).PointerValue);
  ASSERT_NE(info, nullptr);
  const unsigned char expected[32] = {2, 0, 0, 0,  1, 0, 0, 0,  'W', 'm', 'p', 'x',
                                      'T', 'i', 'c', 'k', 'o', 'r', 'a', 0, 0, 0, 0, 0,
                                      0, 0, 0, 0, 1, 0, 0, 0};
  EXPECT_EQ(std::memcmp(info, expected, sizeof expected), 0);

  const auto* extended = static_cast<const unsigned char*>(
      plugin->Call(FF_GET_EXTENDED_INFO).PointerValue);
  ASSERT_EQ(extended, info + 32);
  uint32_t versions[2];
  std::memcpy(versions, extended, sizeof versions);
  // The build's version, as project() in CMakeLists.txt sets it: a release
  // bumps it there and the host must read the same numbers.
  EXPECT_EQ(versions[0], static_cast<uint32_t>(TICKORA_VERSION_MAJOR));
  EXPECT_EQ(versions[1], static_cast<uint32_t>(TICKORA_VERSION_MINOR));
  const char* description;
  const char* about;
  uint32_t extendedSize;
  void* extendedBlock;
  std::memcpy(&description, extended + 8, 8);
  std::memcpy(&about, extended + 16, 8);
  std::memcpy(&extendedSize, extended + 24, 4);
  std::memcpy(&extendedBlock, extended + 32, 8);
  ASSERT_NE(description, nullptr);
  EXPECT_STREQ(description, "");
  ASSERT_NE(about, nullptr);
  EXPECT_STREQ(about, "Quorvane");
  EXPECT_EQ(extendedSize, 0u);
  EXPECT_EQ(extendedBlock, nullptr);
}

TEST_F(Information, UnsupportedCodesFailWithAndWithoutInstance) {
  FFInstanceID instance = NewInstance();
  ASSERT_NE(instance, nullptr);
  int dummy = 0;
  for (uint32_t code : {1u, 3u, 11u, 12u, 14u, 24u, 25u, 26u, 27u, 28u, 29u, 30u, 47u, 48u, 99u,
                        1000u, 0x7FFFFFFFu, 0xFFFFFFFEu, 0xFFFFFFFFu}) {
    for (FFInstanceID handle : {static_cast<FFInstanceID>(nullptr), instance}) {
      EXPECT_EQ(plugin->CallCode(code, host::PluginLibrary::Mixed(&dummy), handle), FF_FAIL)
          << "code " << code;
      EXPECT_EQ(plugin->CallCode(code, host::PluginLibrary::Mixed(0u), handle), FF_FAIL)
          << "code " << code;
    }
  }
  // The instance is untouched by all of it.
  EXPECT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
}

TEST_F(Information, PrototypeIsRemadeAfterDeinitialise) {
  const uint32_t count = plugin->CallCode(FF_GET_NUM_PARAMETERS);
  ASSERT_NE(count, FF_FAIL);
  ASSERT_GT(count, 0u);
  const std::string firstName = plugin->ParameterName(0);

  EXPECT_EQ(plugin->CallCode(FF_DEINITIALISE), FF_SUCCESS);
  EXPECT_EQ(plugin->CallCode(FF_DEINITIALISE), FF_SUCCESS) << "no prototype left to destroy";
  EXPECT_EQ(plugin->CallCode(FF_GET_NUM_PARAMETERS), count);
  EXPECT_EQ(plugin->ParameterName(0), firstName);

  EXPECT_EQ(plugin->CallCode(FF_DEINITIALISE), FF_SUCCESS);
  EXPECT_EQ(plugin->CallCode(FF_INITIALISE_V2), FF_SUCCESS);
  EXPECT_EQ(plugin->CallCode(FF_INITIALISE_V2), FF_SUCCESS);
  EXPECT_EQ(plugin->CallCode(FF_GET_NUM_PARAMETERS), count);
}

TEST_F(Information, InstancesOutliveThePrototype) {
  FFInstanceID instance = NewInstance();
  ASSERT_NE(instance, nullptr);
  ASSERT_EQ(plugin->CallCode(FF_DEINITIALISE), FF_SUCCESS);
  const int scale = plugin->FindParameter("Scale");
  ASSERT_GE(scale, 0);
  ASSERT_EQ(plugin->CallCode(FF_DEINITIALISE), FF_SUCCESS);
  EXPECT_EQ(plugin->SetParameter(instance, static_cast<uint32_t>(scale), 0.375f), FF_SUCCESS);
  EXPECT_EQ(plugin->GetParameter(instance, static_cast<uint32_t>(scale)), 0.375f);
  EXPECT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
  EXPECT_EQ(Delete(instance), FF_SUCCESS);
}

TEST_F(Information, CapabilitiesOfASourceWithHostTime) {
  auto cap = [&](uint32_t which) {
    return plugin->CallCode(FF_GET_PLUGIN_CAPS, host::PluginLibrary::Mixed(which));
  };
  EXPECT_EQ(cap(FF_CAP_SET_TIME), FF_SUPPORTED);
  EXPECT_EQ(cap(FF_CAP_MINIMUM_INPUT_FRAMES), 0u);
  EXPECT_EQ(cap(FF_CAP_MAXIMUM_INPUT_FRAMES), 0u);
  for (uint32_t other : {0u, 4u, 6u, 9u, 12u, 0xFFFFFFFFu})
    EXPECT_EQ(cap(other), FF_UNSUPPORTED) << "capability " << other;
}

TEST_F(Information, NoShortName) {
  EXPECT_EQ(plugin->Call(FF_GET_PLUGIN_SHORT_NAME).PointerValue, nullptr);
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// Instance-less parameter queries, answered from the prototype's registry,
// and the codes that take a record pointer.
#include "tests/support/HostSession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

using host::PluginLibrary;
using testing_support::PluginHostTest;

class ParameterQueries : public PluginHostTest {
 protected:
  const char* NameField(uint32_t index) const {
    return static_cast<const char*>(
        plugin->Call(FF_GET_PARAMETER_NAME, PluginLibrary::Mixed(index)).PointerValue);
  }
};

TEST_F(ParameterQueries, EveryParameterHasAPlainDefinition) {
  const uint32_t count = plugin->NumParameters();
  ASSERT_GT(count, 0u);
  for (uint32_t i = 0; i < count; ++i) {
    SCOPED_TRACE(plugin->ParameterName(i));
    ASSERT_NE(NameField(i), nullptr);
    const uint32_t type = plugin->ParameterType(i);
    EXPECT_NE(type, FF_FAIL);
    // Text is the only string-valued kind the clock defines; no files.
    EXPECT_NE(type, static_cast<uint32_t>(FF_TYPE_FILE));
    EXPECT_EQ(plugin->CallCode(FF_GET_PARAMETER_USAGE, PluginLibrary::Mixed(i)), 0u);
    EXPECT_EQ(plugin->CallCode(FF_GET_NUM_FILE_PARAMETER_EXTENSIONS, PluginLibrary::Mixed(i)), 0u);
    ElementIndexStruct extension{i, 0};
    EXPECT_EQ(plugin->Call(FF_GET_FILE_PARAMETER_EXTENSION, PluginLibrary::Mixed(&extension))
                  .PointerValue,
              nullptr);
    RangeStruct range{i, 7.0f, 7.0f};
    EXPECT_EQ(plugin->CallCode(FF_GET_RANGE, PluginLibrary::Mixed(&range)), FF_SUCCESS);
    EXPECT_EQ(range.min, 0.0f);
    EXPECT_EQ(range.max, 1.0f);
    // The prototype never switches display type: all its parameters show.
    EXPECT_EQ(plugin->CallCode(FF_GET_PARAMETER_VISIBILITY, PluginLibrary::Mixed(i)), 1u);
    if (IsStringParamType(type)) {
      EXPECT_LT(plugin->Parameter(i).defaultText.size(), 16u);
      continue;
    }
    const float value = plugin->ParameterDefault(i);
    EXPECT_FALSE(std::isnan(value));
    if (type == FF_TYPE_STANDARD) {
      EXPECT_GE(value, 0.0f);
      EXPECT_LE(value, 1.0f);
    }
    const uint32_t elements = plugin->NumElements(i);
    if (type == FF_TYPE_OPTION) {
      EXPECT_GE(elements, 1u);
      for (uint32_t e = 0; e < elements; ++e)
        EXPECT_EQ(plugin->ElementValue(i, e), static_cast<float>(e)) << "element " << e;
    } else {
      EXPECT_EQ(elements, 1u);
      EXPECT_EQ(plugin->ElementName(i, 0), "");
      EXPECT_EQ(plugin->ElementValue(i, 0), 0.0f);
    }
  }
}

TEST_F(ParameterQueries, NamesAreSixteenByteFields) {
  const int saturation = plugin->FindParameter("Color_saturation");
  ASSERT_GE(saturation, 0) << "a 16-character name is listed whole";
  const char* field = NameField(static_cast<uint32_t>(saturation));
  EXPECT_EQ(std::memcmp(field, "Color_saturation", 16), 0);

  const char* brightness = NameField(static_cast<uint32_t>(saturation) + 1);
  ASSERT_NE(brightness, nullptr);
  EXPECT_EQ(std::memcmp(brightness, "Color_brighthnes", 16), 0)
      << "the 17-character name keeps its first 16";

  const char* type = NameField(0);
  ASSERT_NE(type, nullptr);
  const char expected[16] = {'T', 'y', 'p', 'e'};
  EXPECT_EQ(std::memcmp(type, expected, 16), 0) << "short names are zero-filled";
}

TEST_F(ParameterQueries, OptionElementsOfType) {
  ASSERT_EQ(plugin->ParameterType(0), FF_TYPE_OPTION);
  // Saved shows store the position: the first three never move.
  ASSERT_EQ(plugin->NumElements(0), 5u);
  EXPECT_EQ(plugin->ElementName(0, 0), "Digital");
  EXPECT_EQ(plugin->ElementName(0, 1), "Classic");
  EXPECT_EQ(plugin->ElementName(0, 2), "Countdown");
  EXPECT_EQ(plugin->ElementName(0, 3), "Timer");
  EXPECT_EQ(plugin->ElementName(0, 4), "Stopwatch");

  for (ElementIndexStruct bad : {ElementIndexStruct{0, 5}, ElementIndexStruct{0, 0xFFFFFFFFu},
                                 ElementIndexStruct{1000, 0}}) {
    EXPECT_EQ(plugin->Call(FF_GET_PARAMETER_ELEMENT_NAME, PluginLibrary::Mixed(&bad)).PointerValue,
              nullptr);
    EXPECT_EQ(plugin->CallCode(FF_GET_PARAMETER_ELEMENT_VALUE, PluginLibrary::Mixed(&bad)), FF_FAIL);
  }
}

TEST_F(ParameterQueries, MissingIndexGetsEachCodesFailure) {
  const uint32_t count = plugin->NumParameters();
  for (uint32_t index : {count, count + 1, 1000u, 0x80000000u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(index);
    const FFMixed in = PluginLibrary::Mixed(index);
    EXPECT_EQ(plugin->Call(FF_GET_PARAMETER_NAME, in).PointerValue, nullptr);
    EXPECT_EQ(plugin->CallCode(FF_GET_PARAMETER_DEFAULT, in), FF_FAIL);
    EXPECT_EQ(plugin->CallCode(FF_GET_PARAMETER_TYPE, in), FF_FAIL);
    EXPECT_EQ(plugin->CallCode(FF_GET_NUM_PARAMETER_ELEMENTS, in), FF_FAIL);
    EXPECT_EQ(plugin->CallCode(FF_GET_PARAMETER_USAGE, in), FF_FAIL);
    EXPECT_EQ(plugin->CallCode(FF_GET_PARAMETER_VISIBILITY, in), FF_FAIL);
    EXPECT_EQ(plugin->CallCode(FF_GET_NUM_FILE_PARAMETER_EXTENSIONS, in), 0u);
    RangeStruct range{index, 7.0f, 7.0f};
    EXPECT_EQ(plugin->CallCode(FF_GET_RANGE, PluginLibrary::Mixed(&range)), FF_SUCCESS);
    EXPECT_EQ(range.min, 0.0f);
    EXPECT_EQ(range.max, 1.0f);
  }
}

TEST_F(ParameterQueries, ThumbnailIsAlwaysEmpty) {
  uint32_t pixels[4] = {1, 2, 3, 4};
  ThumbnailStruct thumbnail{16, 9, pixels};
  EXPECT_EQ(plugin->CallCode(FF_GET_THUMBNAIL, PluginLibrary::Mixed(&thumbnail)), FF_FAIL);
  EXPECT_EQ(thumbnail.width, 0u);
  EXPECT_EQ(thumbnail.height, 0u);
  EXPECT_EQ(thumbnail.rgbaPixelBuffer, pixels);
  EXPECT_EQ(pixels[0], 1u) << "nothing is written into the host's buffer";
}

// A null record is refused with the code's failure value, with and without
// an instance, and the instance carries on as before.
TEST_F(ParameterQueries, NullRecordPointersAreRefused) {
  FFInstanceID instance = NewInstance();
  ASSERT_NE(instance, nullptr);
  const FFMixed none = PluginLibrary::Mixed(static_cast<const void*>(nullptr));
  for (FFInstanceID handle : {static_cast<FFInstanceID>(nullptr), instance}) {
    for (uint32_t code : {FF_SET_PARAMETER, FF_PROCESS_OPENGL, FF_SET_TIME, FF_RESIZE,
                          FF_GET_PARAMETER_ELEMENT_VALUE, FF_SET_PARAMETER_ELEMENT_VALUE,
                          FF_SET_BEATINFO, FF_SET_HOSTINFO, FF_GET_RANGE, FF_GET_THUMBNAIL,
                          FF_GET_PARAMETER_EVENTS})
      EXPECT_EQ(plugin->CallCode(code, none, handle), FF_FAIL) << "code " << code;
    for (uint32_t code : {FF_GET_PARAMETER_ELEMENT_NAME, FF_GET_FILE_PARAMETER_EXTENSION})
      EXPECT_EQ(plugin->Call(code, none, handle).PointerValue, nullptr) << "code " << code;
    EXPECT_EQ(plugin->Call(FF_INSTANTIATE_GL, none, handle).PointerValue,
              testing_support::AllOnesHandle());
  }
  EXPECT_EQ(plugin->GetParameter(instance, 0), 0.0f);
  EXPECT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
}

}  // namespace

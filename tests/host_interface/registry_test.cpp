// SPDX-License-Identifier: GPL-3.0-or-later
// The parameter registry, the registration records and the instance base as
// units: the rules a host relies on without being able to see them directly.
#include "ffgl/CFFGLPlugin.h"
#include "ffgl/CFFGLPluginManager.h"
#include "ffgl/PluginRegistration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

TEST(Registry, StandardDefaultsAreClampedOthersKept) {
  ffgl::CFFGLPluginManager registry;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  registry.SetParamInfo(0, "a", FF_TYPE_STANDARD, 1.5f);
  registry.SetParamInfo(1, "b", FF_TYPE_STANDARD, -0.25f);
  registry.SetParamInfo(2, "c", FF_TYPE_STANDARD, nan);
  registry.SetParamInfo(3, "d", FF_TYPE_STANDARD, 0.375f);
  registry.SetParamInfo(4, "e", FF_TYPE_SATURATION, 2.0f);
  registry.SetParamInfo(5, "f", FF_TYPE_HUE, -3.0f);
  registry.SetOptionParamInfo(6, "g", 2, 5.0f);
  EXPECT_EQ(registry.FindParam(0)->defaultValue, 1.0f);
  EXPECT_EQ(registry.FindParam(1)->defaultValue, 0.0f);
  EXPECT_EQ(registry.FindParam(2)->defaultValue, 0.0f) << "a slider needs a usable position";
  EXPECT_EQ(registry.FindParam(3)->defaultValue, 0.375f);
  EXPECT_EQ(registry.FindParam(4)->defaultValue, 2.0f);
  EXPECT_EQ(registry.FindParam(5)->defaultValue, -3.0f);
  EXPECT_EQ(registry.FindParam(6)->defaultValue, 5.0f);
}

TEST(Registry, NamesAreSixteenBytesWithoutRoomForATerminator) {
  ffgl::CFFGLPluginManager registry;
  registry.SetParamInfo(0, "ABCDEFGHIJKLMNOP", FF_TYPE_STANDARD, 0.0f);
  registry.SetParamInfo(1, "ABCDEFGHIJKLMNOPQRS", FF_TYPE_STANDARD, 0.0f);
  registry.SetParamInfo(2, "Abc", FF_TYPE_STANDARD, 0.0f);
  registry.SetParamInfo(3, nullptr, FF_TYPE_STANDARD, 0.0f);
  static_assert(sizeof(ffgl::ParamInfo::name) == 16, "the host reads 16 bytes");
  EXPECT_EQ(std::memcmp(registry.FindParam(0)->name, "ABCDEFGHIJKLMNOP", 16), 0);
  EXPECT_EQ(std::memcmp(registry.FindParam(1)->name, "ABCDEFGHIJKLMNOP", 16), 0);
  const char shortName[16] = {'A', 'b', 'c'};
  EXPECT_EQ(std::memcmp(registry.FindParam(2)->name, shortName, 16), 0);
  const char noName[16] = {};
  EXPECT_EQ(std::memcmp(registry.FindParam(3)->name, noName, 16), 0);
}

TEST(Registry, RecordsStartPlain) {
  ffgl::CFFGLPluginManager registry;
  registry.SetParamInfo(0, "plain", FF_TYPE_BOOLEAN, 1.0f);
  registry.SetOptionParamInfo(1, "pick", 3, 0.0f);
  const ffgl::ParamInfo* plain = registry.FindParam(0);
  ASSERT_EQ(plain->elements.size(), 1u);
  EXPECT_EQ(plain->elements[0].name, "");
  EXPECT_EQ(plain->elements[0].value, 0.0f);
  EXPECT_EQ(plain->usage, 0u);
  EXPECT_TRUE(plain->visible);
  EXPECT_EQ(plain->rangeMin, 0.0f);
  EXPECT_EQ(plain->rangeMax, 1.0f);
  EXPECT_TRUE(plain->defaultText.empty());
  EXPECT_TRUE(plain->fileExtensions.empty());
  EXPECT_EQ(plain->pendingEvents, 0u);
  EXPECT_EQ(registry.FindParam(1)->type, FF_TYPE_OPTION);
  EXPECT_EQ(registry.FindParam(1)->elements.size(), 3u);
  EXPECT_EQ(registry.GetNumParams(), 2u);
  EXPECT_EQ(registry.GetParamType(2), FF_FAIL);
}

TEST(Registry, UpdatesOutOfRangeChangeNothing) {
  ffgl::CFFGLPluginManager registry;
  registry.SetOptionParamInfo(0, "pick", 3, 0.0f);
  registry.SetParamElementInfo(0, 2, "last", 2.0f);
  registry.SetParamElementInfo(0, 3, "beyond", 3.0f);
  registry.SetParamElementInfo(0, 0xFFFFFFFFu, "beyond", 3.0f);
  registry.SetParamElementInfo(9, 0, "nobody", 3.0f);
  registry.SetParamVisibility(9, false);
  registry.RaiseParamEvent(9, FF_EVENT_FLAG_VISIBILITY);
  const ffgl::ParamInfo* pick = registry.FindParam(0);
  ASSERT_EQ(pick->elements.size(), 3u);
  EXPECT_EQ(pick->elements[2].name, "last");
  EXPECT_EQ(pick->elements[2].value, 2.0f);
  EXPECT_EQ(pick->elements[1].name, "");
  EXPECT_EQ(registry.GetNumParams(), 1u);
  EXPECT_EQ(pick->pendingEvents, 0u);
}

TEST(Registry, RepeatedIndexFindsTheEarlierRecord) {
  ffgl::CFFGLPluginManager registry;
  registry.SetParamInfo(0, "first", FF_TYPE_STANDARD, 0.25f);
  registry.SetParamInfo(0, "second", FF_TYPE_BOOLEAN, 1.0f);
  EXPECT_EQ(registry.GetNumParams(), 2u);
  EXPECT_STREQ(registry.FindParam(0)->name, "first");
  EXPECT_EQ(registry.GetParamType(0), FF_TYPE_STANDARD);
}

TEST(Registry, HarvestDeliversLowestFirstAndKeepsTheRest) {
  ffgl::CFFGLPluginManager registry;
  for (uint32_t i = 0; i < 5; ++i) registry.SetParamInfo(i, "p", FF_TYPE_STANDARD, 0.0f);
  registry.RaiseParamEvent(4, FF_EVENT_FLAG_VISIBILITY);
  registry.RaiseParamEvent(1, FF_EVENT_FLAG_VISIBILITY);
  registry.RaiseParamEvent(1, FF_EVENT_FLAG_VISIBILITY);
  registry.RaiseParamEvent(3, FF_EVENT_FLAG_VISIBILITY);
  registry.RaiseParamEvent(3, 4);

  ParameterEventsStruct count{99, nullptr};
  registry.HarvestParamEvents(count);
  EXPECT_EQ(count.numEvents, 3u);

  ParamEventStruct entries[3] = {};
  ParameterEventsStruct one{1, entries};
  registry.HarvestParamEvents(one);
  EXPECT_EQ(one.numEvents, 1u);
  EXPECT_EQ(entries[0].ParameterNumber, 1u);
  EXPECT_EQ(entries[0].eventFlags, FF_EVENT_FLAG_VISIBILITY) << "a repeated flag is one event";

  ParameterEventsStruct rest{3, entries};
  registry.HarvestParamEvents(rest);
  ASSERT_EQ(rest.numEvents, 2u);
  EXPECT_EQ(entries[0].ParameterNumber, 3u);
  EXPECT_EQ(entries[0].eventFlags, FF_EVENT_FLAG_VISIBILITY | 4u);
  EXPECT_EQ(entries[1].ParameterNumber, 4u);

  registry.HarvestParamEvents(count);
  EXPECT_EQ(count.numEvents, 0u);
}

TEST(Registration, FixedFieldsStopAtTheirLimit) {
  char field[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
  ffgl::CopyFixedField(field, "Wmpx", 4);
  EXPECT_EQ(std::memcmp(field, "Wmpxxx", 6), 0) << "no terminator written past 4 bytes";
  ffgl::CopyFixedField(field, "ab", 4);
  EXPECT_EQ(std::memcmp(field, "ab\0xxx", 6), 0) << "stops after the first NUL";
  ffgl::CopyFixedField(field, "Quorvane", 4);
  EXPECT_EQ(std::memcmp(field, "Quorxx", 6), 0);
  ffgl::CopyFixedField(field, nullptr, 4);
  EXPECT_EQ(std::memcmp(field, "Quorxx", 6), 0);
}

FFResult NoFactory(ffgl::CFFGLPlugin**) { return FF_FAIL; }

TEST(Registration, RecordsAreFilledAndPublished) {
  ffgl::PluginRegistration registration;
  const unsigned char block[3] = {7, 8, 9};
  std::string about = "About text";
  ffgl::PluginRegistration& made =
      ffgl::RegisterPlugin(registration, NoFactory, "ABCDE", "A name longer than sixteen", 2, 1, 3, 4,
                     FF_MIXER, "Desc", about.c_str(), 3, block);
  about[0] = 'X';
  EXPECT_EQ(&made, &registration);
  EXPECT_EQ(ffgl::GetPluginRegistration(), &registration);
  EXPECT_EQ(std::memcmp(registration.info.PluginUniqueID, "ABCD", 4), 0);
  EXPECT_EQ(std::memcmp(registration.info.PluginName, "A name longer th", 16), 0);
  EXPECT_EQ(registration.info.PluginType, FF_MIXER);
  EXPECT_EQ(reinterpret_cast<char*>(&registration.extendedInfo) -
                reinterpret_cast<char*>(&registration.info),
            32);
  EXPECT_EQ(registration.extendedInfo.PluginMajorVersion, 3u);
  EXPECT_EQ(registration.extendedInfo.PluginMinorVersion, 4u);
  EXPECT_STREQ(registration.extendedInfo.About, "About text") << "an owned copy";
  EXPECT_STREQ(registration.extendedInfo.Description, "Desc");
  ASSERT_EQ(registration.extendedInfo.FreeFrameExtendedDataSize, 3u);
  ASSERT_NE(registration.extendedInfo.FreeFrameExtendedDataBlock, nullptr);
  EXPECT_NE(registration.extendedInfo.FreeFrameExtendedDataBlock, static_cast<const void*>(block));
  EXPECT_EQ(std::memcmp(registration.extendedInfo.FreeFrameExtendedDataBlock, block, 3), 0);

  ffgl::PluginRegistration sizeOnly;
  ffgl::RegisterPlugin(sizeOnly, NoFactory, "Wmpx", "T", 2, 1, 1, 1, FF_SOURCE, nullptr, nullptr, 8,
                 nullptr);
  EXPECT_EQ(sizeOnly.extendedInfo.FreeFrameExtendedDataSize, 0u);
  EXPECT_EQ(sizeOnly.extendedInfo.FreeFrameExtendedDataBlock, nullptr);
  ASSERT_NE(sizeOnly.extendedInfo.Description, nullptr);
  EXPECT_STREQ(sizeOnly.extendedInfo.Description, "");
  const char name[16] = {'T'};
  EXPECT_EQ(std::memcmp(sizeOnly.info.PluginName, name, 16), 0);
}

TEST(InstanceBase, InputsFollowThePluginType) {
  struct Case {
    uint32_t type;
    int32_t inputs;
  };
  for (Case c : {Case{FF_EFFECT, 1}, Case{FF_SOURCE, 0}, Case{FF_MIXER, 2}, Case{7, 0},
                 Case{0xFFFFFFFFu, 0}}) {
    ffgl::CFFGLPlugin instance(c.type);
    SCOPED_TRACE(c.type);
    EXPECT_EQ(instance.minInputs, c.inputs);
    EXPECT_EQ(instance.maxInputs, c.inputs);
    EXPECT_TRUE(instance.timeSupported);
    for (uint32_t input = 0; input < 4; ++input)
      EXPECT_EQ(instance.GetInputStatus(input),
                static_cast<int32_t>(input) < c.inputs ? 1u : FF_FAIL);
    EXPECT_EQ(instance.GetInputStatus(0xFFFFFFFFu), FF_FAIL);
  }
}

TEST(InstanceBase, KeepsItsOwnCopiesOfHostInformation) {
  ffgl::CFFGLPlugin instance(FF_SOURCE);
  EXPECT_EQ(instance.bpm, 120.0f);
  EXPECT_EQ(instance.barPhase, 0.0f);
  EXPECT_FALSE(instance.glConnected);

  std::string name = "Host", version = "1.2";
  instance.SetHostInfo(name.c_str(), version.c_str());
  name.assign("Changed");
  version.clear();
  version.shrink_to_fit();
  EXPECT_EQ(instance.hostName, "Host");
  EXPECT_EQ(instance.hostVersion, "1.2");
  instance.SetHostInfo(nullptr, nullptr);
  EXPECT_EQ(instance.hostName, "");
  EXPECT_EQ(instance.hostVersion, "");
}

}  // namespace

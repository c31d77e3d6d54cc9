// SPDX-License-Identifier: GPL-3.0-or-later
// Per-instance codes through the real plug-in: handle checks, parameter
// values, frames, host information and the visibility events a display type
// switch raises.
#include "tests/support/HostSession.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

using host::PluginLibrary;
using testing_support::AllOnesHandle;
using testing_support::PluginHostTest;

// One well-formed record for every instance code, so that a failure can only
// come from the handle.
struct Records {
  SetParameterStruct set{};
  ProcessOpenGLStruct frame{};
  double time = 12.5;
  FFGLViewportStruct viewport{0, 0, 32, 32};
  SetElementValueStruct element{0, 1, 42.0f};
  BeatInfoStruct beat{90.0f, 0.5f};
  HostInfoStruct info{"Host", "1.0"};
  ParameterEventsStruct events{0, nullptr};

  Records() { set.ParameterNumber = 0; set.NewParameterValue.FloatValue = 1.0f; }

  FFMixed For(uint32_t code) {
    switch (code) {
      case FF_SET_PARAMETER: return PluginLibrary::Mixed(&set);
      case FF_PROCESS_OPENGL: return PluginLibrary::Mixed(&frame);
      case FF_SET_TIME: return PluginLibrary::Mixed(&time);
      case FF_RESIZE: return PluginLibrary::Mixed(&viewport);
      case FF_SET_PARAMETER_ELEMENT_VALUE: return PluginLibrary::Mixed(&element);
      case FF_SET_BEATINFO: return PluginLibrary::Mixed(&beat);
      case FF_SET_HOSTINFO: return PluginLibrary::Mixed(&info);
      case FF_GET_PARAMETER_EVENTS: return PluginLibrary::Mixed(&events);
      case FF_SET_SAMPLERATE: return PluginLibrary::Mixed(48000u);
      default: return PluginLibrary::Mixed(0u);
    }
  }
};

const uint32_t kInstanceCodes[] = {
    FF_GET_PARAMETER_DISPLAY, FF_SET_PARAMETER,  FF_GET_PARAMETER,    FF_GET_INPUT_STATUS,
    FF_PROCESS_OPENGL,        FF_SET_TIME,       FF_CONNECT,          FF_DISCONNECT,
    FF_RESIZE,                FF_SET_PARAMETER_ELEMENT_VALUE,         FF_SET_BEATINFO,
    FF_SET_HOSTINFO,          FF_SET_SAMPLERATE, FF_GET_PARAMETER_EVENTS, FF_DEINSTANTIATE_GL};

class InstanceCodes : public PluginHostTest {
 protected:
  // Every instance code with this handle fails; code 7 with all 64 bits set.
  void ExpectRefused(FFInstanceID handle) {
    Records records;
    for (uint32_t code : kInstanceCodes) {
      const FFMixed result = plugin->Call(code, records.For(code), handle);
      if (code == FF_GET_PARAMETER_DISPLAY)
        EXPECT_EQ(result.PointerValue, AllOnesHandle());
      else
        EXPECT_EQ(result.UIntValue, FF_FAIL) << "code " << code;
    }
    EXPECT_EQ(records.events.numEvents, 0u) << "nothing is written for a refused handle";
    EXPECT_EQ(records.viewport.width, 32u);
  }

  uint32_t Index(const char* name) {
    const int index = plugin->FindParameter(name);
    EXPECT_GE(index, 0) << name;
    return static_cast<uint32_t>(index);
  }
};

TEST_F(InstanceCodes, NullHandleFailsWithoutEffect) {
  FFInstanceID live = NewInstance();
  ASSERT_NE(live, nullptr);
  const uint32_t scale = Index("Scale");
  ASSERT_EQ(plugin->SetParameter(live, scale, 0.125f), FF_SUCCESS);
  plugin->TakeEvents(live);

  ExpectRefused(nullptr);

  // The one live instance saw none of it.
  EXPECT_EQ(plugin->GetParameter(live, scale), 0.125f);
  EXPECT_EQ(plugin->GetParameter(live, 0), 0.0f);
  EXPECT_EQ(plugin->Visibility(live, Index("Date")), 0u) << "still the Digital set";
  EXPECT_EQ(plugin->ProcessFrame(live, context->Framebuffer()), FF_SUCCESS);
  EXPECT_EQ(Delete(live), FF_SUCCESS);
}

TEST_F(InstanceCodes, DeletedAndForeignHandlesAreRefused) {
  FFInstanceID instance = NewInstance();
  ASSERT_NE(instance, nullptr);
  ASSERT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
  ASSERT_EQ(Delete(instance), FF_SUCCESS);
  ExpectRefused(instance);

  int notAnInstance[64] = {};
  ExpectRefused(notAnInstance);
  ExpectRefused(AllOnesHandle());
}

TEST_F(InstanceCodes, ParameterValuesRoundTrip) {
  FFInstanceID instance = NewInstance();
  ASSERT_NE(instance, nullptr);
  const uint32_t count = plugin->NumParameters();
  for (uint32_t i = 0; i < count; ++i) {
    if (IsStringParamType(plugin->ParameterType(i))) {
      EXPECT_EQ(plugin->GetText(instance, i), plugin->Parameter(i).defaultText);
      continue;
    }
    EXPECT_EQ(plugin->GetParameter(instance, i), plugin->ParameterDefault(i))
        << "new instances start at the defaults: " << plugin->ParameterName(i);
  }

  const uint32_t scale = Index("Scale");
  EXPECT_EQ(plugin->SetParameter(instance, scale, 0.75f), FF_SUCCESS);
  EXPECT_EQ(plugin->GetParameter(instance, scale), 0.75f);
  // Indices beyond the list are accepted and change nothing.
  EXPECT_EQ(plugin->SetParameter(instance, count, 0.5f), FF_SUCCESS);
  EXPECT_EQ(plugin->GetParameter(instance, count), 0.0f);
  EXPECT_EQ(plugin->GetParameter(instance, 0xFFFFFFFFu), 0.0f);
  EXPECT_EQ(plugin->Call(FF_GET_PARAMETER_DISPLAY, PluginLibrary::Mixed(scale), instance)
                .PointerValue,
            nullptr);
}

TEST_F(InstanceCodes, HostInformationIsAccepted) {
  FFInstanceID instance = NewInstance();
  ASSERT_NE(instance, nullptr);
  Records records;
  for (uint32_t code : {FF_SET_TIME, FF_SET_BEATINFO, FF_SET_HOSTINFO, FF_SET_SAMPLERATE,
                        FF_CONNECT, FF_DISCONNECT, FF_CONNECT})
    EXPECT_EQ(plugin->CallCode(code, records.For(code), instance), FF_SUCCESS) << "code " << code;
  // The host may hand null strings inside the record.
  HostInfoStruct empty{nullptr, nullptr};
  EXPECT_EQ(plugin->CallCode(FF_SET_HOSTINFO, PluginLibrary::Mixed(&empty), instance), FF_SUCCESS);
  // A source has no inputs.
  for (uint32_t input : {0u, 1u, 0xFFFFFFFFu})
    EXPECT_EQ(plugin->CallCode(FF_GET_INPUT_STATUS, PluginLibrary::Mixed(input), instance),
              FF_FAIL);
  EXPECT_EQ(plugin->Resize(instance, 640, 360), FF_SUCCESS);
  EXPECT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
  // Connected (code 21 above): deleting it still succeeds.
  EXPECT_EQ(Delete(instance), FF_SUCCESS);
}

TEST_F(InstanceCodes, ZeroSizedViewportIsAnInstanceThatDrawsNothing) {
  FFInstanceID instance = NewInstance(0, 0);
  ASSERT_NE(instance, nullptr);
  context->Clear(0, 0, 0, 0);
  EXPECT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
  const host::Pixels pixels = context->ReadPixels();
  for (size_t i = 3; i < pixels.rgba.size(); i += 4) ASSERT_EQ(pixels.rgba[i], 0) << i;
  EXPECT_EQ(plugin->Resize(instance, 64, 64), FF_SUCCESS);
  EXPECT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
}

TEST_F(InstanceCodes, ElementValuesChangeOnlyTheInstance) {
  FFInstanceID instance = NewInstance();
  ASSERT_NE(instance, nullptr);
  SetElementValueStruct change{0, 1, 42.0f};
  EXPECT_EQ(plugin->CallCode(FF_SET_PARAMETER_ELEMENT_VALUE, PluginLibrary::Mixed(&change), instance),
            FF_SUCCESS);
  EXPECT_EQ(plugin->ElementValue(0, 1), 1.0f) << "code 36 reports the prototype's value";
  for (SetElementValueStruct bad : {SetElementValueStruct{0, plugin->NumElements(0), 1.0f},
                                    SetElementValueStruct{0, 0xFFFFFFFFu, 1.0f},
                                    SetElementValueStruct{1000, 0, 1.0f}})
    EXPECT_EQ(plugin->CallCode(FF_SET_PARAMETER_ELEMENT_VALUE, PluginLibrary::Mixed(&bad), instance),
              FF_FAIL);
}

TEST_F(InstanceCodes, VisibilityIsPerInstance) {
  FFInstanceID instance = NewInstance();
  ASSERT_NE(instance, nullptr);
  const uint32_t date = Index("Date");
  const uint32_t scale = Index("Scale");
  EXPECT_EQ(plugin->Visibility(instance, date), 0u) << "Digital hides the countdown target";
  EXPECT_EQ(plugin->Visibility(nullptr, date), 1u) << "the prototype shows everything";
  EXPECT_EQ(plugin->Visibility(instance, scale), 1u);
  EXPECT_EQ(plugin->Visibility(instance, 1000), FF_FAIL);

  ASSERT_EQ(plugin->SetParameter(instance, 0, 2.0f), FF_SUCCESS);
  ASSERT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
  EXPECT_EQ(plugin->Visibility(instance, date), 1u) << "Countdown shows it";
  EXPECT_EQ(plugin->Visibility(nullptr, date), 1u);
}

TEST_F(InstanceCodes, EventsAreHarvestedOnceInRegistryOrder) {
  FFInstanceID instance = NewInstance();
  ASSERT_NE(instance, nullptr);
  // Setting up the display type announced its visibility changes.
  ParameterEventsStruct query{0, nullptr};
  ASSERT_EQ(plugin->CallCode(FF_GET_PARAMETER_EVENTS, PluginLibrary::Mixed(&query), instance),
            FF_SUCCESS);
  const uint32_t pending = query.numEvents;
  ASSERT_GE(pending, 3u);
  ParameterEventsStruct again{0, nullptr};
  plugin->CallCode(FF_GET_PARAMETER_EVENTS, PluginLibrary::Mixed(&again), instance);
  EXPECT_EQ(again.numEvents, pending) << "counting clears nothing";

  ParamEventStruct none[1] = {{77, 77}};
  ParameterEventsStruct empty{0, none};
  ASSERT_EQ(plugin->CallCode(FF_GET_PARAMETER_EVENTS, PluginLibrary::Mixed(&empty), instance),
            FF_SUCCESS);
  EXPECT_EQ(empty.numEvents, 0u);
  EXPECT_EQ(none[0].ParameterNumber, 77u) << "capacity 0 writes nothing";

  ParamEventStruct one[2] = {{77, 77}, {77, 77}};
  ParameterEventsStruct single{1, one};
  ASSERT_EQ(plugin->CallCode(FF_GET_PARAMETER_EVENTS, PluginLibrary::Mixed(&single), instance),
            FF_SUCCESS);
  EXPECT_EQ(single.numEvents, 1u);
  const std::vector<ParamEventStruct> rest = plugin->TakeEvents(instance);
  ASSERT_EQ(rest.size(), pending - 1);
  EXPECT_LT(one[0].ParameterNumber, rest.front().ParameterNumber) << "lowest position first";
  EXPECT_EQ(one[0].eventFlags, FF_EVENT_FLAG_VISIBILITY);
  EXPECT_EQ(one[1].ParameterNumber, 77u) << "nothing beyond the capacity";
  EXPECT_TRUE(plugin->TakeEvents(instance).empty());

  // Two switches before a harvest: one entry per parameter.
  ASSERT_EQ(plugin->SetParameter(instance, 0, 1.0f), FF_SUCCESS);
  ASSERT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
  ASSERT_EQ(plugin->SetParameter(instance, 0, 2.0f), FF_SUCCESS);
  ASSERT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
  const std::vector<ParamEventStruct> events = plugin->TakeEvents(instance);
  std::set<uint32_t> indices;
  for (const ParamEventStruct& event : events) {
    indices.insert(event.ParameterNumber);
    EXPECT_EQ(event.eventFlags, FF_EVENT_FLAG_VISIBILITY);
  }
  EXPECT_EQ(indices.size(), events.size());
  EXPECT_EQ(events.size(), pending);
  EXPECT_EQ(plugin->Visibility(instance, Index("Date")), 1u);
}

}  // namespace

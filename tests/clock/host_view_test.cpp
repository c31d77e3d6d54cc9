// SPDX-License-Identifier: GPL-3.0-or-later
// The clock as a host sees it through plugMain: its parameter table, option
// elements, visibility and events. The wall clock is frozen by libfaketime at
// 30 December 2026 12:00 in Berlin (see CMakeLists.txt).
#include "host/HeadlessHost.h"
#include "host/Ink.h"
#include "tickora/FontFamilies.h"

#include <gtest/gtest.h>

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cstdlib>
#include <set>

namespace {

class HostView : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    context = host::GLContext::Create().release();
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(context->SetFramebufferSize(320, 180));
    plugin = host::PluginLibrary::Load(std::getenv("TICKORA_PLUGIN")).release();
    ASSERT_NE(plugin, nullptr);
    ASSERT_TRUE(plugin->Initialise());
  }
  static void TearDownTestSuite() {
    if (plugin != nullptr) plugin->Deinitialise();
    delete plugin;
    delete context;
  }

  uint32_t Index(const char* name) {
    const int index = plugin->FindParameter(name);
    EXPECT_GE(index, 0) << name;
    return static_cast<uint32_t>(index);
  }

  host::Pixels Frame(FFInstanceID instance) {
    context->BindFramebuffer();
    context->Clear(0, 0, 0, 0);
    EXPECT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
    return context->ReadPixels();
  }

  // Visible parameter indices of an instance, and the events it raised.
  std::set<uint32_t> Shown(FFInstanceID instance) {
    std::set<uint32_t> shown;
    for (uint32_t i = 0; i < plugin->NumParameters(); ++i)
      if (plugin->Visibility(instance, i) == 1) shown.insert(i);
    return shown;
  }

  static host::GLContext* context;
  static host::PluginLibrary* plugin;
};

host::GLContext* HostView::context = nullptr;
host::PluginLibrary* HostView::plugin = nullptr;

std::set<uint32_t> Range(uint32_t first, uint32_t last) {
  std::set<uint32_t> out;
  for (uint32_t i = first; i <= last; ++i) out.insert(i);
  return out;
}

std::set<uint32_t> Union(std::set<uint32_t> a, const std::set<uint32_t>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

std::vector<std::string> TwoDigits(int count) {
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) out.push_back((i < 10 ? "0" : "") + std::to_string(i));
  return out;
}

}  // namespace

TEST_F(HostView, ParameterTable) {
  struct Row {
    const char* name;
    uint32_t type;
    float defaultValue;
  };
  const float font = -2.0f;  // checked separately
  // The 26 of 1.1 keep their positions for ever; later ones are appended.
  const Row rows[] = {
      {"Type", FF_TYPE_OPTION, 0.0f},         {"Color", FF_TYPE_HUE, 1.0f},
      {"Color_saturation", FF_TYPE_SATURATION, 2.0f},
      {"Color_brighthnes", FF_TYPE_BRIGHTNESS, 2.0f},
      {"Color_alpha", FF_TYPE_ALPHA, 1.0f},   {"Font", FF_TYPE_OPTION, font},
      {"Style", FF_TYPE_OPTION, 0.0f},        {"Scale", FF_TYPE_STANDARD, 0.91f},
      {"Spacing", FF_TYPE_STANDARD, 0.63f},   {"Aspect", FF_TYPE_STANDARD, 0.5f},
      {"Colon height", FF_TYPE_STANDARD, 0.05f}, {"Colon Left", FF_TYPE_STANDARD, 0.55f},
      {"Colon width", FF_TYPE_STANDARD, 0.46f}, {"Show Seconds", FF_TYPE_BOOLEAN, 1.0f},
      {"Show Millisecs", FF_TYPE_BOOLEAN, 0.0f}, {"Colon animation", FF_TYPE_OPTION, 0.0f},
      {"Date", FF_TYPE_OPTION, 0.0f},         {"Hour", FF_TYPE_OPTION, 0.0f},
      {"Minute", FF_TYPE_OPTION, 0.0f},       {"Hour length", FF_TYPE_STANDARD, 0.4f},
      {"Minute length", FF_TYPE_STANDARD, 0.6f}, {"Sec length", FF_TYPE_STANDARD, 0.55f},
      {"Width", FF_TYPE_STANDARD, 0.3f},      {"Sec Width", FF_TYPE_STANDARD, 0.4f},
      {"Round corner", FF_TYPE_STANDARD, 0.3f}, {"Smooth time", FF_TYPE_BOOLEAN, 1.0f},
      {"Target", FF_TYPE_TEXT, 0.0f},         {"At zero", FF_TYPE_OPTION, 0.0f},
      {"Warn at", FF_TYPE_OPTION, 0.0f},      {"Warn color", FF_TYPE_HUE, 40.0f / 360.0f},
      {"Warn saturation", FF_TYPE_SATURATION, 1.0f},
      {"Warn brightness", FF_TYPE_BRIGHTNESS, 1.0f}, {"Warn alpha", FF_TYPE_ALPHA, 1.0f},
      {"Long times", FF_TYPE_OPTION, 0.0f},   {"Duration", FF_TYPE_TEXT, 0.0f},
      {"Run", FF_TYPE_BOOLEAN, 0.0f},         {"Reset", FF_TYPE_BOOLEAN, 0.0f},
      {"Start at", FF_TYPE_TEXT, 0.0f},       {"Label", FF_TYPE_TEXT, 0.0f},
      {"End text", FF_TYPE_TEXT, 0.0f},
  };
  const std::vector<host::ParameterInfo> params = plugin->Parameters();
  ASSERT_EQ(params.size(), std::size(rows));
  for (uint32_t i = 0; i < std::size(rows); ++i) {
    EXPECT_EQ(params[i].name, rows[i].name) << i;
    EXPECT_EQ(params[i].type, rows[i].type) << i;
    if (rows[i].defaultValue != font) {
      EXPECT_EQ(params[i].defaultValue, rows[i].defaultValue) << i;
    }
    if (params[i].type == FF_TYPE_OPTION) {
      for (size_t e = 0; e < params[i].elementValues.size(); ++e)
        EXPECT_EQ(params[i].elementValues[e], static_cast<float>(e)) << i;
    }
  }
  using Names = std::vector<std::string>;
  EXPECT_EQ(params[0].elementNames,
            (Names{"Digital", "Classic", "Countdown", "Timer", "Stopwatch"}));
  EXPECT_EQ(params[6].elementNames, (Names{"Regular", "Bold", "Italic"}));
  EXPECT_EQ(params[15].elementNames, (Names{"Show", "Blink", "Fade", "Hide"}));
  EXPECT_EQ(params[16].elementNames,
            (Names{"30 Dec 2026", "31 Dec 2026", "1 Jan 2027", "2 Jan 2027", "3 Jan 2027",
                   "4 Jan 2027", "5 Jan 2027", "6 Jan 2027", "7 Jan 2027", "8 Jan 2027"}));
  EXPECT_EQ(params[17].elementNames, TwoDigits(24));
  EXPECT_EQ(params[18].elementNames, TwoDigits(60));
  EXPECT_EQ(params[26].defaultText, "");
  EXPECT_EQ(params[27].elementNames, (Names{"Hold", "Count up", "Flash", "Hide", "Text"}));
  EXPECT_EQ(params[28].elementNames,
            (Names{"Off", "10 s", "30 s", "1 min", "2 min", "5 min", "10 min"}));
  EXPECT_EQ(params[33].elementNames, (Names{"Hours", "Days"}));
  EXPECT_EQ(params[34].defaultText, "05:00");
  EXPECT_EQ(params[37].defaultText, "");
  EXPECT_EQ(params[38].defaultText, "");
  EXPECT_EQ(params[39].defaultText, "");
}

TEST_F(HostView, FontFamiliesSortedIgnoringCaseWithArialAsDefault) {
  const host::ParameterInfo font = plugin->Parameter(Index("Font"));
  const std::vector<std::string>& names = font.elementNames;
  ASSERT_FALSE(names.empty());
  EXPECT_NE(std::find(names.begin(), names.end(), "Liberation Sans"), names.end());
  for (size_t i = 1; i < names.size(); ++i) {
    EXPECT_LT(juce::String(names[i - 1]).toUpperCase().compare(juce::String(names[i]).toUpperCase()),
              0)
        << names[i - 1] << " / " << names[i];
  }
  const auto arial = std::find(names.begin(), names.end(), "Arial");
  const float expected = arial == names.end() ? -1.0f : static_cast<float>(arial - names.begin());
  EXPECT_EQ(font.defaultValue, expected);
}

TEST_F(HostView, VisibilityAndEventsFollowTheType) {
  FFInstanceID a = plugin->Instantiate(320, 180);
  FFInstanceID b = plugin->Instantiate(320, 180);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  const std::set<uint32_t> always = Range(0, 4);
  const std::set<uint32_t> digital = Union(Union(always, Range(5, 15)), Range(38, 38));
  const std::set<uint32_t> countdown =
      Union(Union(Union(always, Range(5, 18)), Range(26, 33)), Range(38, 39));
  const std::set<uint32_t> classic = Union(always, Range(19, 25));
  const std::set<uint32_t> timer = Union(Union(always, Range(5, 15)), Range(27, 39));
  const std::set<uint32_t> stopwatch =
      Union(Union(Union(always, Range(5, 15)), Range(33, 33)), Range(35, 38));
  EXPECT_EQ(Shown(a), digital);
  plugin->TakeEvents(a);
  plugin->TakeEvents(b);

  auto switchTo = [&](float type, const std::set<uint32_t>& expected) {
    plugin->SetParameter(a, 0, type);
    // Visibility changes with the frame, not with the parameter.
    EXPECT_TRUE(plugin->TakeEvents(a).empty()) << type;
    Frame(a);
    EXPECT_EQ(Shown(a), expected) << type;
    const std::vector<ParamEventStruct> events = plugin->TakeEvents(a);
    std::set<uint32_t> raised;
    for (const ParamEventStruct& e : events) {
      EXPECT_NE(e.eventFlags & FF_EVENT_FLAG_VISIBILITY, 0u);
      raised.insert(e.ParameterNumber);
    }
    EXPECT_EQ(raised, Range(5, 39)) << type;
    // A frame without a change raises nothing.
    Frame(a);
    EXPECT_TRUE(plugin->TakeEvents(a).empty()) << type;
  };
  switchTo(1.0f, classic);
  switchTo(0.0f, digital);
  switchTo(2.0f, countdown);
  switchTo(3.0f, timer);
  switchTo(4.0f, stopwatch);
  switchTo(1.0f, classic);
  switchTo(2.0f, countdown);

  // A typed target takes over from "Date", "Hour" and "Minute", which hide
  // at once, also while the text names no moment (the read-out shows
  // dashes then); an empty "Target" brings them back.
  const uint32_t target = Index("Target");
  std::set<uint32_t> typedSet = countdown;
  for (uint32_t i : Range(16, 18)) typedSet.erase(i);
  for (const char* text : {"2027-01-01 00:00", "2027-01-01 00:00", "not a date", ""}) {
    const bool typed = std::string(text).size() > 0;
    EXPECT_EQ(plugin->SetText(a, target, text), FF_SUCCESS);
    EXPECT_EQ(plugin->GetText(a, target), text);
    EXPECT_EQ(Shown(a), typed ? typedSet : countdown) << text;
    plugin->TakeEvents(a);
  }
  switchTo(0.0f, digital);

  // Per instance: the other one kept its Digital set and saw no events.
  EXPECT_EQ(Shown(b), digital);
  EXPECT_TRUE(plugin->TakeEvents(b).empty());
  EXPECT_EQ(plugin->Deinstantiate(a), FF_SUCCESS);
  EXPECT_EQ(plugin->Deinstantiate(b), FF_SUCCESS);
}

TEST_F(HostView, UnknownTypeHidesEverythingFromFontOnAndShowsTheTimeOfDay) {
  FFInstanceID instance = plugin->Instantiate(320, 180);
  ASSERT_NE(instance, nullptr);
  const host::Pixels digital = Frame(instance);
  const float types = static_cast<float>(plugin->NumElements(0));
  for (float type : {types, -1.0f, 1e20f}) {
    plugin->SetParameter(instance, 0, type);
    const host::Pixels odd = Frame(instance);
    EXPECT_EQ(Shown(instance), Range(0, 4)) << type;
    // The clock is frozen, so the same read-out gives the same pixels.
    EXPECT_EQ(odd.rgba, digital.rgba) << type;
  }
  EXPECT_EQ(plugin->Deinstantiate(instance), FF_SUCCESS);
}

TEST_F(HostView, CountdownReadsTheFrozenClock) {
  FFInstanceID countdown = plugin->Instantiate(320, 180);
  ASSERT_NE(countdown, nullptr);
  plugin->SetParameter(countdown, 0, 2.0f);
  // The default target, today's midnight, has passed: the read-out rests at
  // 00:00:00, the same pixels as a countdown to 12:00 today (now).
  const host::Pixels zero = Frame(countdown);
  plugin->SetParameter(countdown, Index("Hour"), 12.0f);
  EXPECT_EQ(Frame(countdown).rgba, zero.rgba);
  // One minute ahead differs.
  plugin->SetParameter(countdown, Index("Minute"), 1.0f);
  EXPECT_NE(Frame(countdown).rgba, zero.rgba);

  // Twelve hours before tomorrow's midnight the countdown reads 12:00:00,
  // the same glyphs the Digital read-out shows for the local time of day.
  plugin->SetParameter(countdown, Index("Date"), 1.0f);
  plugin->SetParameter(countdown, Index("Hour"), 0.0f);
  plugin->SetParameter(countdown, Index("Minute"), 0.0f);
  const host::Pixels twelveLeft = Frame(countdown);
  FFInstanceID digital = plugin->Instantiate(320, 180);
  ASSERT_NE(digital, nullptr);
  EXPECT_EQ(Frame(digital).rgba, twelveLeft.rgba);
  EXPECT_NE(twelveLeft.rgba, zero.rgba);
  EXPECT_EQ(plugin->Deinstantiate(digital), FF_SUCCESS);
  EXPECT_EQ(plugin->Deinstantiate(countdown), FF_SUCCESS);
}

// Whatever families a machine has, each draws the read-out; one without
// digits (a dingbat family) draws it in the default family, as "Font" -1 does.
TEST_F(HostView, EveryFontFamilyDrawsTheReadOut) {
  FFInstanceID instance = plugin->Instantiate(320, 180);
  ASSERT_NE(instance, nullptr);
  const uint32_t font = Index("Font");
  plugin->SetParameter(instance, font, -1.0f);
  const host::Pixels fallback = Frame(instance);
  const std::vector<std::string> families = plugin->Parameter(font).elementNames;
  for (size_t i = 0; i < families.size(); ++i) {
    plugin->SetParameter(instance, font, static_cast<float>(i));
    const host::Pixels pixels = Frame(instance);
    EXPECT_GT(host::CountInk(pixels), host::CountInk(fallback) / 4) << families[i];
    if (!tickora::DrawsDigits(families[i], 0)) {
      EXPECT_TRUE(pixels.rgba == fallback.rgba) << families[i] << " drew unlike the default";
    }
  }
  EXPECT_EQ(plugin->Deinstantiate(instance), FF_SUCCESS);
}

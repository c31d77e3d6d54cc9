// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/Tickora.h"

#include "ffglex/ScopedDrawState.h"
#include "framework/FloatToInt.h"
#include "tickora/Countdown.h"
#include "tickora/DateLabels.h"
#include "tickora/DigitalReadout.h"
#include "tickora/FontFamilies.h"
#include "tickora/TimeModel.h"
#include "tickora/TimeSource.h"

#include <algorithm>
#include <cmath>

using namespace ffgl::gl;

namespace tickora {

namespace {

juce::StringArray TwoDigitLabels(int count) {
  juce::StringArray labels;
  for (int i = 0; i < count; ++i) labels.add(PadNumber(i, 2));
  return labels;
}

}  // namespace

Tickora::Tickora() : Plugin(FF_SOURCE) {
  fontNames = InstalledFontFamilies();
  frameTime = CurrentTimeMillis();
  firstLabelDay = FirstLabelDayOfProcess(frameTime);
  for (const ParamRow& row : kParamTable) Register(row);
}

// GL objects are released in DeInitGL, with the host's context current; the
// destructor may run without one (the prototype, a failed set-up).
Tickora::~Tickora() = default;

void Tickora::Register(const ParamRow& row) {
  switch (row.kind) {
    case ParamKind::kOption:
      DefineOption(row, ElementsOf(row));
      break;
    case ParamKind::kColour:
      AddColourParam(row.name, row.uniforms[0], row.uniforms[1], row.uniforms[2],
                     row.defaultValue);
      break;
    case ParamKind::kStandard:
      AddParam(row.name, row.uniforms[0], FF_TYPE_STANDARD, row.defaultValue);
      break;
    case ParamKind::kBoolean:
      AddParam(row.name, row.uniforms[0], FF_TYPE_BOOLEAN, row.defaultValue);
      break;
  }
}

juce::StringArray Tickora::ElementsOf(const ParamRow& row) const {
  switch (row.elements) {
    case Elements::kListed: {
      juce::StringArray listed;
      for (const char* name : row.listed)
        if (name != nullptr) listed.add(name);
      return listed;
    }
    case Elements::kFontFamilies: return fontNames;
    case Elements::kDateLabels: return DateLabels(firstLabelDay);
    case Elements::kHours: return TwoDigitLabels(24);
    case Elements::kMinutes: return TwoDigitLabels(60);
    case Elements::kNone: break;
  }
  return {};
}

void Tickora::DefineOption(const ParamRow& row, const juce::StringArray& elements) {
  const auto index = static_cast<uint32_t>(paramValues.size());
  const float defaultValue = row.defaultElement != nullptr
                                 ? static_cast<float>(elements.indexOf(row.defaultElement, false))
                                 : row.defaultValue;
  SetOptionParamInfo(index, row.name, static_cast<uint32_t>(elements.size()), defaultValue);
  for (int i = 0; i < elements.size(); ++i)
    SetParamElementInfo(index, static_cast<uint32_t>(i), elements[i].toRawUTF8(),
                        static_cast<float>(i));
  AddUnboundSlot();
}

// Any program that does not build fails the instance: the dispatcher then
// runs DeInitGL, which deletes whatever was made.
FFResult Tickora::InitGL(const FFGLViewportStruct* vp) {
  if (Plugin::InitGL(vp) != FF_SUCCESS) return FF_FAIL;
  if (!digital.Create(viewportWidth, viewportHeight)) return FF_FAIL;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
  RecreateAtlasImage();
  if (!classic.Create(viewportWidth, viewportHeight)) return FF_FAIL;
  ApplyVisibility();
  return FF_SUCCESS;
}

FFResult Tickora::DeInitGL() {
  digital.Release();
  classic.Release();
  atlas.Release();
  return Plugin::DeInitGL();
}

FFResult Tickora::Resize(const FFGLViewportStruct* vp) {
  if (vp == nullptr) return FF_FAIL;
  const uint32_t previousWidth = viewportWidth;
  Plugin::Resize(vp);
  digital.Resize(vp->width, vp->height);
  // The glyphs are rasterised for the width they are shown at: an atlas
  // from a narrower output would be magnified soft, one from a wider output
  // minified without mipmaps. The height plays no part in the atlas, so a
  // host resizing only the height (a window being dragged) allocates nothing.
  if (viewportWidth != previousWidth) {
    RecreateAtlasImage();
    atlasDirty = true;
  }
  classic.Resize(vp->width, vp->height);
  return FF_SUCCESS;
}

void Tickora::RecreateAtlasImage() { atlas.SetWidth(viewportWidth, maxTextureSize); }

void Tickora::UpdateGlyphAtlas() {
  if (!atlasDirty) return;
  // Without an image (a zero-width output) the mark stays, so the first frame
  // at a real size still draws the atlas.
  const int styleFlags = std::clamp(currentStyle, 0, 2);
  const juce::String family = ResolveFontFamily(
      fontNames, currentFont,
      [styleFlags](const juce::String& name) { return DrawsDigits(name, styleFlags); });
  if (atlas.Rebuild(family, styleFlags)) {
    atlasDirty = false;
    ++atlasRebuilds;
  }
}

FFResult Tickora::SetFloatParameter(uint32_t index, float value) {
  const int32_t whole = framework::TruncateToInt32(value);
  if (index == IndexOf(ParamId::kFont) && whole != currentFont) {
    currentFont = whole;
    atlasDirty = true;
  }
  if (index == IndexOf(ParamId::kStyle) && whole != currentStyle) {
    currentStyle = whole;
    atlasDirty = true;
  }
  return Plugin::SetFloatParameter(index, value);
}

// Parameters every type shows never change visibility and raise no event.
void Tickora::ApplyVisibility() {
  for (const ParamRow& row : kParamTable) {
    if (row.shownIn == kInEveryType) continue;
    const bool shown = ShownFor(row, currentType);
    const uint32_t first = IndexOf(row.id);
    for (uint32_t i = first; i < first + SlotsOf(row); ++i) {
      SetParamVisibility(i, shown);
      RaiseParamEvent(i, FF_EVENT_FLAG_VISIBILITY);
    }
  }
}

FFResult Tickora::ProcessOpenGL(ProcessOpenGLStruct*) {
  // Compared as whole numbers: a NaN "Type" reads as Digital once, instead of
  // re-raising every visibility event on every frame.
  const int32_t type = framework::TruncateToInt32(Param(ParamId::kType));
  if (type != currentType) {
    currentType = type;
    ApplyVisibility();
  }
  if (viewportWidth == 0 || viewportHeight == 0) return FF_SUCCESS;
  const bool isClassic = currentType == static_cast<int32_t>(DisplayType::kClassic);
  // The Classic hands draw with the host's blending; the read-out blends by itself.
  using DrawState = ffglex::ScopedDrawState;
  const DrawState drawState(isClassic ? DrawState::Blending::kHost : DrawState::Blending::kOwn,
                            context.compatibility ? DrawState::Profile::kCompatibility
                                                  : DrawState::Profile::kCore);
  if (isClassic) {
    DrawClassic();
    return FF_SUCCESS;
  }
  frameTime = CurrentTimeMillis();
  UpdateGlyphAtlas();
  DrawDigital();
  return FF_SUCCESS;
}

HandsBoxInputs Tickora::HandsAt(const HandTurns& turns) {
  HandsBoxInputs hands;
  hands.width = static_cast<float>(viewportWidth);
  hands.height = static_cast<float>(viewportHeight);
  hands.hourLength = Param(ParamId::kHourLength);
  hands.minuteLength = Param(ParamId::kMinuteLength);
  hands.secondLength = Param(ParamId::kSecondLength);
  hands.handWidth = Param(ParamId::kHandWidth);
  hands.secondWidth = Param(ParamId::kSecondWidth);
  hands.cornerRound = Param(ParamId::kCornerRound);
  hands.turns[0] = turns.hour;
  hands.turns[1] = turns.minute;
  hands.turns[2] = turns.second;
  return hands;
}

void Tickora::DrawClassic() {
  const HandTurns turns =
      HandTurnsOf(ClassicFields(CurrentTimeMillis()), Param(ParamId::kSmoothTime) > 0.5f);
  ClassicFrame frame;
  frame.width = viewportWidth;
  frame.height = viewportHeight;
  frame.hands = HandsAt(turns);
  frame.alpha = Colour(frame.colour);
  frame.clipToHandRects = renderOptions.clipHandsToTheirRects;
  classic.Draw(frame, quad);
}

// Saturation and brightness reach 2, which puts components outside 0..1
// (the default colour is (2, -2, -2)). An 8-bit output clamps what it is
// given, a float output would store it: clamped here, every output gets what
// an 8-bit one shows, NaN included (which an 8-bit output stores as 0).
float Tickora::Colour(float (&rgb)[3]) {
  const RGB colour = ColourOfGroup(IndexOf(ParamId::kColour));
  const float components[3] = {colour.red, colour.green, colour.blue};
  for (int i = 0; i < 3; ++i)
    rgb[i] = std::isnan(components[i]) ? 0.0f : std::clamp(components[i], 0.0f, 1.0f);
  return AlphaOfGroup(IndexOf(ParamId::kColour));
}

juce::String Tickora::DisplayText(DisplayType type, int64_t now, const LocalDate& labelDay) {
  const bool showSeconds = Param(ParamId::kShowSeconds) > 0.5f;
  const bool showMillis = Param(ParamId::kShowMillisecs) > 0.5f;
  const ClockFields fields =
      type == DisplayType::kCountdown
          ? CountdownFields(now, labelDay, Param(ParamId::kDate), Param(ParamId::kHour),
                            Param(ParamId::kMinute), SmallestUnitShown(showSeconds, showMillis))
          : DigitalFields(now);
  return BuildDisplayString(fields, showSeconds, showMillis);
}

juce::String Tickora::DisplayText() {
  return DisplayText(static_cast<DisplayType>(currentType), frameTime, firstLabelDay);
}

void Tickora::DrawDigital() {
  DigitalFrame frame;
  frame.width = viewportWidth;
  frame.height = viewportHeight;
  frame.text = DisplayText();
  frame.style.colonWidth = Param(ParamId::kColonWidth);
  frame.style.colonLeft = Param(ParamId::kColonLeft);
  frame.style.colonHeight = Param(ParamId::kColonHeight);
  frame.style.animation = Param(ParamId::kColonAnimation);
  frame.wallMillis = frameTime;
  frame.alpha = Colour(frame.colour);
  frame.scale = Param(ParamId::kScale);
  frame.spacing = Param(ParamId::kSpacing);
  frame.aspect = Param(ParamId::kAspect);
  frame.atlasTexture = atlas.Texture();
  frame.atlasFill = atlas.UploadedFill();
  frame.atlas = &atlas;
  frame.clipToGlyphBoxes = renderOptions.clipPassesToGlyphBoxes;
  digital.Draw(frame, quad);
}

}  // namespace tickora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/Tickora.h"

#include "ffglex/ScopedDrawState.h"
#include "framework/FloatToInt.h"
#include "tickora/Countdown.h"
#include "tickora/CountdownText.h"
#include "tickora/DateLabels.h"
#include "tickora/DurationText.h"
#include "tickora/DigitalReadout.h"
#include "tickora/FontFamilies.h"
#include "tickora/GlyphBox.h"
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
  durationValid = ParseDuration(TextOf(IndexOf(ParamId::kDuration)), durationMillis);
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
      if (row.listed[0] != nullptr) {
        // Named members are full strength: saturation and brightness 1.
        const ColourMembers members{{row.listed[0], row.listed[1], row.listed[2], row.listed[3]},
                                    {row.defaultValue, 1.0f, 1.0f, 1.0f}};
        AddColourParam(members, row.uniforms[0], row.uniforms[1], row.uniforms[2]);
      } else {
        AddColourParam(row.name, row.uniforms[0], row.uniforms[1], row.uniforms[2],
                       row.defaultValue);
      }
      break;
    case ParamKind::kText:
      AddTextParam(row.name, row.listed[0] != nullptr ? row.listed[0] : "");
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
  if (!lines.Create()) return FF_FAIL;
  ApplyVisibility();
  return FF_SUCCESS;
}

FFResult Tickora::DeInitGL() {
  digital.Release();
  classic.Release();
  atlas.Release();
  lines.Release();
  labelLine.Release();
  endLine.Release();
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
  lineFamily = family;
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
  // What the countdown counts to, or what it does at zero, changed: it counts
  // afresh.
  const bool restarts = index == IndexOf(ParamId::kDate) || index == IndexOf(ParamId::kHour) ||
                        index == IndexOf(ParamId::kMinute) || index == IndexOf(ParamId::kAtZero);
  if (restarts && !(GetFloatParameter(index) == value)) RestartCountdown();
  // "Run" and "Reset" act at the moment the host sets them, not at the next
  // frame; "Reset" on its change to on (a momentary button sends on, off).
  const bool wasOn = GetFloatParameter(index) > 0.5f, isOn = value > 0.5f;
  if (index == IndexOf(ParamId::kRun) && wasOn != isOn) runClock.Run(isOn, MonotonicMicros());
  if (index == IndexOf(ParamId::kReset) && !wasOn && isOn) {
    runClock.Reset(MonotonicMicros());
    timerProgress.Restart();
  }
  return Plugin::SetFloatParameter(index, value);
}

// Hosts may send a text again unchanged (some send every parameter every
// frame): only a new text restarts the countdown or names a new "next"
// occurrence of a time.
FFResult Tickora::SetTextParameter(uint32_t index, const char* value) {
  const std::string previous = TextOf(index);
  const FFResult result = Plugin::SetTextParameter(index, value);
  if (result != FF_SUCCESS || TextOf(index) == previous) return result;
  if (index == IndexOf(ParamId::kDuration)) {
    durationValid = ParseDuration(TextOf(index), durationMillis);
    timerProgress.Restart();
    return result;
  }
  if (index == IndexOf(ParamId::kStartAt)) {
    startAt = ParseTargetText(TextOf(index), CurrentTimeMillis());
    return result;
  }
  if (index != IndexOf(ParamId::kTarget)) return result;
  const TargetText parsed = ParseTargetText(TextOf(index), CurrentTimeMillis());
  const bool typedChanged = (parsed.state == TargetText::State::kEmpty) !=
                            (typedTarget.state == TargetText::State::kEmpty);
  typedTarget = parsed;
  RestartCountdown();
  if (typedChanged) ApplyVisibility();
  return result;
}

void Tickora::RestartCountdown() {
  progress.Restart();
  resolvedSecond = INT64_MIN;
}

// Any text in "Target" decides the countdown (a bad one shows dashes): the
// list-based target plays no part then and is hidden.
bool Tickora::Shown(const ParamRow& row) const {
  const bool byList = row.id == ParamId::kDate || row.id == ParamId::kHour ||
                      row.id == ParamId::kMinute;
  if (byList && typedTarget.state != TargetText::State::kEmpty) return false;
  return ShownFor(row, currentType);
}

// Parameters every type shows never change visibility and raise no event.
void Tickora::ApplyVisibility() {
  for (const ParamRow& row : kParamTable) {
    if (row.shownIn == kInEveryType) continue;
    const bool shown = Shown(row);
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
  const int64_t now = CurrentTimeMillis();
  FollowZoneChanges(now);
  const DisplayTypeDef* def = DisplayTypeOf(currentType);
  const bool isClassic = def != nullptr && def->renderer == Renderer::kHands;
  // The Classic hands draw with the host's blending; the read-out blends by itself.
  using DrawState = ffglex::ScopedDrawState;
  const DrawState drawState(isClassic ? DrawState::Blending::kHost : DrawState::Blending::kOwn,
                            context.compatibility ? DrawState::Profile::kCompatibility
                                                  : DrawState::Profile::kCore);
  if (isClassic) {
    DrawClassic(now);
    return FF_SUCCESS;
  }
  frameTime = now;
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

void Tickora::DrawClassic(int64_t now) {
  const HandTurns turns = HandTurnsOf(ClassicFields(now), Param(ParamId::kSmoothTime) > 0.5f);
  ClassicFrame frame;
  frame.width = viewportWidth;
  frame.height = viewportHeight;
  frame.hands = HandsAt(turns);
  frame.alpha = Colour(ParamId::kColour, frame.colour);
  frame.clipToHandRects = renderOptions.clipHandsToTheirRects;
  classic.Draw(frame, quad);
}

// Saturation and brightness reach 2, which puts components outside 0..1
// (the default colour is (2, -2, -2)). An 8-bit output clamps what it is
// given, a float output would store it: clamped here, every output gets what
// an 8-bit one shows, NaN included (which an 8-bit output stores as 0).
float Tickora::Colour(ParamId group, float (&rgb)[3]) {
  const RGB colour = ColourOfGroup(IndexOf(group));
  const float components[3] = {colour.red, colour.green, colour.blue};
  for (int i = 0; i < 3; ++i)
    rgb[i] = std::isnan(components[i]) ? 0.0f : std::clamp(components[i], 0.0f, 1.0f);
  return AlphaOfGroup(IndexOf(group));
}

ReadoutFormat Tickora::Format() {
  return FormatOf(Param(ParamId::kShowSeconds) > 0.5f, Param(ParamId::kShowMillisecs) > 0.5f,
                  Param(ParamId::kLongTimes) == 1.0f);
}

bool Tickora::TargetAt(const LocalDate& labelDay, int64_t& target) {
  if (typedTarget.state == TargetText::State::kValid) return InstantOf(typedTarget.reading, target);
  return CountdownTarget(labelDay, Param(ParamId::kDate), Param(ParamId::kHour),
                         Param(ParamId::kMinute), target);
}

// Frames go through the instance's own progress (a finished countdown stays
// finished) and look the target up again once a second, so that a change of
// the computer's zone moves a local target with it; a query with a `fresh`
// progress looks it up at once.
CountdownView Tickora::CountdownAt(int64_t now, const LocalDate& labelDay,
                                   CountdownProgress& counting) {
  if (typedTarget.state == TargetText::State::kInvalid) {
    CountdownView dashes;
    dashes.show = CountdownView::Show::kDashes;
    return dashes;
  }
  int64_t target = 0;
  bool known = false;
  if (&counting != &progress) {
    known = TargetAt(labelDay, target);
  } else {
    if (now / 1000 != resolvedSecond) {
      resolvedSecond = now / 1000;
      haveTarget = TargetAt(labelDay, resolvedTarget);
    }
    known = haveTarget;
    target = resolvedTarget;
  }
  if (!known) return CountdownView{};
  return counting.At(now, target, AtZeroOf(Param(ParamId::kAtZero)),
                     WarnMillisOf(Param(ParamId::kWarnAt)));
}

// "Start at" starts the clock by itself as if "Run" had gone on at exactly
// that moment, however late the frame that notices comes. "Run" then reads
// on, so that the host's next "off" pauses it.
void Tickora::StartWhenDue(int64_t now) {
  if (startAt.state != TargetText::State::kValid) return;
  int64_t moment = 0;
  if (!InstantOf(startAt.reading, moment) || now < moment) return;
  // Used up once its moment has come, whether or not it had to start anything.
  startAt.state = TargetText::State::kEmpty;
  if (runClock.Running()) return;
  runClock.RunSince(MonotonicMicros() - (now - moment) * 1000);
  Plugin::SetFloatParameter(IndexOf(ParamId::kRun), 1.0f);
}

CountdownView Tickora::CounterAt(Counts counts, int64_t now, const LocalDate& labelDay,
                                 CountdownProgress& counting) {
  CountdownView view;
  switch (counts) {
    case Counts::kToTarget:
      return CountdownAt(now, labelDay, counting);
    case Counts::kDuration:
      if (!durationValid) {
        view.show = CountdownView::Show::kDashes;
        return view;
      }
      // The duration as a target on the running time, which never steps back.
      // Paused after its end, a flashing Timer keeps flashing with the wall
      // clock rather than freezing in its dark half.
      return counting.At(runClock.ElapsedMicros(MonotonicMicros()) / 1000, durationMillis,
                         AtZeroOf(Param(ParamId::kAtZero)), WarnMillisOf(Param(ParamId::kWarnAt)),
                         runClock.Running() ? -1 : now);
    case Counts::kElapsed:
      view.show = CountdownView::Show::kElapsed;
      view.millis = runClock.ElapsedMicros(MonotonicMicros()) / 1000;
      return view;
    case Counts::kTimeOfDay:
      break;
  }
  return view;
}

juce::String Tickora::DisplayText(DisplayType type, int64_t now, const LocalDate& labelDay) {
  const ReadoutFormat format = Format();
  const DisplayTypeDef* def = DisplayTypeOf(static_cast<int32_t>(type));
  if (def == nullptr || def->counts == Counts::kTimeOfDay)
    return BuildDisplayString(DigitalFields(now), format.showSeconds, format.showMillis);
  CountdownProgress fresh;
  const CountdownView view = CounterAt(def->counts, now, labelDay, fresh);
  if (view.show == CountdownView::Show::kEndText)
    return SanitisedText(TextOf(IndexOf(ParamId::kEndText)));
  return CountdownText(view, format);
}

juce::String Tickora::DisplayText() {
  const ReadoutFormat format = Format();
  warning = false;
  endTextShown = false;
  const DisplayTypeDef* def = DisplayTypeOf(currentType);
  if (def == nullptr || def->counts == Counts::kTimeOfDay)
    return BuildDisplayString(DigitalFields(frameTime), format.showSeconds, format.showMillis);
  StartWhenDue(frameTime);
  CountdownProgress& counting = def->counts == Counts::kToTarget ? progress : timerProgress;
  const CountdownView view = CounterAt(def->counts, frameTime, firstLabelDay, counting);
  warning = view.warning;
  if (view.show == CountdownView::Show::kEndText) {
    endTextShown = true;
    return SanitisedText(TextOf(IndexOf(ParamId::kEndText)));
  }
  return CountdownText(view, format);
}

void Tickora::DrawDigital() {
  DigitalFrame frame;
  frame.width = viewportWidth;
  frame.height = viewportHeight;
  frame.text = DisplayText();
  const bool endText = endTextShown;
  const bool labelled = !TextOf(IndexOf(ParamId::kLabel)).empty();
  if (frame.text.isEmpty() && !labelled) return;
  frame.style.colonWidth = Param(ParamId::kColonWidth);
  frame.style.colonLeft = Param(ParamId::kColonLeft);
  frame.style.colonHeight = Param(ParamId::kColonHeight);
  frame.style.animation = Param(ParamId::kColonAnimation);
  frame.wallMillis = frameTime;
  frame.alpha = Colour(warning ? ParamId::kWarnColour : ParamId::kColour, frame.colour);
  frame.scale = Param(ParamId::kScale);
  frame.spacing = Param(ParamId::kSpacing);
  frame.aspect = Param(ParamId::kAspect);
  frame.atlasTexture = atlas.Texture();
  frame.atlasFill = atlas.UploadedFill();
  frame.atlas = &atlas;
  frame.clipToGlyphBoxes = renderOptions.clipPassesToGlyphBoxes;
  if (!endText && frame.text.isNotEmpty()) digital.Draw(frame, quad);
  // Only a label or an end text costs a pass: the default frame is the
  // read-out's passes alone.
  if (labelled || endText) DrawLines(frame, endText);
}

// The lines take their size from the read-out's glyph box: the end text the
// height of the read-out's font line in its place, the label 40 % of that,
// standing on the box's top (whose empty top margin parts the two). With the
// read-out hidden or replaced, the box of the format's zeros places them,
// so they do not jump when the digits come and go.
void Tickora::DrawLines(const DigitalFrame& frame, bool endText) {
  const ReadoutFormat format = Format();
  const int laidOut = endText || frame.text.isEmpty()
                          ? CountdownText(CountdownView{}, format).length()
                          : frame.text.length();
  GlyphBoxInputs box;
  box.width = static_cast<float>(frame.width);
  box.height = static_cast<float>(frame.height);
  box.scale = frame.scale;
  box.spacing = frame.spacing;
  box.aspect = frame.aspect;
  box.pitch = GlyphPitch(laidOut);
  PixelRect glyphBox;
  if (!GlyphBoxBounds(box, 0, glyphBox)) return;
  const int outputWidth = static_cast<int>(frame.width);
  const int outputHeight = static_cast<int>(frame.height);
  const int style = std::clamp(currentStyle, 0, 2);
  const double fontLine = 0.9 * glyphBox.height;
  const auto place = [&](const TextLine& line, int bottom) {
    PixelRect rect;
    rect.width = line.Width();
    rect.height = line.Height();
    rect.x = (outputWidth - rect.width) / 2;
    rect.y = std::clamp(bottom, 0, std::max(0, outputHeight - rect.height));
    return rect;
  };
  if (endText &&
      endLine.Update(TextOf(IndexOf(ParamId::kEndText)), lineFamily, style, outputWidth,
                     static_cast<int>(std::lround(fontLine)))) {
    const PixelRect rect = place(endLine, (outputHeight - endLine.Height()) / 2);
    lines.Draw(endLine, rect, frame.colour, frame.alpha, frame.width, frame.height, quad);
  }
  if (labelLine.Update(TextOf(IndexOf(ParamId::kLabel)), lineFamily, style, outputWidth,
                       static_cast<int>(std::lround(0.4 * fontLine)))) {
    const PixelRect rect = place(labelLine, glyphBox.y + glyphBox.height);
    lines.Draw(labelLine, rect, frame.colour, frame.alpha, frame.width, frame.height, quad);
  }
}

}  // namespace tickora

// SPDX-License-Identifier: GPL-3.0-or-later
// The clock effect: Digital, Classic and Countdown display types over a
// transparent background. It registers the parameters of
// tickora/ClockParameters.h, shows the ones the chosen type uses, keeps the
// glyph atlas in step with "Font" and "Style" and hands each frame to the
// renderer of its type. It does not draw by itself (tickora/DigitalRenderer.h,
// tickora/ClassicRenderer.h) nor compute times (tickora/TimeModel.h).
#pragma once

#include "framework/Plugin.h"
#include "tickora/ClassicRenderer.h"
#include "tickora/ClockParameters.h"
#include "tickora/Countdown.h"
#include "tickora/CountdownText.h"
#include "tickora/DigitalRenderer.h"
#include "tickora/GlyphAtlas.h"
#include "tickora/LocalTime.h"
#include "tickora/RunClock.h"
#include "tickora/TargetText.h"
#include "tickora/TextLine.h"
#include "tickora/TimeModel.h"

#include <juce_core/juce_core.h>

namespace tickora {

// Switches that change how a frame is drawn but not what it shows; tests
// compare the pictures both ways, the bench measures them.
struct RenderOptions {
  // Limits each read-out pass to its glyph's box with the scissor test.
  bool clipPassesToGlyphBoxes = true;
  // Shades only the rectangles the Classic hands can reach with the hands
  // program, the rest with the empty-face program.
  bool clipHandsToTheirRects = true;
};

class Tickora : public framework::Plugin {
 public:
  Tickora();
  ~Tickora() override;

  FFResult InitGL(const FFGLViewportStruct* vp) override;
  FFResult DeInitGL() override;
  FFResult SetFloatParameter(uint32_t index, float value) override;
  FFResult SetTextParameter(uint32_t index, const char* value) override;
  FFResult ProcessOpenGL(ProcessOpenGLStruct* pGL) override;
  FFResult Resize(const FFGLViewportStruct* vp) override;

  void SetRenderOptions(const RenderOptions& options) { renderOptions = options; }

  // The read-out text of `type` at `now`, with "Date" element 0 naming
  // `firstLabelDay`; and the text the latest frame showed.
  juce::String DisplayText(DisplayType type, int64_t now, const LocalDate& firstLabelDay);
  juce::String DisplayText();
  // The wall-clock time, in milliseconds, of the latest read-out frame, and
  // whether it showed the warning colour.
  int64_t FrameTime() const { return frameTime; }
  bool Warning() const { return warning; }

  // Rebuilds the glyph atlas when "Font" or "Style" changed since the last
  // build, or when MarkAtlasStale asked for it; frames call it too.
  void UpdateGlyphAtlas();
  void MarkAtlasStale() { atlasDirty = true; }
  bool AtlasStale() const { return atlasDirty; }
  int32_t AtlasRebuilds() const { return atlasRebuilds; }

  // "Font" elements, and the family the atlas is built from (-1 before any).
  const juce::StringArray& FontNames() const { return fontNames; }
  int32_t CurrentFont() const { return currentFont; }

  // What the Classic frame draws the hands from, at `turns`.
  HandsBoxInputs HandsAt(const HandTurns& turns);

  GLuint HandsProgram() const { return classic.HandsProgram(); }
  GLuint DigitalProgram() const { return digital.Program(); }

 private:
  float Param(ParamId id) { return GetFloatParameter(IndexOf(id)); }
  void Register(const ParamRow& row);
  void DefineOption(const ParamRow& row, const juce::StringArray& elements);
  juce::StringArray ElementsOf(const ParamRow& row) const;
  void ApplyVisibility();
  void RecreateAtlasImage();
  // The colour group's red, green and blue into `rgb`; returns its alpha.
  float Colour(ParamId group, float (&rgb)[3]);
  void DrawClassic(int64_t now);
  bool Shown(const ParamRow& row) const;
  void RestartCountdown();
  ReadoutFormat Format();
  bool TargetAt(const LocalDate& labelDay, int64_t& target);
  CountdownView CountdownAt(int64_t now, const LocalDate& labelDay, CountdownProgress& counting);
  CountdownView CounterAt(Counts counts, int64_t now, const LocalDate& labelDay,
                          CountdownProgress& counting);
  void StartWhenDue(int64_t now);
  void DrawDigital();
  void DrawLines(const DigitalFrame& frame, bool endText);

  ClassicRenderer classic;
  DigitalRenderer digital;
  RenderOptions renderOptions;
  int64_t frameTime = 0;
  // The day "Date" element 0 names; element i is i calendar days later.
  LocalDate firstLabelDay;
  juce::StringArray fontNames;
  int32_t currentFont = -1;
  int32_t currentStyle = 0;
  int32_t currentType = static_cast<int32_t>(DisplayType::kDigital);
  // Set from the start, so that the first Digital or Countdown frame always
  // has an atlas, even when no "Font" default names a family.
  bool atlasDirty = true;
  GlyphAtlas atlas;
  int32_t atlasRebuilds = 0;
  // The countdown: "Target" as last parsed, whether the latest frame is in
  // the warning colour, the target instant looked up once a second.
  TargetText typedTarget;
  CountdownProgress progress;
  bool warning = false;
  bool haveTarget = false;
  int64_t resolvedTarget = 0;
  int64_t resolvedSecond = INT64_MIN;
  // Timer and Stopwatch: the running time, "Duration" as last parsed, the
  // Timer's own progress to zero, and a "Start at" not yet reached.
  RunClock runClock;
  bool durationValid = false;
  int64_t durationMillis = 0;
  CountdownProgress timerProgress;
  TargetText startAt;
  int maxTextureSize = 0;
  // "Label" and "End text": drawn whole in the family the atlas was last
  // built from; `endTextShown` when the latest frame's view is "End text".
  TextLineRenderer lines;
  TextLine labelLine;
  TextLine endLine;
  juce::String lineFamily;
  bool endTextShown = false;
};

}  // namespace tickora

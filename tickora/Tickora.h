// The clock effect: Digital, Classic and Countdown display types over a
// transparent background.
#pragma once

#include "framework/Plugin.h"
#include "tickora/GlyphAtlas.h"
#include "tickora/HandsBox.h"
#include "tickora/LocalTime.h"
#include "tickora/TimeModel.h"

#include <juce_core/juce_core.h>

#include <vector>

class Tickora : public framework::Plugin {
 public:
  Tickora();
  ~Tickora() override;

  FFResult InitGL(const FFGLViewportStruct* vp) override;
  FFResult DeInitGL() override;
  FFResult SetFloatParameter(uint32_t index, float value) override;
  FFResult ProcessOpenGL(ProcessOpenGLStruct* pGL) override;
  FFResult Resize(const FFGLViewportStruct* vp) override;

  void ApplyVisibility();
  void RecreateAtlasImage();
  void UpdateGlyphAtlas();
  FFResult DrawClassic();
  FFResult DrawDigital();
  juce::String BuildDisplayString();
  tickora::ClockFields CurrentFields(bool showSeconds, bool showMillis);
  tickora::HandsBoxInputs HandsBox(const tickora::HandTurns& turns);

  ffglex::ShaderProgram handsShader;
  ffglex::ShaderProgram emptyFaceShader;
  int64_t frameTime = 0;
  // The day "Date" element 0 names; element i is i calendar days later.
  tickora::LocalDate firstLabelDay;

  int32_t typeIndex = -1, fontIndex = -1, styleIndex = -1, scaleIndex = -1, spacingIndex = -1,
          aspectIndex = -1, colonHeightIndex = -1,
          colonLeftIndex = -1, colonWidthIndex = -1, showSecondsIndex = -1,
          showMillisecsIndex = -1, colonAnimationIndex = -1, dateIndex = -1, hourIndex = -1,
          minuteIndex = -1, smoothTimeIndex = -1, colourIndex = -1, hourLengthIndex = -1;

  juce::StringArray fontNames;
  int32_t currentFont = -1;
  int32_t currentStyle = 0;
  // Set from the start, so that the first Digital or Countdown frame always
  // has an atlas, even when no "Font" default names a family.
  bool atlasDirty = true;
  tickora::GlyphAtlas atlas;
  int32_t atlasRebuilds = 0;
  int maxTextureSize = 0;
  // Limits each read-out pass to its glyph's box with the scissor test. The
  // picture is the same either way; tests compare the two.
  bool clipPassesToGlyphBoxes = true;
  // Likewise shades only the rectangles the Classic hands can reach.
  bool clipHandsToTheirRects = true;

  std::vector<uint32_t> digitalParams, classicParams, countdownParams;
  int32_t currentType = 0;

 private:
  float Param(int32_t index) { return GetFloatParameter(static_cast<uint32_t>(index)); }
  uint32_t DefineOption(const char* name, const juce::StringArray& elements, float defaultValue);
};

#include "tickora/Tickora.h"

#include "ffglex/ScopedDrawState.h"
#include "framework/FloatToInt.h"
#include "tickora/Countdown.h"
#include "tickora/DateLabels.h"
#include "tickora/DigitalReadout.h"
#include "tickora/DigitalShaders.h"
#include "tickora/FontFamilies.h"
#include "tickora/GlyphBox.h"
#include "tickora/HandsBox.h"
#include "tickora/HandsShaders.h"
#include "tickora/PassScissor.h"
#include "tickora/RectSplit.h"
#include "tickora/TimeSource.h"

#include <algorithm>
#include <optional>

using namespace ffgl::gl;

using namespace tickora;

namespace {

juce::StringArray TwoDigitLabels(int count) {
  juce::StringArray labels;
  for (int i = 0; i < count; ++i) labels.add(PadNumber(i, 2));
  return labels;
}

bool Contains(const std::vector<uint32_t>& list, uint32_t index) {
  return std::find(list.begin(), list.end(), index) != list.end();
}

}  // namespace

uint32_t Tickora::DefineOption(const char* name, const juce::StringArray& elements,
                               float defaultValue) {
  const auto index = static_cast<uint32_t>(paramValues.size());
  SetOptionParamInfo(index, name, static_cast<uint32_t>(elements.size()), defaultValue);
  for (int i = 0; i < elements.size(); ++i)
    SetParamElementInfo(index, static_cast<uint32_t>(i), elements[i].toRawUTF8(),
                        static_cast<float>(i));
  AddUnboundSlot();
  return index;
}

Tickora::Tickora() : Plugin(FF_SOURCE) {
  fontNames = InstalledFontFamilies();

  typeIndex = static_cast<int32_t>(DefineOption("Type", {"Digital", "Classic", "Countdown"}, 0.0f));
  colourIndex = static_cast<int32_t>(paramValues.size());
  AddColourParam("Color", "cR", "cG", "cB", 1.0f);
  fontIndex = static_cast<int32_t>(
      DefineOption("Font", fontNames, static_cast<float>(fontNames.indexOf("Arial", false))));
  styleIndex = static_cast<int32_t>(DefineOption("Style", {"Regular", "Bold", "Italic"}, 0.0f));
  scaleIndex = static_cast<int32_t>(AddParam("Scale", "scale", FF_TYPE_STANDARD, 0.91f));
  spacingIndex = static_cast<int32_t>(AddParam("Spacing", "spacing", FF_TYPE_STANDARD, 0.63f));
  aspectIndex = static_cast<int32_t>(AddParam("Aspect", "h", FF_TYPE_STANDARD, 0.5f));
  colonHeightIndex = static_cast<int32_t>(AddParam("Colon height", "dph", FF_TYPE_STANDARD, 0.05f));
  colonLeftIndex = static_cast<int32_t>(AddParam("Colon Left", "dpl", FF_TYPE_STANDARD, 0.55f));
  colonWidthIndex = static_cast<int32_t>(AddParam("Colon width", "dpw", FF_TYPE_STANDARD, 0.46f));
  showSecondsIndex = static_cast<int32_t>(AddParam("Show Seconds", "", FF_TYPE_BOOLEAN, 1.0f));
  showMillisecsIndex = static_cast<int32_t>(AddParam("Show Millisecs", "", FF_TYPE_BOOLEAN, 0.0f));
  colonAnimationIndex = static_cast<int32_t>(
      DefineOption("Colon animation", {"Show", "Blink", "Fade", "Hide"}, 0.0f));

  frameTime = CurrentTimeMillis();
  firstLabelDay = FirstLabelDayOfProcess(frameTime);
  dateIndex = static_cast<int32_t>(DefineOption("Date", DateLabels(firstLabelDay), 0.0f));
  hourIndex = static_cast<int32_t>(DefineOption("Hour", TwoDigitLabels(24), 0.0f));
  minuteIndex = static_cast<int32_t>(DefineOption("Minute", TwoDigitLabels(60), 0.0f));

  hourLengthIndex = static_cast<int32_t>(AddParam("Hour length", "lengt", FF_TYPE_STANDARD, 0.4f));
  AddParam("Minute length", "lengt2", FF_TYPE_STANDARD, 0.6f);
  AddParam("Sec length", "lengt3", FF_TYPE_STANDARD, 0.55f);
  AddParam("Width", "width", FF_TYPE_STANDARD, 0.3f);
  AddParam("Sec Width", "w3", FF_TYPE_STANDARD, 0.4f);
  AddParam("Round corner", "cornerRound", FF_TYPE_STANDARD, 0.3f);
  smoothTimeIndex = static_cast<int32_t>(AddParam("Smooth time", "", FF_TYPE_BOOLEAN, 1.0f));

  for (int32_t i = 0; i <= colonAnimationIndex; ++i) digitalParams.push_back(static_cast<uint32_t>(i));
  for (int32_t i = 0; i <= minuteIndex; ++i) countdownParams.push_back(static_cast<uint32_t>(i));
  for (int32_t i = 0; i < fontIndex; ++i) classicParams.push_back(static_cast<uint32_t>(i));
  for (int32_t i = minuteIndex + 1; i <= smoothTimeIndex; ++i)
    classicParams.push_back(static_cast<uint32_t>(i));

  SetShaderSources(kDigitalVertexShader, kDigitalFragmentShader);
}

// GL objects are released in DeInitGL, with the host's context current; the
// destructor may run without one (the prototype, a failed set-up).
Tickora::~Tickora() = default;

FFResult Tickora::InitGL(const FFGLViewportStruct* vp) {
  Plugin::InitGL(vp);
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
  RecreateAtlasImage();
  handsShader.Compile(kHandsVertexShader, kHandsFragmentShader);
  emptyFaceShader.Compile(kEmptyFaceVertexShader, kEmptyFaceFragmentShader);
  glUseProgram(handsShader.Id());
  handsShader.SetVec2("resolution", static_cast<float>(viewportWidth),
                      static_cast<float>(viewportHeight));
  glUseProgram(0);
  ApplyVisibility();
  return FF_SUCCESS;
}

FFResult Tickora::DeInitGL() {
  handsShader.Release();
  emptyFaceShader.Release();
  atlas.Release();
  return Plugin::DeInitGL();
}

FFResult Tickora::Resize(const FFGLViewportStruct* vp) {
  if (vp == nullptr) return FF_FAIL;
  const uint32_t previousWidth = viewportWidth;
  Plugin::Resize(vp);
  RecreateAtlasImage();
  // The glyphs are rasterised for the width they are shown at: an atlas
  // from a narrower output would be magnified soft, one from a wider output
  // minified without mipmaps. The height plays no part in the atlas.
  if (viewportWidth != previousWidth) atlasDirty = true;
  if (handsShader.Id() != 0) {
    glUseProgram(handsShader.Id());
    handsShader.SetVec2("resolution", static_cast<float>(vp->width), static_cast<float>(vp->height));
    glUseProgram(0);
  }
  return FF_SUCCESS;
}

void Tickora::RecreateAtlasImage() { atlas.RecreateImage(viewportWidth, maxTextureSize); }

void Tickora::UpdateGlyphAtlas() {
  if (!atlasDirty) return;
  // Without an image (a zero-width output) the mark stays, so the first frame
  // at a real size still draws the atlas.
  const int styleFlags = std::clamp(currentStyle, 0, 2);
  if (atlas.Rebuild(ResolveFontFamily(fontNames, currentFont), styleFlags)) {
    atlasDirty = false;
    ++atlasRebuilds;
  }
}

FFResult Tickora::SetFloatParameter(uint32_t index, float value) {
  const int32_t whole = TruncateToInt32(value);
  if (static_cast<int32_t>(index) == fontIndex && whole != currentFont) {
    currentFont = whole;
    atlasDirty = true;
  }
  if (static_cast<int32_t>(index) == styleIndex && whole != currentStyle) {
    currentStyle = whole;
    atlasDirty = true;
  }
  return Plugin::SetFloatParameter(index, value);
}

void Tickora::ApplyVisibility() {
  const std::vector<uint32_t>* shown = nullptr;
  if (currentType == 0) shown = &digitalParams;
  if (currentType == 1) shown = &classicParams;
  if (currentType == 2) shown = &countdownParams;
  for (uint32_t i = static_cast<uint32_t>(fontIndex); i < GetNumParams(); ++i) {
    SetParamVisibility(i, shown != nullptr && Contains(*shown, i));
    RaiseParamEvent(i, FF_EVENT_FLAG_VISIBILITY);
  }
}

FFResult Tickora::ProcessOpenGL(ProcessOpenGLStruct*) {
  // Compared as whole numbers: a NaN "Type" reads as Digital once, instead of
  // re-raising every visibility event on every frame.
  const int32_t type = TruncateToInt32(Param(typeIndex));
  if (type != currentType) {
    currentType = type;
    ApplyVisibility();
  }
  if (viewportWidth == 0 || viewportHeight == 0) return FF_SUCCESS;
  // The Classic hands draw with the host's blending; the read-out blends by itself.
  const ffglex::ScopedDrawState drawState(currentType == 1 ? ffglex::ScopedDrawState::Blending::kHost
                                                           : ffglex::ScopedDrawState::Blending::kOwn);
  if (currentType == 1) return DrawClassic();
  frameTime = CurrentTimeMillis();
  UpdateGlyphAtlas();
  return DrawDigital();
}

FFResult Tickora::DrawClassic() {
  const HandTurns turns =
      HandTurnsOf(ClassicFields(CurrentTimeMillis()), Param(smoothTimeIndex) > 0.5f);
  glUseProgram(handsShader.Id());
  SendParamsByName(handsShader);
  handsShader.SetFloat("colourAlpha", AlphaOfGroup(static_cast<uint32_t>(colourIndex)));
  handsShader.SetFloat("angle", turns.hour);
  handsShader.SetFloat("angle2", turns.minute);
  handsShader.SetFloat("angle3", turns.second);

  // The hands program measures three distances per pixel, yet each hand can
  // only reach a rectangle around it: the rest of the output gets the colour
  // the program would write there, from a program that only writes it. Every
  // pixel is still written once, by one program, so the picture and its
  // blending with the host's target stay as they were.
  PixelRect handRects[3];
  if (!clipHandsToTheirRects || emptyFaceShader.Id() == 0 ||
      !HandsBoxBounds(HandsBox(turns), 2, handRects)) {
    quad.Draw();
    glUseProgram(0);
    return FF_SUCCESS;
  }
  PassScissor scissor(viewportWidth, viewportHeight);
  for (PixelRect& rect : handRects) rect = scissor.InViewport(rect);
  RectSplit split;
  SplitByRects(handRects, 3, scissor.ViewportWidth(), scissor.ViewportHeight(), split);
  for (int i = 0; i < split.insideCount; ++i)
    if (scissor.Limit(&split.inside[static_cast<size_t>(i)])) quad.Draw();

  glUseProgram(emptyFaceShader.Id());
  const RGB colour = ColourOfGroup(static_cast<uint32_t>(colourIndex));
  emptyFaceShader.SetFloat("cR", colour.red);
  emptyFaceShader.SetFloat("cG", colour.green);
  emptyFaceShader.SetFloat("cB", colour.blue);
  for (int i = 0; i < split.outsideCount; ++i)
    if (scissor.Limit(&split.outside[static_cast<size_t>(i)])) quad.Draw();
  scissor.Restore();
  glUseProgram(0);
  return FF_SUCCESS;
}

HandsBoxInputs Tickora::HandsBox(const HandTurns& turns) {
  HandsBoxInputs in;
  in.width = static_cast<float>(viewportWidth);
  in.height = static_cast<float>(viewportHeight);
  in.hourLength = Param(hourLengthIndex);
  in.minuteLength = Param(hourLengthIndex + 1);
  in.secondLength = Param(hourLengthIndex + 2);
  in.handWidth = Param(hourLengthIndex + 3);
  in.secondWidth = Param(hourLengthIndex + 4);
  in.cornerRound = Param(hourLengthIndex + 5);
  in.turns[0] = turns.hour;
  in.turns[1] = turns.minute;
  in.turns[2] = turns.second;
  return in;
}

ClockFields Tickora::CurrentFields(bool showSeconds, bool showMillis) {
  if (currentType == 2)
    return CountdownFields(frameTime, firstLabelDay, Param(dateIndex), Param(hourIndex),
                           Param(minuteIndex), SmallestUnitShown(showSeconds, showMillis));
  return DigitalFields(frameTime);
}

juce::String Tickora::BuildDisplayString() {
  const bool showSeconds = Param(showSecondsIndex) > 0.5f;
  const bool showMillis = Param(showMillisecsIndex) > 0.5f;
  return tickora::BuildDisplayString(CurrentFields(showSeconds, showMillis), showSeconds,
                                     showMillis);
}

FFResult Tickora::DrawDigital() {
  const GLuint program = mainShader.Id();
  glUseProgram(program);
  SendParams();
  glUniform2f(maxstLocation, 1.0f, 1.0f);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, atlas.Texture());
  mainShader.SetFloat("w", 0.25f);
  mainShader.SetFloat("colourAlpha", AlphaOfGroup(static_cast<uint32_t>(colourIndex)));
  mainShader.SetFloat("atlasFill", atlas.UploadedFill());

  const juce::String text = BuildDisplayString();
  const float pitch = GlyphPitch(text.length());
  mainShader.SetFloat("pitch", pitch);

  ReadoutStyle style;
  style.colonWidth = Param(colonWidthIndex);
  style.colonLeft = Param(colonLeftIndex);
  style.colonHeight = Param(colonHeightIndex);
  style.animation = Param(colonAnimationIndex);
  const std::vector<GlyphPass> passes = LayoutReadout(text, style, frameTime);

  // Colour blends by coverage; alpha composes as "over", so a transparent
  // output keeps the glyph's coverage and an opaque one stays opaque (the
  // same factors for alpha would leave coverage squared at the edges).
  glEnable(GL_BLEND);
  glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  const GLint countLocation = glGetUniformLocation(program, "count");
  const GLint blackLocation = glGetUniformLocation(program, "black");
  const GLint leftLocation = glGetUniformLocation(program, "left");
  const GLint addHLocation = glGetUniformLocation(program, "addH");

  // Every pass covers the whole output, but only its glyph's box can receive
  // ink: the scissor keeps the renderer from shading the rest.
  std::optional<PassScissor> scissor;
  GlyphBoxInputs box;
  if (clipPassesToGlyphBoxes) {
    scissor.emplace(viewportWidth, viewportHeight);
    box.width = static_cast<float>(viewportWidth);
    box.height = static_cast<float>(viewportHeight);
    box.scale = Param(scaleIndex);
    box.spacing = Param(spacingIndex);
    box.aspect = Param(aspectIndex);
    box.pitch = pitch;
  }
  for (const GlyphPass& pass : passes) {
    glUniform1f(countLocation, pass.count);
    if (pass.setBlack) glUniform1f(blackLocation, pass.black);
    glUniform1f(leftLocation, pass.left);
    glUniform1f(addHLocation, pass.addH);
    if (scissor) {
      box.left = pass.left;
      box.addH = pass.addH;
      PixelRect rect;
      const bool bounded = GlyphBoxBounds(box, 2, rect);
      const PixelRect inViewport = scissor->InViewport(rect);
      if (!scissor->Limit(bounded ? &inViewport : nullptr)) continue;  // nothing of it is visible
    }
    quad.Draw();
  }
  if (scissor) scissor->Restore();
  glDisable(GL_BLEND);

  glBindTexture(GL_TEXTURE_2D, 0);
  glUseProgram(0);
  return FF_SUCCESS;
}

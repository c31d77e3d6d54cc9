// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/Plugin.h"

#include "framework/FloatToInt.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace ffgl::gl;

namespace framework {

Plugin::Plugin(uint32_t pluginType) : ffgl::CFFGLPlugin(pluginType) {}

// Releasing GL objects is DeInitGL's job, with the host's context current.
Plugin::~Plugin() = default;

void Plugin::SetShaderSources(const std::string& vertex, const std::string& fragment) {
  vertexSource = vertex;
  fragmentSource = fragment;
}

uint32_t Plugin::AddParam(const char* displayName, const char* uniformName, uint32_t type,
                          float defaultValue) {
  const auto index = static_cast<uint32_t>(paramValues.size());
  SetParamInfo(index, displayName, type, defaultValue);
  uniformNames.emplace_back(uniformName != nullptr ? uniformName : "");
  paramValues.push_back(defaultValue);
  return index;
}

void Plugin::AddColourParam(const char* displayName, const char* redUniform,
                            const char* greenUniform, const char* blueUniform, float defaultHue) {
  const std::string name = displayName;
  const uint32_t hue = AddParam(name.c_str(), redUniform, FF_TYPE_HUE, defaultHue);
  colourGroups.push_back(static_cast<int32_t>(hue));
  AddParam((name + "_saturation").c_str(), greenUniform, FF_TYPE_SATURATION, 2.0f);
  // The spelling is what saved host projects know this parameter by.
  AddParam((name + "_brighthness").c_str(), blueUniform, FF_TYPE_BRIGHTNESS, 2.0f);
  AddParam((name + "_alpha").c_str(), "", FF_TYPE_ALPHA, 1.0f);
}

void Plugin::AddColourParam(const ColourMembers& members, const char* redUniform,
                            const char* greenUniform, const char* blueUniform) {
  const uint32_t hue = AddParam(members.names[0], redUniform, FF_TYPE_HUE, members.defaults[0]);
  colourGroups.push_back(static_cast<int32_t>(hue));
  AddParam(members.names[1], greenUniform, FF_TYPE_SATURATION, members.defaults[1]);
  AddParam(members.names[2], blueUniform, FF_TYPE_BRIGHTNESS, members.defaults[2]);
  AddParam(members.names[3], "", FF_TYPE_ALPHA, members.defaults[3]);
}

void Plugin::AddUnboundSlot() {
  uniformNames.emplace_back();
  paramValues.push_back(0.0f);
}

uint32_t Plugin::AddTextParam(const char* displayName, const char* defaultText) {
  const auto index = static_cast<uint32_t>(paramValues.size());
  SetTextParamInfo(index, displayName, defaultText);
  AddUnboundSlot();
  textValues.resize(paramValues.size());
  textValues[index] = defaultText != nullptr ? defaultText : "";
  return index;
}

const std::string& Plugin::TextOf(uint32_t index) const {
  static const std::string kNone;
  return index < textValues.size() ? textValues[index] : kNone;
}

// Text from a host is only bytes: it is stored up to its terminator or the
// length limit, whatever the bytes are, and read back as stored.
FFResult Plugin::SetTextParameter(uint32_t index, const char* value) {
  if (GetParamType(index) != FF_TYPE_TEXT) return FF_FAIL;
  if (textValues.size() < paramValues.size()) textValues.resize(paramValues.size());
  std::string& text = textValues[index];
  text.clear();
  if (value != nullptr) text.assign(value, strnlen(value, kMaxTextBytes));
  return FF_SUCCESS;
}

char* Plugin::GetTextParameter(uint32_t index) {
  if (GetParamType(index) != FF_TYPE_TEXT || index >= textValues.size())
    return CFFGLPlugin::GetTextParameter(index);
  return textValues[index].data();
}

FFResult Plugin::InitGL(const FFGLViewportStruct* vp) {
  context = ffglex::QueryContextVersion();
  // A context short of the shaders' version would only fail to compile them,
  // with a driver's message that does not say why.
  if (!context.RunsTheShaders()) {
    ffglex::ReportShaderMessage("OpenGL context error: ",
                                ("the shaders need OpenGL 4.1 and GLSL 4.10; this context has " +
                                 context.Describe())
                                    .c_str());
    return FF_FAIL;
  }
  // An effect without its program would draw with none: fixed function, or
  // nothing and an error left for the host.
  if (!vertexSource.empty() && !fragmentSource.empty() &&
      !mainShader.Compile(vertexSource, fragmentSource))
    return FF_FAIL;

  const uint32_t width = vp != nullptr ? vp->width : 0;
  const uint32_t height = vp != nullptr ? vp->height : 0;
  if (mainShader.Id() != 0) {
    glUseProgram(mainShader.Id());
    uniformLocations.clear();
    for (const std::string& name : uniformNames)
      uniformLocations.push_back(name.empty() ? -1
                                              : glGetUniformLocation(mainShader.Id(), name.c_str()));
    resolutionLocation = glGetUniformLocation(mainShader.Id(), "resolution");
    maxstLocation = glGetUniformLocation(mainShader.Id(), "maxst");
    glUniform2f(resolutionLocation, static_cast<float>(width), static_cast<float>(height));
    glUseProgram(0);
  }
  quad.Create();
  viewportWidth = width;
  viewportHeight = height;
  return FF_SUCCESS;
}

FFResult Plugin::DeInitGL() {
  mainShader.Release();
  quad.Release();
  return FF_SUCCESS;
}

FFResult Plugin::Resize(const FFGLViewportStruct* vp) {
  if (vp == nullptr) return FF_FAIL;
  if (mainShader.Id() != 0) {
    glUseProgram(mainShader.Id());
    glUniform2f(resolutionLocation, static_cast<float>(vp->width), static_cast<float>(vp->height));
    glUseProgram(0);
  }
  viewportWidth = vp->width;
  viewportHeight = vp->height;
  return FF_SUCCESS;
}

FFResult Plugin::SetFloatParameter(uint32_t index, float value) {
  if (index < paramValues.size()) paramValues[index] = value;
  return FF_SUCCESS;
}

float Plugin::GetFloatParameter(uint32_t index) {
  return index < paramValues.size() ? paramValues[index] : 0.0f;
}

bool Plugin::IsColourGroup(size_t index) const {
  for (int32_t hue : colourGroups)
    if (static_cast<size_t>(hue) == index) return true;
  return false;
}

RGB Plugin::ColourOfGroup(uint32_t hueIndex) {
  const float hueTurns = GetFloatParameter(hueIndex);
  const int32_t hue = TruncateToInt32(hueTurns * 360.0f);
  const double saturation = GetFloatParameter(hueIndex + 1);
  const double value = GetFloatParameter(hueIndex + 2);
  return HsvToRgb(hue, saturation, value);
}

float Plugin::AlphaOfGroup(uint32_t hueIndex) {
  const float alpha = GetFloatParameter(hueIndex + 3);
  if (std::isnan(alpha)) return 1.0f;
  return std::min(std::max(alpha, 0.0f), 1.0f);
}

void Plugin::SendParams() {
  size_t i = 0;
  while (i < uniformLocations.size()) {
    if (IsColourGroup(i)) {
      const RGB rgb = ColourOfGroup(static_cast<uint32_t>(i));
      glUniform1f(uniformLocations[i], rgb.red);
      if (i + 1 < uniformLocations.size()) glUniform1f(uniformLocations[i + 1], rgb.green);
      if (i + 2 < uniformLocations.size()) glUniform1f(uniformLocations[i + 2], rgb.blue);
      i += 4;
    } else {
      glUniform1f(uniformLocations[i], GetFloatParameter(static_cast<uint32_t>(i)));
      i += 1;
    }
  }
}

void Plugin::SendParamsByName(const ffglex::ShaderProgram& program) {
  size_t i = 0;
  while (i < uniformNames.size()) {
    if (IsColourGroup(i)) {
      const RGB rgb = ColourOfGroup(static_cast<uint32_t>(i));
      program.SetFloat(uniformNames[i].c_str(), rgb.red);
      if (i + 1 < uniformNames.size()) program.SetFloat(uniformNames[i + 1].c_str(), rgb.green);
      if (i + 2 < uniformNames.size()) program.SetFloat(uniformNames[i + 2].c_str(), rgb.blue);
      i += 4;
    } else {
      program.SetFloat(uniformNames[i].c_str(), GetFloatParameter(static_cast<uint32_t>(i)));
      i += 1;
    }
  }
}

RGB Plugin::HsvToRgb(int32_t hue, double saturation, double value) {
  const double h = hue;
  const double c = saturation * value;
  const double m = value - c;
  const double x = c * (1.0 - std::fabs(std::fmod(h / 60.0, 2.0) - 1.0));
  double r, g, b;
  if (hue >= 0 && hue < 60) { r = c; g = x; b = 0; }
  else if (hue >= 60 && hue < 120) { r = x; g = c; b = 0; }
  else if (hue >= 120 && hue < 180) { r = 0; g = c; b = x; }
  else if (hue >= 180 && hue < 240) { r = 0; g = x; b = c; }
  else if (hue >= 240 && hue < 300) { r = x; g = 0; b = c; }
  else { r = c; g = 0; b = x; }
  return {static_cast<float>(r + m), static_cast<float>(g + m), static_cast<float>(b + m)};
}

}  // namespace framework

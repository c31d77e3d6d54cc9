// SPDX-License-Identifier: GPL-3.0-or-later
// The framework between the instance base and an effect: parameter value
// storage, parameters bound to shader uniforms (colour groups arrive as red,
// green and blue), the effect's main program and the full-screen quad.
#pragma once

#include "ffgl/CFFGLPlugin.h"
#include "ffglex/ContextVersion.h"
#include "ffglex/FullScreenQuad.h"
#include "ffglex/ShaderProgram.h"

#include <string>
#include <vector>

namespace framework {

struct RGB {
  float red, green, blue;
};

class Plugin : public ffgl::CFFGLPlugin {
 public:
  // Effects name the colour type from inside their own members.
  using RGB = framework::RGB;

  explicit Plugin(uint32_t pluginType);
  ~Plugin() override;

  FFResult InitGL(const FFGLViewportStruct* vp) override;
  FFResult DeInitGL() override;
  FFResult SetFloatParameter(uint32_t index, float value) override;
  float GetFloatParameter(uint32_t index) override;
  FFResult SetTextParameter(uint32_t index, const char* value) override;
  char* GetTextParameter(uint32_t index) override;
  FFResult Resize(const FFGLViewportStruct* vp) override;

  // Definition, from the effect's constructor, in the order the host lists
  // the parameters.
  void SetShaderSources(const std::string& vertex, const std::string& fragment);
  uint32_t AddParam(const char* displayName, const char* uniformName, uint32_t type,
                    float defaultValue);
  void AddColourParam(const char* displayName, const char* redUniform, const char* greenUniform,
                      const char* blueUniform, float defaultHue);
  // A colour group whose members are named and defaulted as given: names,
  // hue, saturation, brightness, alpha.
  struct ColourMembers {
    const char* names[4];
    float defaults[4];
  };
  void AddColourParam(const ColourMembers& members, const char* redUniform,
                      const char* greenUniform, const char* blueUniform);
  void AddUnboundSlot();
  // A text parameter: not sent to a program, its value kept as the host's
  // bytes (cut at kMaxTextBytes).
  uint32_t AddTextParam(const char* displayName, const char* defaultText);
  static constexpr size_t kMaxTextBytes = 255;
  // The text of a text parameter; empty for any other index.
  const std::string& TextOf(uint32_t index) const;

  // In a frame, with the target program current.
  void SendParams();
  void SendParamsByName(const ffglex::ShaderProgram& program);

  static RGB HsvToRgb(int32_t hue, double saturation, double value);
  // The red, green and blue a colour group sends, from its hue's index.
  RGB ColourOfGroup(uint32_t hueIndex);
  // The group's alpha member as a factor for drawn coverage: 0..1, and 1
  // when the host sends no number, so a bad value never hides the picture.
  float AlphaOfGroup(uint32_t hueIndex);

  std::string vertexSource;
  std::string fragmentSource;
  uint32_t viewportWidth = 0;
  uint32_t viewportHeight = 0;
  GLint resolutionLocation = -1;
  GLint maxstLocation = -1;
  std::vector<float> paramValues;
  // One per slot, used by text parameters only.
  std::vector<std::string> textValues;
  std::vector<std::string> uniformNames;
  std::vector<GLint> uniformLocations;
  ffglex::ShaderProgram mainShader;
  ffglex::FullScreenQuad quad;
  std::vector<int32_t> colourGroups;
  // The instance's context, read by InitGL: every call of the instance
  // comes in that context.
  ffglex::ContextVersion context;

 private:
  bool IsColourGroup(size_t index) const;
};

}  // namespace framework

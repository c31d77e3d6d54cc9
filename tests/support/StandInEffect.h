// SPDX-License-Identifier: GPL-3.0-or-later
// A small effect on the framework, with one parameter of each kind the
// framework treats differently: a bound slider, a colour group, a bound
// switch, a slider bound to nothing and an option defined directly in the
// registry with an unbound slot.
#pragma once

#include "framework/Plugin.h"

namespace testing_support {

constexpr const char* kStandInFragmentShader = R"(#version 410 core
in vec2 uv;
out vec4 fragColor;
uniform float level;
uniform float cR;
uniform float cG;
uniform float cB;
uniform float flag;
uniform vec2 resolution;
uniform vec2 maxst;
void main() {
  fragColor = vec4(uv * maxst, level + flag, cR + cG + cB + resolution.x + resolution.y);
}
)";

class StandInEffect : public framework::Plugin {
 public:
  enum : uint32_t { kLevel = 0, kHue = 1, kSaturation = 2, kBrightness = 3, kAlpha = 4,
                    kFlag = 5, kLoose = 6, kChoice = 7, kCount = 8 };

  // Sources are optional so that the no-program path can be exercised too.
  StandInEffect(const char* vertexSource, const char* fragmentSource) : Plugin(FF_EFFECT) {
    AddParam("Level", "level", FF_TYPE_STANDARD, 0.25f);
    AddColourParam("Color", "cR", "cG", "cB", 0.5f);
    AddParam("Flag", "flag", FF_TYPE_BOOLEAN, 1.0f);
    AddParam("Loose", "", FF_TYPE_STANDARD, 0.5f);
    SetOptionParamInfo(kChoice, "Choice", 6, 5.0f);
    AddUnboundSlot();
    if (vertexSource != nullptr && fragmentSource != nullptr)
      SetShaderSources(vertexSource, fragmentSource);
  }

  FFResult ProcessOpenGL(ProcessOpenGLStruct*) override {
    ffgl::gl::glUseProgram(mainShader.Id());
    SendParams();
    ffgl::gl::glUniform2f(maxstLocation, 1.0f, 1.0f);
    quad.Draw();
    ffgl::gl::glUseProgram(0);
    return FF_SUCCESS;
  }
};

}  // namespace testing_support

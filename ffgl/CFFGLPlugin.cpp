// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffgl/CFFGLPlugin.h"

#include <cstdint>

namespace ffgl {

CFFGLPlugin::CFFGLPlugin(uint32_t pluginType) {
  switch (pluginType) {
    case FF_EFFECT: minInputs = maxInputs = 1; break;
    case FF_MIXER: minInputs = maxInputs = 2; break;
    default: minInputs = maxInputs = 0; break;
  }
  timeSupported = true;
}

CFFGLPlugin::~CFFGLPlugin() = default;

FFResult CFFGLPlugin::InitGL(const FFGLViewportStruct* vp) {
  if (vp != nullptr) viewport = *vp;
  return FF_SUCCESS;
}

FFResult CFFGLPlugin::DeInitGL() { return FF_SUCCESS; }

char* CFFGLPlugin::GetParameterDisplay(uint32_t) { return nullptr; }

FFResult CFFGLPlugin::SetFloatParameter(uint32_t, float) { return FF_FAIL; }

FFResult CFFGLPlugin::SetTextParameter(uint32_t, const char*) { return FF_FAIL; }

float CFFGLPlugin::GetFloatParameter(uint32_t) { return 0.0f; }

char* CFFGLPlugin::GetTextParameter(uint32_t) {
  return reinterpret_cast<char*>(UINTPTR_MAX);
}

FFResult CFFGLPlugin::ProcessOpenGL(ProcessOpenGLStruct*) { return FF_FAIL; }

FFResult CFFGLPlugin::SetTime(double time) {
  hostTime = time;
  return FF_SUCCESS;
}

void CFFGLPlugin::SetBeatInfo(float newBpm, float newBarPhase) {
  bpm = newBpm;
  barPhase = newBarPhase;
}

void CFFGLPlugin::SetHostInfo(const char* name, const char* version) {
  hostName = name != nullptr ? name : "";
  hostVersion = version != nullptr ? version : "";
}

void CFFGLPlugin::SetSampleRate(uint32_t rate) { sampleRate = rate; }

FFResult CFFGLPlugin::GetInputStatus(uint32_t inputIndex) {
  // maxInputs is signed; a negative count means no inputs at all.
  if (maxInputs > 0 && inputIndex < static_cast<uint32_t>(maxInputs)) return 1;
  return FF_FAIL;
}

char* CFFGLPlugin::GetShortName() { return nullptr; }

FFResult CFFGLPlugin::Connect() { return FF_SUCCESS; }

FFResult CFFGLPlugin::Disconnect() { return FF_SUCCESS; }

FFResult CFFGLPlugin::Resize(const FFGLViewportStruct* vp) {
  if (vp != nullptr) viewport = *vp;
  return FF_SUCCESS;
}

}  // namespace ffgl

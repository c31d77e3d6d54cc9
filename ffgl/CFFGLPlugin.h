// SPDX-License-Identifier: GPL-3.0-or-later
// The instance base: every handle the host holds is one of these. The virtual
// operations below are the whole per-instance interface, in slot order; their
// default behaviour is the neutral answer of the FFGL 2.1 ABI.
#pragma once

#include "ffgl/CFFGLPluginManager.h"

#include <string>

namespace ffgl {

class CFFGLPlugin : public CFFGLPluginManager {
 public:
  explicit CFFGLPlugin(uint32_t pluginType);
  ~CFFGLPlugin() override;

  virtual FFResult InitGL(const FFGLViewportStruct* vp);
  virtual FFResult DeInitGL();
  virtual char* GetParameterDisplay(uint32_t index);
  virtual FFResult SetFloatParameter(uint32_t index, float value);
  virtual FFResult SetTextParameter(uint32_t index, const char* value);
  virtual float GetFloatParameter(uint32_t index);
  virtual char* GetTextParameter(uint32_t index);
  virtual FFResult ProcessOpenGL(ProcessOpenGLStruct* pGL);
  virtual FFResult SetTime(double time);
  virtual void SetBeatInfo(float bpm, float barPhase);
  virtual void SetHostInfo(const char* name, const char* version);
  virtual void SetSampleRate(uint32_t sampleRate);
  virtual FFResult GetInputStatus(uint32_t inputIndex);
  virtual char* GetShortName();
  virtual FFResult Connect();
  virtual FFResult Disconnect();
  virtual FFResult Resize(const FFGLViewportStruct* vp);

  bool glConnected = false;
  // The GL context current at creation: the one whose vertex arrays and
  // framebuffers the instance's names refer to. Null when it could not be told.
  const void* glContext = nullptr;
  FFGLViewportStruct viewport{};
  float bpm = 120.0f;
  float barPhase = 0.0f;
  std::string hostName;
  std::string hostVersion;
  double hostTime = 0.0;
  uint32_t sampleRate = 0;
};

}  // namespace ffgl

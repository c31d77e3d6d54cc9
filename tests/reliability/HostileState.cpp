// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/reliability/HostileState.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstring>

namespace reliability {

unsigned HostileState::unpackBuffer = 0;
unsigned HostileState::sampler = 0;

namespace {

GLuint Renderbuffer(GLenum format, int samples, int width, int height) {
  GLuint name = 0;
  glGenRenderbuffers(1, &name);
  glBindRenderbuffer(GL_RENDERBUFFER, name);
  glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, width, height);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  return name;
}

// Each piece below, as a host's own drawing would leave it. Every one of
// them changes what a naive full-screen pass draws (or, for the unpack
// pieces, what an upload reads), except where the comment says otherwise.
void UnpackRowLength(const HostileState&) { glPixelStorei(GL_UNPACK_ROW_LENGTH, 2048); }
void UnpackSkipRows(const HostileState&) { glPixelStorei(GL_UNPACK_SKIP_ROWS, 37); }
void UnpackSkipPixels(const HostileState&) { glPixelStorei(GL_UNPACK_SKIP_PIXELS, 29); }
void UnpackAlignment(const HostileState&) { glPixelStorei(GL_UNPACK_ALIGNMENT, 8); }
void UnpackBuffer(const HostileState&) {
  glBindBuffer(GL_PIXEL_UNPACK_BUFFER, HostileState::unpackBuffer);
}
void CullBack(const HostileState&) { glEnable(GL_CULL_FACE); }
void CullFrontAndBack(const HostileState&) {
  glEnable(GL_CULL_FACE);
  glCullFace(GL_FRONT_AND_BACK);
  glFrontFace(GL_CW);
}
void DepthRejects(const HostileState&) {
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);  // against a depth buffer cleared to 0
}
void StencilRejects(const HostileState&) {
  glEnable(GL_STENCIL_TEST);
  glStencilFunc(GL_EQUAL, 1, 0xFF);  // against a stencil cleared to 0
}
void PolygonLines(const HostileState&) { glPolygonMode(GL_FRONT_AND_BACK, GL_LINE); }
void ColourMaskRedOff(const HostileState&) { glColorMask(GL_FALSE, GL_TRUE, GL_TRUE, GL_TRUE); }
void ColourMaskAlphaOff(const HostileState&) { glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE); }
void BlendSubtract(const HostileState&) { glBlendEquation(GL_FUNC_SUBTRACT); }
void BlendMaxAlpha(const HostileState&) { glBlendEquationSeparate(GL_FUNC_ADD, GL_MAX); }
void AlphaToCoverage(const HostileState&) { glEnable(GL_SAMPLE_ALPHA_TO_COVERAGE); }
void SampleCoverage(const HostileState&) {
  glEnable(GL_SAMPLE_COVERAGE);
  glSampleCoverage(0.25f, GL_FALSE);
}
void SampleMask(const HostileState&) {
  glEnable(GL_SAMPLE_MASK);
  glSampleMaski(0, 0x1);
}
void SampleShading(const HostileState&) {
  glEnable(GL_SAMPLE_SHADING);
  glMinSampleShading(1.0f);
}
void RasterizerDiscard(const HostileState&) { glEnable(GL_RASTERIZER_DISCARD); }
void LogicOpInvert(const HostileState&) {
  glEnable(GL_COLOR_LOGIC_OP);
  glLogicOp(GL_INVERT);
}
// Honoured, not overridden: arrays drawn without indices never restart.
void PrimitiveRestart(const HostileState&) {
  glEnable(GL_PRIMITIVE_RESTART);
  glPrimitiveRestartIndex(0);
}
void ClipDistances(const HostileState&) {
  for (GLenum i = 0; i < 8; ++i) glEnable(GL_CLIP_DISTANCE0 + i);
}
void SamplerOnUnit0(const HostileState&) { glBindSampler(0, HostileState::sampler); }
// On a linear output the switch changes nothing on a conforming driver; the
// plug-in still must leave it as it was.
void FramebufferSRGB(const HostileState&) { glEnable(GL_FRAMEBUFFER_SRGB); }
void ActiveUnit3(const HostileState&) { glActiveTexture(GL_TEXTURE3); }

const HostileState kPieces[] = {
    {"UnpackRowLength", TargetKind::kColour, UnpackRowLength},
    {"UnpackSkipRows", TargetKind::kColour, UnpackSkipRows},
    {"UnpackSkipPixels", TargetKind::kColour, UnpackSkipPixels},
    {"UnpackAlignment", TargetKind::kColour, UnpackAlignment},
    {"UnpackBuffer", TargetKind::kColour, UnpackBuffer},
    {"CullBack", TargetKind::kColour, CullBack},
    {"CullFrontAndBack", TargetKind::kColour, CullFrontAndBack},
    {"DepthRejects", TargetKind::kDepthStencil, DepthRejects},
    {"StencilRejects", TargetKind::kDepthStencil, StencilRejects},
    {"PolygonLines", TargetKind::kColour, PolygonLines},
    {"ColourMaskRedOff", TargetKind::kColour, ColourMaskRedOff},
    {"ColourMaskAlphaOff", TargetKind::kColour, ColourMaskAlphaOff},
    {"BlendSubtract", TargetKind::kColour, BlendSubtract},
    {"BlendMaxAlpha", TargetKind::kColour, BlendMaxAlpha},
    {"AlphaToCoverage", TargetKind::kMultisample, AlphaToCoverage},
    {"SampleCoverage", TargetKind::kMultisample, SampleCoverage},
    {"SampleMask", TargetKind::kMultisample, SampleMask},
    {"SampleShading", TargetKind::kMultisample, SampleShading},
    {"RasterizerDiscard", TargetKind::kColour, RasterizerDiscard},
    {"LogicOpInvert", TargetKind::kColour, LogicOpInvert},
    {"PrimitiveRestart", TargetKind::kColour, PrimitiveRestart},
    {"ClipDistances", TargetKind::kColour, ClipDistances},
    {"SamplerOnUnit0", TargetKind::kColour, SamplerOnUnit0},
    {"FramebufferSRGB", TargetKind::kColour, FramebufferSRGB},
    {"ActiveUnit3", TargetKind::kColour, ActiveUnit3},
};

void Everything(const HostileState&) {
  // Polygon lines and rasterizer discard would hide the others; they are
  // set too, and the plug-in has to undo all of them.
  for (const HostileState& piece : kPieces) piece.apply(piece);
}

}  // namespace

std::vector<HostileState> AllHostileStates() {
  std::vector<HostileState> all(std::begin(kPieces), std::end(kPieces));
  all.push_back({"Everything", TargetKind::kMultisample, Everything});
  return all;
}

bool HostTarget::Create(TargetKind targetKind, int w, int h) {
  kind = targetKind;
  width = w;
  height = h;
  const int samples = kind == TargetKind::kMultisample ? 4 : 0;
  colour = Renderbuffer(kind == TargetKind::kSRGB ? GL_SRGB8_ALPHA8 : GL_RGBA8, samples, w, h);
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
  if (kind == TargetKind::kDepthStencil || kind == TargetKind::kMultisample) {
    depthStencil = Renderbuffer(GL_DEPTH24_STENCIL8, samples, w, h);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              depthStencil);
  }
  bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  if (samples > 0) {
    resolveColour = Renderbuffer(GL_RGBA8, 0, w, h);
    glGenFramebuffers(1, &resolveFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, resolveColour);
    complete = complete && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  }
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return complete && glGetError() == GL_NO_ERROR;
}

void HostTarget::Release() {
  for (GLuint* fb : {&framebuffer, &resolveFramebuffer}) glDeleteFramebuffers(1, fb);
  for (GLuint* rb : {&colour, &depthStencil, &resolveColour}) glDeleteRenderbuffers(1, rb);
  framebuffer = resolveFramebuffer = colour = depthStencil = resolveColour = 0;
}

void HostTarget::Clear() const {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glClearColor(0, 0, 0, 0);
  glClearDepth(0.0);
  glClearStencil(0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  glClearDepth(1.0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

host::Pixels HostTarget::Read() const {
  GLuint source = framebuffer;
  if (resolveFramebuffer != 0) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFramebuffer);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    source = resolveFramebuffer;
  }
  host::Pixels pixels;
  pixels.width = width;
  pixels.height = height;
  pixels.rgba.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  std::vector<uint8_t> bottomUp(pixels.rgba.size());
  glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  const size_t row = static_cast<size_t>(width) * 4;
  for (int y = 0; y < height; ++y)
    std::memcpy(&pixels.rgba[static_cast<size_t>(y) * row],
                &bottomUp[static_cast<size_t>(height - 1 - y) * row], row);
  return pixels;
}

bool CreateHostileObjects() {
  glGenBuffers(1, &HostileState::unpackBuffer);
  glBindBuffer(GL_PIXEL_UNPACK_BUFFER, HostileState::unpackBuffer);
  glBufferData(GL_PIXEL_UNPACK_BUFFER, 4096, nullptr, GL_STREAM_DRAW);
  glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
  // A mipmapped minification filter on a texture without mipmaps makes it
  // incomplete: sampled through this, the atlas reads as empty.
  glGenSamplers(1, &HostileState::sampler);
  glSamplerParameteri(HostileState::sampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glSamplerParameteri(HostileState::sampler, GL_TEXTURE_WRAP_S, GL_REPEAT);
  return glGetError() == GL_NO_ERROR;
}

void ReleaseHostileObjects() {
  glDeleteBuffers(1, &HostileState::unpackBuffer);
  glDeleteSamplers(1, &HostileState::sampler);
  HostileState::unpackBuffer = HostileState::sampler = 0;
}

void ResetGLState() {
  for (GLenum p : {GL_UNPACK_ROW_LENGTH, GL_UNPACK_SKIP_ROWS, GL_UNPACK_SKIP_PIXELS})
    glPixelStorei(p, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
  for (GLenum cap : {GL_CULL_FACE, GL_DEPTH_TEST, GL_STENCIL_TEST, GL_SAMPLE_ALPHA_TO_COVERAGE,
                     GL_SAMPLE_COVERAGE, GL_SAMPLE_MASK, GL_SAMPLE_SHADING, GL_RASTERIZER_DISCARD,
                     GL_COLOR_LOGIC_OP, GL_PRIMITIVE_RESTART, GL_FRAMEBUFFER_SRGB, GL_BLEND,
                     GL_SCISSOR_TEST})
    glDisable(cap);
  for (GLenum i = 0; i < 8; ++i) glDisable(GL_CLIP_DISTANCE0 + i);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glDepthFunc(GL_LESS);
  glStencilFunc(GL_ALWAYS, 0, 0xFFFFFFFFu);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glBlendEquation(GL_FUNC_ADD);
  glBlendFunc(GL_ONE, GL_ZERO);
  glSampleCoverage(1.0f, GL_FALSE);
  glSampleMaski(0, 0xFFFFFFFFu);
  glMinSampleShading(0.0f);
  glLogicOp(GL_COPY);
  glPrimitiveRestartIndex(0);
  glBindSampler(0, 0);
  glActiveTexture(GL_TEXTURE0);
}

void ApplyHostState(const HostTarget& target, const HostileState* state) {
  ResetGLState();
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glViewport(0, 0, target.width, target.height);
  glScissor(0, 0, target.width, target.height);
  if (state != nullptr) state->apply(*state);
}

}  // namespace reliability

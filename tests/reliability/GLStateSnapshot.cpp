// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/reliability/GLStateSnapshot.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <algorithm>
#include <sstream>

namespace reliability {
namespace {

int Integer(GLenum name) {
  GLint value = 0;
  glGetIntegerv(name, &value);
  return value;
}

int TextureOnUnit(GLenum unit) {
  const int active = Integer(GL_ACTIVE_TEXTURE);
  glActiveTexture(unit);
  const int texture = Integer(GL_TEXTURE_BINDING_2D);
  glActiveTexture(static_cast<GLenum>(active));
  return texture;
}

GLuint CompileShader(GLenum type, const char* source) {
  const GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  return shader;
}

template <typename T>
void Compare(std::ostringstream& out, const char* name, const T& before, const T& after) {
  if (before != after) out << name << ": " << before << " -> " << after << "\n";
}

using Wide = std::vector<std::pair<std::string, std::vector<double>>>;

void AddIntegers(Wide& wide, const char* name, GLenum pname, int count) {
  GLint values[4] = {0, 0, 0, 0};
  glGetIntegerv(pname, values);
  wide.emplace_back(name, std::vector<double>(values, values + count));
}

void AddFloats(Wide& wide, const char* name, GLenum pname, int count) {
  GLfloat values[4] = {0, 0, 0, 0};
  glGetFloatv(pname, values);
  wide.emplace_back(name, std::vector<double>(values, values + count));
}

void AddEnable(Wide& wide, const char* name, GLenum capability) {
  wide.emplace_back(std::string("enabled ") + name,
                    std::vector<double>{glIsEnabled(capability) == GL_TRUE ? 1.0 : 0.0});
}

#define INTEGERS(wide, name, count) AddIntegers(wide, #name, name, count)
#define FLOATS(wide, name, count) AddFloats(wide, #name, name, count)
#define ENABLE(wide, name) AddEnable(wide, #name, name)

void CapturePixelStoreAndBuffers(Wide& w) {
  for (GLenum base : {GL_UNPACK_SWAP_BYTES, GL_PACK_SWAP_BYTES}) {
    // SWAP_BYTES, LSB_FIRST, ROW_LENGTH, SKIP_ROWS, SKIP_PIXELS, ALIGNMENT
    for (GLenum p = base; p < base + 6; ++p)
      AddIntegers(w, ("pixel store " + std::to_string(p)).c_str(), p, 1);
  }
  INTEGERS(w, GL_UNPACK_IMAGE_HEIGHT, 1);
  INTEGERS(w, GL_UNPACK_SKIP_IMAGES, 1);
  INTEGERS(w, GL_PACK_IMAGE_HEIGHT, 1);
  INTEGERS(w, GL_PACK_SKIP_IMAGES, 1);
  INTEGERS(w, GL_PIXEL_PACK_BUFFER_BINDING, 1);
  INTEGERS(w, GL_PIXEL_UNPACK_BUFFER_BINDING, 1);
  INTEGERS(w, GL_UNIFORM_BUFFER_BINDING, 1);
  INTEGERS(w, GL_COPY_READ_BUFFER_BINDING, 1);
  INTEGERS(w, GL_COPY_WRITE_BUFFER_BINDING, 1);
  INTEGERS(w, GL_TRANSFORM_FEEDBACK_BUFFER_BINDING, 1);
  INTEGERS(w, GL_DRAW_INDIRECT_BUFFER_BINDING, 1);
  INTEGERS(w, GL_TRANSFORM_FEEDBACK_BINDING, 1);
  INTEGERS(w, GL_RENDERBUFFER_BINDING, 1);
}

void CaptureUnits(Wide& w) {
  const int active = Integer(GL_ACTIVE_TEXTURE);
  for (GLenum unit = 0; unit < 8; ++unit) {
    glActiveTexture(GL_TEXTURE0 + unit);
    const std::string suffix = " on unit " + std::to_string(unit);
    AddIntegers(w, ("2D texture" + suffix).c_str(), GL_TEXTURE_BINDING_2D, 1);
    AddIntegers(w, ("sampler" + suffix).c_str(), GL_SAMPLER_BINDING, 1);
  }
  glActiveTexture(static_cast<GLenum>(active));
}

void CaptureEnables(Wide& w) {
  ENABLE(w, GL_BLEND);
  ENABLE(w, GL_CULL_FACE);
  ENABLE(w, GL_DEPTH_TEST);
  ENABLE(w, GL_STENCIL_TEST);
  ENABLE(w, GL_SCISSOR_TEST);
  ENABLE(w, GL_POLYGON_OFFSET_FILL);
  ENABLE(w, GL_MULTISAMPLE);
  ENABLE(w, GL_SAMPLE_ALPHA_TO_COVERAGE);
  ENABLE(w, GL_SAMPLE_ALPHA_TO_ONE);
  ENABLE(w, GL_SAMPLE_COVERAGE);
  ENABLE(w, GL_SAMPLE_MASK);
  ENABLE(w, GL_SAMPLE_SHADING);
  ENABLE(w, GL_RASTERIZER_DISCARD);
  ENABLE(w, GL_COLOR_LOGIC_OP);
  ENABLE(w, GL_PRIMITIVE_RESTART);
  ENABLE(w, GL_FRAMEBUFFER_SRGB);
  ENABLE(w, GL_DITHER);
  ENABLE(w, GL_PROGRAM_POINT_SIZE);
  ENABLE(w, GL_DEPTH_CLAMP);
  ENABLE(w, GL_LINE_SMOOTH);
  ENABLE(w, GL_POLYGON_SMOOTH);
  ENABLE(w, GL_TEXTURE_CUBE_MAP_SEAMLESS);
  for (GLenum i = 0; i < 8; ++i)
    AddEnable(w, ("clip distance " + std::to_string(i)).c_str(), GL_CLIP_DISTANCE0 + i);
}

void CaptureFixedFunction(Wide& w) {
  INTEGERS(w, GL_COLOR_WRITEMASK, 4);
  INTEGERS(w, GL_DEPTH_WRITEMASK, 1);
  INTEGERS(w, GL_STENCIL_WRITEMASK, 1);
  INTEGERS(w, GL_STENCIL_BACK_WRITEMASK, 1);
  GLint sampleMask = 0;
  glGetIntegeri_v(GL_SAMPLE_MASK_VALUE, 0, &sampleMask);
  w.emplace_back("GL_SAMPLE_MASK_VALUE", std::vector<double>{static_cast<double>(sampleMask)});
  FLOATS(w, GL_BLEND_COLOR, 4);
  INTEGERS(w, GL_POLYGON_MODE, 2);
  INTEGERS(w, GL_CULL_FACE_MODE, 1);
  INTEGERS(w, GL_FRONT_FACE, 1);
  INTEGERS(w, GL_PROVOKING_VERTEX, 1);
  INTEGERS(w, GL_LOGIC_OP_MODE, 1);
  INTEGERS(w, GL_DEPTH_FUNC, 1);
  INTEGERS(w, GL_STENCIL_FUNC, 1);
  INTEGERS(w, GL_STENCIL_REF, 1);
  INTEGERS(w, GL_STENCIL_VALUE_MASK, 1);
  INTEGERS(w, GL_STENCIL_FAIL, 1);
  INTEGERS(w, GL_STENCIL_PASS_DEPTH_PASS, 1);
  INTEGERS(w, GL_PRIMITIVE_RESTART_INDEX, 1);
  FLOATS(w, GL_SAMPLE_COVERAGE_VALUE, 1);
  INTEGERS(w, GL_SAMPLE_COVERAGE_INVERT, 1);
  FLOATS(w, GL_MIN_SAMPLE_SHADING_VALUE, 1);
  FLOATS(w, GL_LINE_WIDTH, 1);
  FLOATS(w, GL_POINT_SIZE, 1);
  FLOATS(w, GL_DEPTH_RANGE, 2);
  FLOATS(w, GL_COLOR_CLEAR_VALUE, 4);
  INTEGERS(w, GL_SCISSOR_BOX, 4);
  INTEGERS(w, GL_DRAW_BUFFER0, 1);
  INTEGERS(w, GL_READ_BUFFER, 1);
}

}  // namespace

GLStateSnapshot CaptureGLState() {
  GLStateSnapshot s;
  s.program = Integer(GL_CURRENT_PROGRAM);
  s.vertexArray = Integer(GL_VERTEX_ARRAY_BINDING);
  s.arrayBuffer = Integer(GL_ARRAY_BUFFER_BINDING);
  s.elementBuffer = Integer(GL_ELEMENT_ARRAY_BUFFER_BINDING);
  s.activeTexture = Integer(GL_ACTIVE_TEXTURE);
  s.texture2DUnit0 = TextureOnUnit(GL_TEXTURE0);
  s.texture2DUnit1 = TextureOnUnit(GL_TEXTURE1);
  s.drawFramebuffer = Integer(GL_DRAW_FRAMEBUFFER_BINDING);
  s.readFramebuffer = Integer(GL_READ_FRAMEBUFFER_BINDING);
  s.blend = glIsEnabled(GL_BLEND) == GL_TRUE;
  s.depthTest = glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
  s.scissorTest = glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
  s.cullFace = glIsEnabled(GL_CULL_FACE) == GL_TRUE;
  s.blendSrcRGB = Integer(GL_BLEND_SRC_RGB);
  s.blendDstRGB = Integer(GL_BLEND_DST_RGB);
  s.blendSrcAlpha = Integer(GL_BLEND_SRC_ALPHA);
  s.blendDstAlpha = Integer(GL_BLEND_DST_ALPHA);
  s.blendEquationRGB = Integer(GL_BLEND_EQUATION_RGB);
  s.blendEquationAlpha = Integer(GL_BLEND_EQUATION_ALPHA);
  glGetIntegerv(GL_VIEWPORT, s.viewport);
  s.unpackAlignment = Integer(GL_UNPACK_ALIGNMENT);
  CapturePixelStoreAndBuffers(s.wide);
  CaptureUnits(s.wide);
  CaptureEnables(s.wide);
  CaptureFixedFunction(s.wide);
  return s;
}

std::string DescribeDifferences(const GLStateSnapshot& a, const GLStateSnapshot& b) {
  std::ostringstream out;
  Compare(out, "program", a.program, b.program);
  Compare(out, "vertex array", a.vertexArray, b.vertexArray);
  Compare(out, "array buffer", a.arrayBuffer, b.arrayBuffer);
  Compare(out, "element buffer", a.elementBuffer, b.elementBuffer);
  Compare(out, "active texture", a.activeTexture, b.activeTexture);
  Compare(out, "2D texture on unit 0", a.texture2DUnit0, b.texture2DUnit0);
  Compare(out, "2D texture on unit 1", a.texture2DUnit1, b.texture2DUnit1);
  Compare(out, "draw framebuffer", a.drawFramebuffer, b.drawFramebuffer);
  Compare(out, "read framebuffer", a.readFramebuffer, b.readFramebuffer);
  Compare(out, "blend", a.blend, b.blend);
  Compare(out, "depth test", a.depthTest, b.depthTest);
  Compare(out, "scissor test", a.scissorTest, b.scissorTest);
  Compare(out, "cull face", a.cullFace, b.cullFace);
  Compare(out, "blend src rgb", a.blendSrcRGB, b.blendSrcRGB);
  Compare(out, "blend dst rgb", a.blendDstRGB, b.blendDstRGB);
  Compare(out, "blend src alpha", a.blendSrcAlpha, b.blendSrcAlpha);
  Compare(out, "blend dst alpha", a.blendDstAlpha, b.blendDstAlpha);
  Compare(out, "blend equation rgb", a.blendEquationRGB, b.blendEquationRGB);
  Compare(out, "blend equation alpha", a.blendEquationAlpha, b.blendEquationAlpha);
  for (int i = 0; i < 4; ++i) Compare(out, "viewport", a.viewport[i], b.viewport[i]);
  Compare(out, "unpack alignment", a.unpackAlignment, b.unpackAlignment);
  const size_t common = std::min(a.wide.size(), b.wide.size());
  for (size_t i = 0; i < common; ++i) {
    const std::vector<double>& x = a.wide[i].second;
    const std::vector<double>& y = b.wide[i].second;
    for (size_t k = 0; k < x.size() && k < y.size(); ++k)
      Compare(out, a.wide[i].first.c_str(), x[k], y[k]);
  }
  Compare(out, "number of wide entries", a.wide.size(), b.wide.size());
  return out.str();
}

unsigned TakeGLErrors() {
  unsigned first = GL_NO_ERROR;
  for (int i = 0; i < 16; ++i) {
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR) break;
    if (first == GL_NO_ERROR) first = error;
  }
  return first;
}

void FinishGL() { glFinish(); }

bool HostObjects::Create() {
  const GLuint vertex = CompileShader(GL_VERTEX_SHADER,
                                      "#version 410 core\n"
                                      "layout(location = 0) in vec2 p;\n"
                                      "void main() { gl_Position = vec4(p, 0.0, 1.0); }\n");
  const GLuint fragment = CompileShader(GL_FRAGMENT_SHADER,
                                        "#version 410 core\n"
                                        "out vec4 c;\n"
                                        "void main() { c = vec4(1.0, 0.0, 1.0, 1.0); }\n");
  program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  GLint linked = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &linked);

  glGenVertexArrays(1, &vertexArray);
  glGenBuffers(1, &arrayBuffer);
  glGenBuffers(1, &elementBuffer);
  glBindVertexArray(vertexArray);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, elementBuffer);
  const unsigned short indices[3] = {0, 1, 2};
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof indices, indices, GL_STATIC_DRAW);
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, arrayBuffer);
  const float vertices[6] = {0, 0, 1, 0, 0, 1};
  glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices, GL_STATIC_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, 0);

  const unsigned char texel[4] = {10, 20, 30, 40};
  for (GLuint* texture : {&texture0, &texture1}) {
    glGenTextures(1, texture);
    glBindTexture(GL_TEXTURE_2D, *texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  return linked == GL_TRUE && TakeGLErrors() == GL_NO_ERROR;
}

void HostObjects::Release() {
  glDeleteProgram(program);
  glDeleteVertexArrays(1, &vertexArray);
  glDeleteBuffers(1, &arrayBuffer);
  glDeleteBuffers(1, &elementBuffer);
  glDeleteTextures(1, &texture0);
  glDeleteTextures(1, &texture1);
  program = vertexArray = arrayBuffer = elementBuffer = texture0 = texture1 = 0;
}

void HostObjects::Bind(unsigned framebuffer, int x, int y, int width, int height,
                       int activeUnit) const {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glViewport(x, y, width, height);
  glScissor(x, y, width, height);
  glUseProgram(program);
  glBindVertexArray(vertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, arrayBuffer);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture0);
  glActiveTexture(GL_TEXTURE1);
  glBindTexture(GL_TEXTURE_2D, texture1);
  glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(activeUnit));
  glEnable(GL_BLEND);
  glBlendFuncSeparate(GL_DST_COLOR, GL_ONE_MINUS_SRC_COLOR, GL_ONE, GL_ZERO);
  glBlendEquationSeparate(GL_FUNC_REVERSE_SUBTRACT, GL_MAX);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_SCISSOR_TEST);
  glEnable(GL_CULL_FACE);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
}

}  // namespace reliability

// SPDX-License-Identifier: GPL-3.0-or-later
// OpenGL entry points, resolved by name once per process before the first
// InitGL. The plug-in links no OpenGL library: every call goes through the
// table below, which a test may also fill with wrappers of its own to see
// the calls the plug-in makes. The table holds exactly the calls the plug-in
// makes, because a driver missing any of them fails instantiation; tests and
// tools that need more call their own linked GL.
//
// Nothing here can collide with a system GL header in the same file: the
// types are the same typedefs, the enumerants are spelled token for token as
// the Khronos headers spell them (an identical macro redefinition is legal),
// and the calls live in namespace ffgl::gl. A .cpp file that calls GL says
// `using namespace ffgl::gl;`; headers qualify the calls, and so does a file
// that also calls the system's GL, where an unqualified call is ambiguous.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define FFGL_APIENTRY __stdcall
#else
#define FFGL_APIENTRY
#endif

using GLenum = unsigned int;
using GLboolean = unsigned char;
using GLbitfield = unsigned int;
using GLint = int;
using GLuint = unsigned int;
using GLsizei = int;
using GLfloat = float;
using GLchar = char;
using GLubyte = unsigned char;
using GLsizeiptr = std::ptrdiff_t;

#define GL_NO_ERROR 0
#define GL_NONE 0
#define GL_CLIP_DISTANCE0 0x3000
#define GL_FRONT_LEFT 0x0400
#define GL_FRONT_RIGHT 0x0401
#define GL_BACK_LEFT 0x0402
#define GL_BACK_RIGHT 0x0403
#define GL_FRONT 0x0404
#define GL_BACK 0x0405
#define GL_LEFT 0x0406
#define GL_RIGHT 0x0407
#define GL_FRONT_AND_BACK 0x0408
#define GL_POLYGON_MODE 0x0B40
#define GL_STENCIL_TEST 0x0B90
#define GL_COLOR_LOGIC_OP 0x0BF2
#define GL_COLOR_WRITEMASK 0x0C23
#define GL_UNPACK_SWAP_BYTES 0x0CF0
#define GL_UNPACK_LSB_FIRST 0x0CF1
#define GL_UNPACK_ROW_LENGTH 0x0CF2
#define GL_UNPACK_SKIP_ROWS 0x0CF3
#define GL_UNPACK_SKIP_PIXELS 0x0CF4
#define GL_MAX_CLIP_DISTANCES 0x0D32
#define GL_FILL 0x1B02
#define GL_FUNC_ADD 0x8006
#define GL_UNPACK_SKIP_IMAGES 0x806D
#define GL_UNPACK_IMAGE_HEIGHT 0x806E
#define GL_SAMPLE_ALPHA_TO_COVERAGE 0x809E
#define GL_SAMPLE_COVERAGE 0x80A0
#define GL_FRAMEBUFFER_ATTACHMENT_COLOR_ENCODING 0x8210
#define GL_DRAW_BUFFER0 0x8825
#define GL_SAMPLER_BINDING 0x8919
#define GL_PIXEL_UNPACK_BUFFER 0x88EC
#define GL_PIXEL_UNPACK_BUFFER_BINDING 0x88EF
#define GL_SRGB 0x8C40
#define GL_SAMPLE_SHADING 0x8C36
#define GL_RASTERIZER_DISCARD 0x8C89
#define GL_DRAW_FRAMEBUFFER 0x8CA9
#define GL_FRAMEBUFFER_SRGB 0x8DB9
#define GL_SAMPLE_MASK 0x8E51
#define GL_PRIMITIVE_RESTART 0x8F9D
#define GL_FALSE 0
#define GL_TRUE 1
#define GL_ONE 1
#define GL_TRIANGLES 0x0004
#define GL_SRC_ALPHA 0x0302
#define GL_ONE_MINUS_SRC_ALPHA 0x0303
#define GL_CULL_FACE 0x0B44
#define GL_DEPTH_TEST 0x0B71
#define GL_VIEWPORT 0x0BA2
#define GL_BLEND 0x0BE2
#define GL_SCISSOR_BOX 0x0C10
#define GL_SCISSOR_TEST 0x0C11
#define GL_UNPACK_ALIGNMENT 0x0CF5
#define GL_MAX_TEXTURE_SIZE 0x0D33
#define GL_TEXTURE_2D 0x0DE1
#define GL_UNSIGNED_BYTE 0x1401
#define GL_FLOAT 0x1406
#define GL_RGBA 0x1908
#define GL_VERSION 0x1F02
#define GL_EXTENSIONS 0x1F03
#define GL_NEAREST 0x2600
#define GL_LINEAR 0x2601
#define GL_TEXTURE_MAG_FILTER 0x2800
#define GL_TEXTURE_MIN_FILTER 0x2801
#define GL_TEXTURE_WRAP_S 0x2802
#define GL_TEXTURE_WRAP_T 0x2803
#define GL_BLEND_DST_RGB 0x80C8
#define GL_BLEND_SRC_RGB 0x80C9
#define GL_BLEND_DST_ALPHA 0x80CA
#define GL_BLEND_SRC_ALPHA 0x80CB
#define GL_RGBA8 0x8058
#define GL_RED 0x1903
#define GL_R8 0x8229
#define GL_TEXTURE_BINDING_2D 0x8069
#define GL_CLAMP_TO_EDGE 0x812F
#define GL_TEXTURE0 0x84C0
#define GL_ACTIVE_TEXTURE 0x84E0
#define GL_BLEND_EQUATION_RGB 0x8009
#define GL_BLEND_EQUATION_ALPHA 0x883D
#define GL_ARRAY_BUFFER 0x8892
#define GL_ELEMENT_ARRAY_BUFFER 0x8893
#define GL_ARRAY_BUFFER_BINDING 0x8894
#define GL_ELEMENT_ARRAY_BUFFER_BINDING 0x8895
#define GL_STATIC_DRAW 0x88E4
#define GL_STREAM_DRAW 0x88E0
#define GL_COLOR 0x1800
#define GL_FRAGMENT_SHADER 0x8B30
#define GL_VERTEX_SHADER 0x8B31
#define GL_COMPILE_STATUS 0x8B81
#define GL_LINK_STATUS 0x8B82
#define GL_INFO_LOG_LENGTH 0x8B84
#define GL_CURRENT_PROGRAM 0x8B8D
#define GL_VERTEX_ARRAY_BINDING 0x85B5
#define GL_FRAMEBUFFER_BINDING 0x8CA6
#define GL_NUM_EXTENSIONS 0x821D
#define GL_CONTEXT_PROFILE_MASK 0x9126
#define GL_CONTEXT_COMPATIBILITY_PROFILE_BIT 0x00000002
#define GL_SHADING_LANGUAGE_VERSION 0x8B8C
// Compatibility-profile state only (see FFGL_COMPATIBILITY_ENTRY_POINTS).
#define GL_POLYGON_STIPPLE 0x0B42
#define GL_ALPHA_TEST 0x0BC0
#define GL_MAP_COLOR 0x0D10
#define GL_RED_SCALE 0x0D14
#define GL_RED_BIAS 0x0D15
#define GL_GREEN_SCALE 0x0D18
#define GL_GREEN_BIAS 0x0D19
#define GL_BLUE_SCALE 0x0D1A
#define GL_BLUE_BIAS 0x0D1B
#define GL_ALPHA_SCALE 0x0D1C
#define GL_ALPHA_BIAS 0x0D1D

// X(result, name without the gl prefix, parameter list, argument list)
#define FFGL_ENTRY_POINTS(X)                                                                 \
  X(const GLubyte*, GetString, (GLenum name), (name))                                        \
  X(void, GetIntegerv, (GLenum pname, GLint* data), (pname, data))                           \
  X(const GLubyte*, GetStringi, (GLenum name, GLuint index), (name, index))                  \
  X(GLenum, GetError, (), ())                                                                \
  X(GLboolean, IsEnabled, (GLenum cap), (cap))                                               \
  X(void, Enable, (GLenum cap), (cap))                                                       \
  X(void, Disable, (GLenum cap), (cap))                                                      \
  X(void, BlendFuncSeparate, (GLenum srcRGB, GLenum dstRGB, GLenum srcA, GLenum dstA),       \
    (srcRGB, dstRGB, srcA, dstA))                                                            \
  X(void, BlendEquationSeparate, (GLenum modeRGB, GLenum modeAlpha), (modeRGB, modeAlpha))   \
  X(void, ColorMaski, (GLuint buf, GLboolean r, GLboolean g, GLboolean b, GLboolean a),     \
    (buf, r, g, b, a))                                                                       \
  X(void, PolygonMode, (GLenum face, GLenum mode), (face, mode))                             \
  X(void, BindSampler, (GLuint unit, GLuint sampler), (unit, sampler))                       \
  X(void, GetFramebufferAttachmentParameteriv,                                               \
    (GLenum target, GLenum attachment, GLenum pname, GLint* params),                         \
    (target, attachment, pname, params))                                                     \
  X(void, Scissor, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height))   \
  X(void, ClearBufferfv, (GLenum buffer, GLint drawBuffer, const GLfloat* value),           \
    (buffer, drawBuffer, value))                                                             \
  X(GLuint, CreateShader, (GLenum type), (type))                                             \
  X(void, ShaderSource,                                                                      \
    (GLuint shader, GLsizei count, const GLchar* const* source, const GLint* length),        \
    (shader, count, source, length))                                                         \
  X(void, CompileShader, (GLuint shader), (shader))                                          \
  X(void, GetShaderiv, (GLuint shader, GLenum pname, GLint* params), (shader, pname, params)) \
  X(void, GetShaderInfoLog, (GLuint shader, GLsizei size, GLsizei* length, GLchar* log),     \
    (shader, size, length, log))                                                             \
  X(void, DeleteShader, (GLuint shader), (shader))                                           \
  X(GLuint, CreateProgram, (), ())                                                           \
  X(void, AttachShader, (GLuint program, GLuint shader), (program, shader))                  \
  X(void, LinkProgram, (GLuint program), (program))                                          \
  X(void, GetProgramiv, (GLuint program, GLenum pname, GLint* params),                       \
    (program, pname, params))                                                                \
  X(void, GetProgramInfoLog, (GLuint program, GLsizei size, GLsizei* length, GLchar* log),   \
    (program, size, length, log))                                                            \
  X(void, DeleteProgram, (GLuint program), (program))                                        \
  X(void, UseProgram, (GLuint program), (program))                                           \
  X(GLint, GetUniformLocation, (GLuint program, const GLchar* name), (program, name))        \
  X(void, Uniform1f, (GLint location, GLfloat v0), (location, v0))                           \
  X(void, Uniform2f, (GLint location, GLfloat v0, GLfloat v1), (location, v0, v1))           \
  X(void, GenVertexArrays, (GLsizei n, GLuint* arrays), (n, arrays))                         \
  X(void, DeleteVertexArrays, (GLsizei n, const GLuint* arrays), (n, arrays))                \
  X(void, BindVertexArray, (GLuint array), (array))                                          \
  X(void, GenBuffers, (GLsizei n, GLuint* buffers), (n, buffers))                            \
  X(void, DeleteBuffers, (GLsizei n, const GLuint* buffers), (n, buffers))                   \
  X(void, BindBuffer, (GLenum target, GLuint buffer), (target, buffer))                      \
  X(void, BufferData, (GLenum target, GLsizeiptr size, const void* data, GLenum usage),      \
    (target, size, data, usage))                                                             \
  X(void, EnableVertexAttribArray, (GLuint index), (index))                                  \
  X(void, VertexAttribPointer,                                                               \
    (GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride,            \
     const void* pointer),                                                                   \
    (index, size, type, normalized, stride, pointer))                                        \
  X(void, DrawArrays, (GLenum mode, GLint first, GLsizei count), (mode, first, count))       \
  X(void, GenTextures, (GLsizei n, GLuint* textures), (n, textures))                         \
  X(void, DeleteTextures, (GLsizei n, const GLuint* textures), (n, textures))                \
  X(void, BindTexture, (GLenum target, GLuint texture), (target, texture))                   \
  X(void, ActiveTexture, (GLenum texture), (texture))                                        \
  X(void, TexParameteri, (GLenum target, GLenum pname, GLint param), (target, pname, param)) \
  X(void, PixelStorei, (GLenum pname, GLint param), (pname, param))                          \
  X(void, TexImage2D,                                                                        \
    (GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height,        \
     GLint border, GLenum format, GLenum type, const void* pixels),                          \
    (target, level, internalformat, width, height, border, format, type, pixels))            \
  X(void, TexSubImage2D,                                                                     \
    (GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width,                \
     GLsizei height, GLenum format, GLenum type, const void* pixels),                        \
    (target, level, xoffset, yoffset, width, height, format, type, pixels))

// Calls that only a compatibility-profile context has. A core-only driver
// may lack them without failing the loading: they stay null there and are
// called only in a context that reports the compatibility profile.
#define FFGL_COMPATIBILITY_ENTRY_POINTS(X)                                                   \
  X(void, GetFloatv, (GLenum pname, GLfloat* data), (pname, data))                           \
  X(void, PixelTransferf, (GLenum pname, GLfloat param), (pname, param))

namespace ffgl {

struct GLEntryPoints {
#define FFGL_DECLARE_ENTRY(ret, name, params, args) ret(FFGL_APIENTRY* name) params = nullptr;
  FFGL_ENTRY_POINTS(FFGL_DECLARE_ENTRY)
  FFGL_COMPATIBILITY_ENTRY_POINTS(FFGL_DECLARE_ENTRY)
#undef FFGL_DECLARE_ENTRY
};

// The process-wide table every GL call of the plug-in goes through.
extern GLEntryPoints glEntryPoints;

enum class GLLoad {
  kLoaded,
  // Nothing answers GL_VERSION: no context is current (a host probing the
  // plug-in before it has one). Worth trying again later.
  kNoContext,
  // A context is current but the plug-in cannot draw with it: not desktop
  // OpenGL, or an entry point the plug-in calls is missing (a null call
  // would crash the host). Trying again cannot help.
  kUnusable,
};

// Resolves every entry point of the table for the current context; the
// table is only replaced when the loading succeeds.
GLLoad TryLoadGLEntryPoints();
inline bool LoadGLEntryPoints() { return TryLoadGLEntryPoints() == GLLoad::kLoaded; }

namespace gl {

// glEnable(cap) and so on, each a call through the table.
#define FFGL_DECLARE_CALL(ret, name, params, args) \
  inline ret gl##name params { return glEntryPoints.name args; }
FFGL_ENTRY_POINTS(FFGL_DECLARE_CALL)
FFGL_COMPATIBILITY_ENTRY_POINTS(FFGL_DECLARE_CALL)
#undef FFGL_DECLARE_CALL

}  // namespace gl
}  // namespace ffgl

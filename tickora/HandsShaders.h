// SPDX-License-Identifier: GPL-3.0-or-later
// The Classic face: three rounded hands measured per pixel by signed distance.
#pragma once

#include "tickora/ShapeConstants.h"

namespace tickora {

// Both hands programs come from one source: the whole one measures all three
// hands, the one-hand one (ONE_HAND defined) only the hand `only` names, for
// the parts of the output that only that hand can reach (there the others'
// distances are beyond kInkEdge, so the minimum of the three is that hand's
// distance wherever it matters).
inline const char* const kHandsVertexBody = R"(
layout( location = 0 ) in vec4 vPosition;
layout( location = 1 ) in vec2 vUV;
uniform vec2 resolution;
uniform float lengt;
uniform float lengt2;
uniform float lengt3;
uniform float width;
uniform float w3;
uniform float cornerRound;
uniform float angle;
uniform float angle2;
uniform float angle3;
uniform float cR;
uniform float cG;
uniform float cB;
uniform float colourAlpha;
#ifdef ONE_HAND
uniform float only;
#endif
out vec2 uv;
// What is the same for every pixel is worked out once per corner rather than
// once per pixel, with the very operations the per-pixel form would use, so
// the picture stays bit for bit the same: the cosine and sine of each hand's
// rotation, and each hand's box (centre y, half width, half length, corner
// radius). The colour, alpha and size come the same way: the same bits,
// cheaper to read per pixel than uniforms on a software rasteriser.
flat out vec4 turn12;
flat out vec2 turn3;
flat out vec4 hand1;
flat out vec4 hand2;
flat out vec4 hand3;
flat out vec4 colour;
flat out vec2 size;

vec2 cosSin(float turns)
{
    float phi = -2.0 * kPi * turns;
    return vec2(cos(phi), sin(phi));
}

void main()
{
    gl_Position = vPosition;
    uv = vUV;
    colour = vec4(cR, cG, cB, colourAlpha);
    size = resolution;
    turn12 = vec4(cosSin(angle), cosSin(angle2));
    turn3 = cosSin(angle3);

    float r = cornerRound * kHandSizeScale - kHandSizeOffset;
    float w = width * kHandSizeScale - kHandSizeOffset;
    hand1 = vec4(kHandLengthScale * lengt - kHandTailShift * w, w, kHandLengthScale * lengt, r);
    hand2 = vec4(kHandLengthScale * lengt2 - kHandTailShift * w, w, kHandLengthScale * lengt2, r);
    w = (w + kHandSizeOffset) * w3 - kHandSizeOffset;
    r = cornerRound * kHandSizeScale * w3 - kHandSizeOffset;
    hand3 = vec4(kHandLengthScale * lengt3 - kHandTailShift * w, w, kHandLengthScale * lengt3, r);
#ifdef ONE_HAND
    if (only == 1.0) {
        turn12.xy = turn12.zw;
        hand1 = hand2;
    } else if (only == 2.0) {
        turn12.xy = turn3;
        hand1 = hand3;
    }
    hand2.x = 1.0;  // the one-hand program's distance that gives no ink
#endif
}
)";

inline const char* const kHandsFragmentBody = R"(
in vec2 uv;
flat in vec4 turn12;
flat in vec2 turn3;
flat in vec4 hand1;
flat in vec4 hand2;
flat in vec4 hand3;
flat in vec4 colour;
flat in vec2 size;
out vec4 fragColor;

// Turns, clockwise from the top, given as (cos, sin) of -2 PI turns: the
// hand then lies along +y.
vec2 rotate(vec2 p, vec2 cs)
{
    float c = cs.x;
    float s = cs.y;
    return vec2(p.x * c + p.y * s, -p.x * s + p.y * c);
}

float roundedBox(vec2 p, vec2 b, float r)
{
    return length(max(abs(p) - b + r, 0.0)) - r;
}

void main()
{
    vec2 st = uv - 0.5;
    st.y = st.y * size.y / size.x;
    st = st * kFaceUnitsAcross;
    vec2 o = st;

#ifdef ONE_HAND
    // Through a minimum as in the whole program (with a distance that gives
    // no ink, which the compiler cannot see), so that it compiles the
    // distance and what follows it the same way, to the bit.
    float d1 = roundedBox(rotate(o, turn12.xy) - vec2(0.0, hand1.x), hand1.yz, hand1.w);
    float d = min(d1, hand2.x);
#else
    float d1 = roundedBox(rotate(o, turn12.xy) - vec2(0.0, hand1.x), hand1.yz, hand1.w);
    float d2 = roundedBox(rotate(o, turn12.zw) - vec2(0.0, hand2.x), hand2.yz, hand2.w);
    float d3 = roundedBox(rotate(o, turn3) - vec2(0.0, hand3.x), hand3.yz, hand3.w);

    float d = min(min(d1, d2), d3);
#endif
    float coverage = 1.0 - smoothstep(kInkEdgeStart, kInkEdge, d);
    fragColor = vec4(colour.rgb, coverage * colour.a);
}
)";

inline const char* const kHandsPrefix = "#version 410 core\n" TICKORA_HANDS_GLSL;
inline const char* const kOneHandPrefix = "#version 410 core\n#define ONE_HAND\n" TICKORA_HANDS_GLSL;

// The face away from the hands, where the hands program's coverage is
// exactly 0: the same colour and alpha it writes there, for the part of the
// output that cannot hold a hand (tickora/HandsBox.h).
inline const char* const kEmptyFaceVertexShader = R"(#version 410 core
layout( location = 0 ) in vec4 vPosition;
void main()
{
    gl_Position = vPosition;
}
)";

inline const char* const kEmptyFaceFragmentShader = R"(#version 410 core
uniform float cR;
uniform float cG;
uniform float cB;
out vec4 fragColor;
void main()
{
    fragColor = vec4(cR, cG, cB, 0.0);
}
)";

}  // namespace tickora

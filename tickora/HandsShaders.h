// The Classic face: three rounded hands measured per pixel by signed distance.
#pragma once

namespace tickora {

inline const char* const kHandsVertexShader = R"(#version 410 core
layout( location = 0 ) in vec4 vPosition;
layout( location = 1 ) in vec2 vUV;
out vec2 uv;
void main()
{
    gl_Position = vPosition;
    uv = vUV;
}
)";

inline const char* const kHandsFragmentShader = R"(#version 410 core
uniform vec2 resolution;
uniform float lengt;
uniform float lengt2;
uniform float lengt3;
uniform float width;
uniform float w3;
uniform float cornerRound;
uniform float cR;
uniform float cG;
uniform float cB;
uniform float angle;
uniform float angle2;
uniform float angle3;
in vec2 uv;
out vec4 fragColor;

const float PI = 3.14159265359;

// Turns, clockwise from the top: the hand then lies along +y.
vec2 rotate(vec2 p, float turns)
{
    float phi = -2.0 * PI * turns;
    float c = cos(phi);
    float s = sin(phi);
    return vec2(p.x * c + p.y * s, -p.x * s + p.y * c);
}

float roundedBox(vec2 p, vec2 b, float r)
{
    return length(max(abs(p) - b + r, 0.0)) - r;
}

void main()
{
    vec2 st = uv - 0.5;
    st.y = st.y * resolution.y / resolution.x;
    st = st * 10.0;
    vec2 o = st;

    float r = cornerRound * 0.3 - 0.1;
    float w = width * 0.3 - 0.1;

    vec2 p = rotate(o, angle);
    float d1 = roundedBox(p - vec2(0.0, 2.0 * lengt - 0.5 * w), vec2(w, 2.0 * lengt), r);
    p = rotate(o, angle2);
    float d2 = roundedBox(p - vec2(0.0, 2.0 * lengt2 - 0.5 * w), vec2(w, 2.0 * lengt2), r);

    w = (w + 0.1) * w3 - 0.1;
    r = cornerRound * 0.3 * w3 - 0.1;
    p = rotate(o, angle3);
    float d3 = roundedBox(p - vec2(0.0, 2.0 * lengt3 - 0.5 * w), vec2(w, 2.0 * lengt3), r);

    float d = min(min(d1, d2), d3);
    float coverage = 1.0 - smoothstep(0.1, 0.105, d);
    fragColor = vec4(cR, cG, cB, coverage);
}
)";

}  // namespace tickora

// The read-out: one full-screen pass per character. The vertex stage works
// out, once per corner, where the pixel lies in the character's box (box
// coordinates are linear in the quad's, so interpolation is exact); the
// fragment stage then only compares two numbers for every pixel outside the
// box and samples the atlas only inside it.
//
// Box layout, in pixels of the output:
//   pitch      distance between neighbouring digits ("pitch" = 2 / (n + 1),
//              clip units), so the row always spans the output's width;
//   cell side  2.3 pitches x Scale / 0.91, then shrunk if the glyphs would
//              not fit the height; Aspect stretches it vertically (0.5 is
//              square);
//   centre     "left" (clip units) spread by Spacing and Scale about the
//              output's centre; separators are raised by "addH".
// The atlas cell is square and the glyphs are centred in it, so glyphs of
// neighbouring boxes may overlap their transparent margins without harm.
#pragma once

namespace tickora {

inline const char* const kDigitalVertexShader = R"(#version 410 core
layout( location = 0 ) in vec4 vPosition;
layout( location = 1 ) in vec2 vUV;
uniform vec2 resolution;
uniform float scale;
uniform float spacing;
uniform float h;
uniform float left;
uniform float addH;
uniform float pitch;
out vec2 box;
void main()
{
    gl_Position = vPosition;
    vec2 res = max(resolution, vec2(1.0));
    float grow = clamp(scale, 0.0, 4.0) / 0.91;
    float spread = (0.4 + 0.6 * clamp(spacing, 0.0, 4.0) / 0.63) * grow;
    float stretch = clamp(h, 0.02, 4.0) * 2.0;
    float side = 2.3 * pitch * 0.5 * res.x * grow;
    side = min(side, 1.5 * res.y / stretch);
    vec2 size = max(vec2(side, side * stretch), vec2(1e-3));
    vec2 centre = (vec2(left * spread, addH * grow) * 0.5 + 0.5) * res;
    box = (vUV * res - centre) / size;
}
)";

inline const char* const kDigitalFragmentShader = R"(#version 410 core
uniform sampler2D atlas;
uniform vec2 maxst;
uniform float w;
uniform float count;
uniform float black;
uniform float atlasFill;
uniform float cR;
uniform float cG;
uniform float cB;
in vec2 box;
out vec4 fragColor;
void main()
{
    if (!(max(abs(box.x), abs(box.y)) <= 0.5)) {
        fragColor = vec4(0.0);
        return;
    }
    // Atlas rows run down the image; the box's y runs up the output.
    vec2 cell = vec2(mod(count, 4.0), floor(count / 4.0));
    vec2 st = (cell + vec2(box.x + 0.5, 0.5 - box.y)) * w;
    float coverage = texture(atlas, st * maxst * atlasFill).r;
    fragColor = vec4(cR, cG, cB, coverage * clamp(black, 0.0, 1.0));
}
)";

}  // namespace tickora

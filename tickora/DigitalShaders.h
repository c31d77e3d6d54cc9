// SPDX-License-Identifier: GPL-3.0-or-later
// The read-out: one full-screen pass per character. The vertex stage works
// out, once per corner, where the pixel lies in the character's box and in
// the atlas (both are linear in the quad's coordinates, so interpolation is
// exact); the fragment stage then only compares numbers for every pixel
// outside the box and samples the atlas, one gather, only inside it.
//
// Box layout, in pixels of the output. Each box is centred at "left" (clip
// units across the width) and half the height, a separator raised by
// "addH" box heights; everything else only sizes and shapes the box:
//   pitch      distance between neighbouring digits ("pitch" = 2 / (n + 1),
//              clip units), so the row always spans the output's width;
//   cell side  1.15 pitches of the width x Scale / 0.91: at the defaults a
//              digit's box is as wide as a digit's advance in the font, so
//              the glyphs sit at their natural distance;
//   fit        when the glyphs would be taller than the output allows, the
//              box shrinks until they fit;
//   Aspect     stretches the box vertically, 2^(2 Aspect - 1): 0.5 square,
//              0 half as tall, 1 twice as tall;
//   Spacing    narrows the box, leaving more room between the glyphs:
//              1.19 x as wide at 0, 1 x at the default 0.63, 0.92 x at 1;
//   Colon width also narrows a separator's box to the slot the layout gives
//              it, so a separator does not paint over its neighbours (and
//              costs fewer fragments).
// The atlas cell is square and the glyphs are centred in it, so glyphs of
// neighbouring boxes may overlap their transparent margins without harm.
// The font's line (ascent + descent) fills the middle 0.9 of a cell, so the
// box's top and bottom 5 % never hold ink and are not sampled.
// Out-of-range values from the host are clamped before use.
#pragma once

#include "tickora/ShapeConstants.h"

namespace tickora {

inline const char* const kDigitalVertexShader = "#version 410 core\n" TICKORA_GLYPH_BOX_GLSL R"(
layout( location = 0 ) in vec4 vPosition;
layout( location = 1 ) in vec2 vUV;
uniform vec2 resolution;
uniform float scale;
uniform float spacing;
uniform float h;
uniform float dpw;
uniform float count;
uniform float separator;
uniform float left;
uniform float addH;
uniform float pitch;
uniform float w;
uniform vec2 maxst;
uniform float atlasFill;
uniform sampler2D atlas;
uniform float black;
uniform float cR;
uniform float cG;
uniform float cB;
uniform float colourAlpha;
out vec2 box;
out vec2 texel;
flat out float halfWidth;
flat out vec2 imageSize;
// What the fragment stage would otherwise read from uniforms at every pixel:
// the same values, passed flat (a software rasteriser reads a flat input
// more cheaply than a uniform).
flat out vec3 colour;
flat out float visibility;
flat out float alphaScale;
void main()
{
    gl_Position = vPosition;
    colour = vec3(cR, cG, cB);
    visibility = clamp(black, 0.0, 1.0);
    alphaScale = colourAlpha;
    vec2 res = max(resolution, vec2(1.0));
    float grow = clamp(scale, 0.0, kLargestScale) / kNaturalScale;
    float narrow = 1.0 / (1.0 + kSpacingNarrowing * (clamp(spacing, 0.0, 1.0) - kNaturalSpacing));
    float stretch = exp2(2.0 * clamp(h, 0.0, 1.0) - 1.0);
    float side = kCellSidePitches * pitch * res.x * grow;
    side *= min(1.0, kFitHeight * res.y / max(side * stretch, kSmallestBoxSide));
    vec2 size = max(vec2(side * narrow, side * stretch), vec2(kSmallestBoxSide));
    vec2 centre = vec2((left * 0.5 + 0.5) * res.x, 0.5 * res.y + addH * size.y);
    box = (vUV * res - centre) / size;
    // A separator keeps to its own slot, narrower than a digit's, but never
    // so narrow that a bold colon loses its edges.
    float slot = (1.0 - 0.5 * clamp(dpw, 0.0, 1.0)) * pitch * 0.5 * res.x / size.x;
    halfWidth = separator > 0.5 ? clamp(0.5 * slot, 0.16, 0.5) : 0.5;
    // Where the box lies in the atlas, in texels of the uploaded image:
    // linear in the quad too. Atlas rows run down the image; the box's y
    // runs up the output.
    vec2 cell = vec2(mod(count, 4.0), floor(count / 4.0));
    imageSize = vec2(textureSize(atlas, 0)) * atlasFill;
    texel = (cell + vec2(box.x + 0.5, 0.5 - box.y)) * w * maxst * imageSize;
}
)";

inline const char* const kDigitalFragmentShader = R"(#version 410 core
uniform sampler2D atlas;
in vec2 box;
in vec2 texel;
flat in float halfWidth;
flat in vec2 imageSize;
flat in vec3 colour;
flat in float visibility;
flat in float alphaScale;
out vec4 fragColor;
void main()
{
    if (!(abs(box.x) <= halfWidth && abs(box.y) <= 0.45)) discard;
    // Bilinear by hand: the texture magnifies with GL_NEAREST, which would
    // show the atlas texels as steps on large glyphs. One gather brings the
    // four texels; the footprint stays inside the uploaded image.
    vec2 p = clamp(texel, vec2(0.5), imageSize - 0.5);
    vec2 f = fract(p - 0.5);
    vec4 t = textureGather(atlas, p / vec2(textureSize(atlas, 0)), 0);
    // Gather order: texel offsets (0,1), (1,1), (1,0), (0,0).
    float coverage = mix(mix(t.w, t.z, f.x), mix(t.x, t.y, f.x), f.y);
    fragColor = vec4(colour, coverage * visibility * alphaScale);
}
)";

}  // namespace tickora

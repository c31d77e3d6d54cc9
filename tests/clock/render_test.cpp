// SPDX-License-Identifier: GPL-3.0-or-later
// What the clock draws, read back from pixels, and what it leaves behind in
// the GL context. The instance is driven directly, so nothing restores GL
// state on its behalf. Runs with TZ=UTC.
#include "tests/clock/ClockFixture.h"
#include "tests/support/FontChoice.h"
#include "host/Ink.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ffgl::gl;

using namespace clocktest;

namespace {

constexpr double kPi = 3.14159265358979323846;

// The Classic face is 10 units across the output's width, centred, with
// square units; y runs up.
struct Face {
  const host::Pixels& p;
  double Unit() const { return p.width / 10.0; }
  bool InkAt(double ux, double uy) const {
    const int x = static_cast<int>(std::lround(p.width * 0.5 + ux * Unit()));
    const int y = static_cast<int>(std::lround(p.height * 0.5 - uy * Unit()));
    return x >= 0 && y >= 0 && x < p.width && y < p.height && Ink(p, x, y);
  }
  // Ink along a ray from the centre, in units, stepping by one pixel.
  double ReachAlong(double degrees) const {
    const double a = degrees * kPi / 180.0;
    double reach = 0.0;
    for (double r = 0.0; r < 5.0; r += 1.0 / Unit())
      if (InkAt(r * std::sin(a), r * std::cos(a))) reach = r;
    return reach;
  }
  // Inked pixels across a hand: along a row (horizontal hand) or a column.
  int ThicknessOfRow(double ux) const {
    const int x = static_cast<int>(std::lround(p.width * 0.5 + ux * Unit()));
    int n = 0;
    for (int y = 0; y < p.height; ++y) n += Ink(p, x, y);
    return n;
  }
  int ThicknessOfColumn(double uy) const {
    const int y = static_cast<int>(std::lround(p.height * 0.5 - uy * Unit()));
    int n = 0;
    for (int x = 0; x < p.width; ++x) n += Ink(p, x, y);
    return n;
  }
};

}  // namespace

class Hands : public ClockFixture {};

TEST_F(Hands, ThreeOClockTicking) {
  Make(400, 400);
  Set("Type", 1.0f);
  Set("Smooth time", 0.0f);
  FrozenNow() = Utc(2026, 12, 8, 15, 0, 0, 900);
  const host::Pixels p = Frame();
  const Face face{p};
  // Hour hand right, 4 x 0.4 units long; minute and second hands up.
  EXPECT_NEAR(face.ReachAlong(90.0), 1.7, 0.06);
  EXPECT_NEAR(face.ReachAlong(0.0), 2.5, 0.06);
  EXPECT_TRUE(face.InkAt(0.0, 2.3));  // minute hand beyond the second hand
  EXPECT_LT(face.ReachAlong(180.0), 0.2);
  EXPECT_LT(face.ReachAlong(270.0), 0.2);
  EXPECT_FALSE(face.InkAt(1.2, 1.2));
}

TEST_F(Hands, HalfPastMidnightSmooth) {
  Make(400, 400);
  Set("Type", 1.0f);
  FrozenNow() = Utc(2026, 12, 8, 0, 30, 0);
  const host::Pixels p = Frame();
  const Face face{p};
  // At 1.2 units from the centre: the second hand at 0 degrees, the hour
  // hand halfway between 12 and 1 (15 degrees), the minute hand at 180.
  std::vector<std::pair<int, int>> runs;
  bool inside = false;
  for (int d = -90; d < 270; ++d) {
    const double a = d * kPi / 180.0;
    const bool ink = face.InkAt(1.2 * std::sin(a), 1.2 * std::cos(a));
    if (ink && !inside) runs.push_back({d, d});
    if (ink) runs.back().second = d;
    inside = ink;
  }
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_NEAR((runs[0].first + runs[0].second) * 0.5, 0.0, 1.0);
  EXPECT_NEAR((runs[1].first + runs[1].second) * 0.5, 15.0, 1.0);
  EXPECT_NEAR((runs[2].first + runs[2].second) * 0.5, 180.0, 1.0);
  // 12:30 reads the same as 0:30.
  FrozenNow() = Utc(2026, 12, 8, 12, 30, 0);
  EXPECT_EQ(Frame().rgba, p.rgba);
}

namespace {

void ExpectUndistorted(const host::Pixels& p) {
  const Face face{p};
  // The hour hand (pointing right) and the minute hand (up) are as thick as
  // each other and as long as on a square output, in units of the width.
  const int across = face.ThicknessOfColumn(1.2);   // minute hand, horizontally
  const int down = face.ThicknessOfRow(1.0);        // hour hand, vertically
  EXPECT_NEAR(across, 0.18 * face.Unit(), 2.0);
  EXPECT_NEAR(down, across, 1.0);
  EXPECT_NEAR(face.ReachAlong(90.0), 1.7, 0.06);
  EXPECT_GT(face.ReachAlong(0.0), 2.3);
}

}  // namespace

TEST_F(Hands, WideOutputHasSquareUnits) {
  Make(800, 400);
  Set("Type", 1.0f);
  Set("Smooth time", 0.0f);
  FrozenNow() = Utc(2026, 12, 8, 3, 0, 30);  // second hand down, out of the way
  ExpectUndistorted(Frame());
}

TEST_F(Hands, WideOutputAfterResizeFromSquare) {
  Make(400, 400);
  Set("Type", 1.0f);
  Set("Smooth time", 0.0f);
  FrozenNow() = Utc(2026, 12, 8, 3, 0, 30);
  Frame();
  ResizeTo(800, 400);
  ExpectUndistorted(Frame());
}

class Readout : public ClockFixture {};

TEST_F(Readout, GlyphCentresFollowTheLayout) {
  for (auto size : {std::pair<int, int>{640, 360}, {1280, 300}}) {
    Make(size.first, size.second);
    FrozenNow() = Utc(2026, 12, 8, 0, 0, 0);
    const host::Pixels p = Frame();
    const std::vector<InkRun> runs = InkColumns(p);
    // 00:00:00 with the defaults: "left" of each character, clip units.
    const double left[8] = {-0.675556, -0.453333, -0.287222, -0.111111,
                            0.111111,  0.277222,  0.453333,  0.675556};
    ASSERT_EQ(runs.size(), 8u) << size.first;
    for (size_t i = 0; i < 8; ++i)
      EXPECT_NEAR(runs[i].Centre(), (left[i] + 1.0) * 0.5 * p.width, p.width * 0.004)
          << size.first << " glyph " << i;

    // The row sits in the middle of the output, inside it.
    int top = p.height, bottom = -1;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x)
        if (Ink(p, x, y)) top = std::min(top, y), bottom = std::max(bottom, y);
    EXPECT_GT(top, 0);
    EXPECT_LT(bottom, p.height - 1);
    EXPECT_NEAR((top + bottom) * 0.5, p.height * 0.5, p.height * 0.05) << size.first;
    clock->DeInitGL();
  }
}

TEST_F(Readout, GlyphsAreUpright) {
  Make(640, 360);
  Set("Show Seconds", 0.0f);
  FrozenNow() = Utc(2026, 12, 8, 7, 7, 0);
  const host::Pixels p = Frame();
  const std::vector<InkRun> runs = InkColumns(p);
  ASSERT_EQ(runs.size(), 5u);
  // The "7": its widest row (the bar) is at the top of its ink, and its stem
  // runs down to the left of the bar's centre.
  const InkRun seven = runs[1];
  int top = -1, bottom = -1, widestRow = -1, widest = 0;
  for (int y = 0; y < p.height; ++y) {
    int n = 0;
    for (int x = seven.first; x <= seven.last; ++x) n += Ink(p, x, y);
    if (n > 0 && top < 0) top = y;
    if (n > 0) bottom = y;
    if (n > widest) widest = n, widestRow = y;
  }
  ASSERT_GT(bottom, top);
  EXPECT_LT(widestRow - top, (bottom - top) / 5);
  int stem = 0;
  for (int x = seven.first; x <= seven.last; ++x)
    if (Ink(p, x, bottom - 1)) stem = x;
  EXPECT_LT(stem, (seven.first + seven.last) / 2);
}

TEST_F(Readout, ColonAnimationsShowOnTheSeparators) {
  Make(640, 360);
  FrozenNow() = Utc(2026, 12, 8, 0, 0, 31, 250);
  const host::Pixels shown = Frame();
  const std::vector<InkRun> runs = InkColumns(shown);
  ASSERT_EQ(runs.size(), 8u);
  const InkRun separators[2] = {runs[2], runs[5]};
  const InkRun digit = runs[0];
  auto alphaOfSeparators = [&](const host::Pixels& p) {
    EXPECT_EQ(MaxAlpha(p, digit.first, digit.last), 255);
    const int a = MaxAlpha(p, separators[0].first, separators[0].last);
    EXPECT_EQ(MaxAlpha(p, separators[1].first, separators[1].last), a);
    return a;
  };
  EXPECT_EQ(alphaOfSeparators(shown), 255);

  Set("Colon animation", 1.0f);  // Blink: shown on odd seconds
  EXPECT_EQ(alphaOfSeparators(Frame()), 255);
  FrozenNow() = Utc(2026, 12, 8, 0, 0, 32, 250);
  EXPECT_EQ(alphaOfSeparators(Frame()), 0);

  // Fade: 1 - 0.25. Alpha composes as "over", so the framebuffer over
  // transparent black holds 0.75 (not 0.75 squared).
  Set("Colon animation", 2.0f);
  EXPECT_NEAR(alphaOfSeparators(Frame()), 0.75 * 255, 2);
  FrozenNow() = Utc(2026, 12, 8, 0, 0, 33, 0);
  EXPECT_EQ(alphaOfSeparators(Frame()), 255);

  Set("Colon animation", 3.0f);  // Hide
  EXPECT_EQ(alphaOfSeparators(Frame()), 0);
}

TEST_F(Readout, SeparatorShapeFollowsItsParameters) {
  Make(640, 360);
  FrozenNow() = Utc(2026, 12, 8, 0, 0, 0);
  auto separatorRows = [&]() {
    const host::Pixels p = Frame();
    const std::vector<InkRun> runs = InkColumns(p);
    EXPECT_EQ(runs.size(), 8u);
    double sum = 0.0, n = 0.0;
    for (int y = 0; y < p.height; ++y)
      for (int x = runs.at(2).first; x <= runs.at(2).last; ++x)
        if (Ink(p, x, y)) sum += y, n += 1.0;
    return std::make_pair(runs, n > 0 ? sum / n : 0.0);
  };
  const auto base = separatorRows();
  Set("Colon height", 0.25f);  // raised
  EXPECT_LT(separatorRows().second, base.second - 10.0);
  Set("Colon height", 0.05f);
  Set("Colon Left", 1.0f);  // moved left, digits stay
  const auto moved = separatorRows();
  EXPECT_LT(moved.first[2].Centre(), base.first[2].Centre() - 5.0);
  EXPECT_NEAR(moved.first[0].Centre(), base.first[0].Centre(), 0.5);
  Set("Colon Left", 0.55f);
  // "Colon width" is what the separators give up of a digit's pitch: at 0
  // they take a whole pitch and push the digits outwards.
  Set("Colon width", 0.0f);
  const auto wide = separatorRows();
  EXPECT_LT(wide.first[0].Centre(), base.first[0].Centre() - 5.0);
  EXPECT_GT(wide.first[7].Centre(), base.first[7].Centre() + 5.0);
}

namespace {

struct Extent {
  int left = 0, right = -1, top = 0, bottom = -1;
  double Width() const { return right - left + 1; }
  double Height() const { return bottom - top + 1; }
  double CentreX() const { return (left + right + 1) * 0.5; }
  double CentreY() const { return (top + bottom + 1) * 0.5; }
};

Extent InkExtent(const host::Pixels& p) {
  Extent e{p.width, -1, p.height, -1};
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (Ink(p, x, y)) {
        e.left = std::min(e.left, x);
        e.right = std::max(e.right, x);
        e.top = std::min(e.top, y);
        e.bottom = std::max(e.bottom, y);
      }
  return e;
}

}  // namespace

// Each glyph stays centred where the layout puts it; "Scale", "Spacing" and
// "Aspect" only size and shape the glyphs about those centres.
TEST_F(Readout, ScaleSpacingAndAspectShapeTheGlyphsAboutTheirCentres) {
  Make(640, 360);
  FrozenNow() = Utc(2026, 12, 8, 0, 0, 0);
  auto glyphs = [&]() {
    const host::Pixels p = Frame();
    std::vector<Extent> out;
    for (const InkRun& run : InkColumns(p)) {
      Extent e{run.first, run.last, p.height, -1};
      for (int y = 0; y < p.height; ++y)
        for (int x = run.first; x <= run.last; ++x)
          if (Ink(p, x, y)) e.top = std::min(e.top, y), e.bottom = std::max(e.bottom, y);
      out.push_back(e);
    }
    return out;
  };
  const std::vector<Extent> base = glyphs();
  ASSERT_EQ(base.size(), 8u);
  ASSERT_GT(base[0].Height(), 40.0);
  // Width and height of the first digit relative to the defaults'.
  auto shaped = [&](const char* name, float value, double width, double height) {
    Set(name, value);
    const std::vector<Extent> now = glyphs();
    ASSERT_EQ(now.size(), 8u) << name << " " << value;
    for (size_t i = 0; i < 8; ++i) {
      EXPECT_NEAR(now[i].CentreX(), base[i].CentreX(), 1.5) << name << " " << value << " " << i;
      // Separators are raised by a share of their box's height, which
      // Aspect changes; digits sit at mid-height.
      if (i != 2 && i != 5) {
        EXPECT_NEAR(now[i].CentreY(), base[i].CentreY(), 1.5) << name << " " << value << " " << i;
      }
    }
    EXPECT_NEAR(now[0].Width(), base[0].Width() * width, base[0].Width() * 0.08 + 1.0)
        << name << " " << value;
    EXPECT_NEAR(now[0].Height(), base[0].Height() * height, base[0].Height() * 0.05 + 1.0)
        << name << " " << value;
  };
  shaped("Scale", 0.455f, 0.5, 0.5);
  shaped("Scale", 0.91f, 1.0, 1.0);
  shaped("Aspect", 1.0f, 1.0, 2.0);
  shaped("Aspect", 0.0f, 1.0, 0.5);
  shaped("Aspect", 0.5f, 1.0, 1.0);
  // Spacing narrows the glyphs, leaving more room between them; at 0 they
  // widen until their ink meets, so the row's outer edges are measured.
  shaped("Spacing", 1.0f, 0.915, 1.0);
  const Extent row = InkExtent(Frame());
  Set("Spacing", 0.0f);
  const Extent wide = InkExtent(Frame());
  EXPECT_NEAR(wide.CentreX(), row.CentreX(), 1.5);
  EXPECT_NEAR(wide.Width() - row.Width(), base[0].Width() * (1.187 - 0.915), 3.0);
  EXPECT_NEAR(wide.Height(), row.Height(), 1.0);
}

TEST_F(Readout, ShortOutputShrinksTheGlyphsToFit) {
  Make(640, 360);
  FrozenNow() = Utc(2026, 12, 8, 0, 0, 0);
  const std::vector<InkRun> baseRuns = InkColumns(Frame());
  ASSERT_EQ(baseRuns.size(), 8u);
  const Extent base = InkExtent(Frame());
  clock->DeInitGL();
  // Far too short for glyphs sized by the width: the glyphs shrink, keeping
  // their proportions, inside the output, about the same centres.
  Make(1920, 160);
  const host::Pixels p = Frame();
  const Extent fitted = InkExtent(p);
  EXPECT_GT(fitted.top, 0);
  EXPECT_LT(fitted.bottom, 159);
  EXPECT_GT(fitted.Height(), 160 * 0.6);
  EXPECT_NEAR(fitted.CentreY(), 80.0, 160 * 0.05);
  const std::vector<InkRun> runs = InkColumns(p);
  ASSERT_EQ(runs.size(), 8u);
  const double left[8] = {-0.675556, -0.453333, -0.287222, -0.111111,
                          0.111111,  0.277222,  0.453333,  0.675556};
  for (size_t i = 0; i < 8; ++i)
    EXPECT_NEAR(runs[i].Centre(), (left[i] + 1.0) * 0.5 * 1920, 1920 * 0.004) << i;
  const double baseShape = (baseRuns[0].last - baseRuns[0].first + 1) / base.Height();
  EXPECT_NEAR((runs[0].last - runs[0].first + 1) / fitted.Height(), baseShape, baseShape * 0.06);
}

TEST_F(Readout, BlendsOverTheHostsPixelsInTheChosenColour) {
  for (float type : {0.0f, 2.0f}) {
    Make(320, 180);
    Set("Type", type);
    Set("Date", 9.0f);  // a countdown with digits to show
    FrozenNow() = Utc(2026, 12, 8, 8, 8, 8);
    context->BindFramebuffer();
    context->Clear(0.0f, 0.0f, 1.0f, 1.0f);
    ProcessOpenGLStruct frame{0, nullptr, context->Framebuffer()};
    ASSERT_EQ(clock->ProcessOpenGL(&frame), FF_SUCCESS);
    const host::Pixels p = context->ReadPixels();
    // The default colour (hue 1, saturation 2, brightness 2) is pure red,
    // blended over the host's opaque blue, which stays wherever no glyph is.
    int red = 0, blue = 0;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        const uint8_t* c = p.At(x, y);
        red += c[0] == 255 && c[2] == 0;
        blue += c[0] == 0 && c[2] == 255 && c[3] == 255;
        ASSERT_EQ(c[1], 0) << x << "," << y;
        ASSERT_NEAR(c[0] + c[2], 255, 1) << x << "," << y;
      }
    EXPECT_GT(red, 300) << type;
    EXPECT_GT(blue, p.width * p.height * 3 / 4) << type;
    clock->DeInitGL();
  }
}

TEST_F(Readout, MagnifiedGlyphsAreSmoothNotBlocky) {
  // HH:MM at 640 wide draws each glyph about 1.5 times its atlas size, and
  // "Aspect" 1 stretches it twice as tall. Sampled texel by texel, every
  // anti-aliased edge pixel would repeat its neighbour about half the time;
  // interpolated, edges are gradients.
  Make(640, 360);
  Set("Show Seconds", 0.0f);
  FrozenNow() = Utc(2026, 12, 8, 10, 40, 0);
  for (float aspect : {0.5f, 1.0f}) {
    Set("Aspect", aspect);
    const host::Pixels p = Frame();
    int partial = 0, repeatsLeft = 0, repeatsAbove = 0;
    for (int y = 1; y < p.height; ++y)
      for (int x = 1; x < p.width; ++x) {
        const int a = p.At(x, y)[3];
        if (a < 16 || a > 239) continue;
        ++partial;
        repeatsLeft += p.At(x - 1, y)[3] == a;
        repeatsAbove += p.At(x, y - 1)[3] == a;
      }
    ASSERT_GT(partial, 1000) << aspect;
    EXPECT_LT(static_cast<double>(repeatsLeft) / partial, 0.2) << aspect;
    EXPECT_LT(static_cast<double>(repeatsAbove) / partial, 0.3) << aspect;
  }
}

TEST_F(Readout, SeparatorsSitMidHeightOnAnyAspect) {
  for (auto size : {std::pair<int, int>{640, 360}, {600, 1000}, {1920, 400}}) {
    Make(size.first, size.second);
    FrozenNow() = Utc(2026, 12, 8, 0, 0, 0);
    const host::Pixels p = Frame();
    const std::vector<InkRun> runs = InkColumns(p);
    ASSERT_EQ(runs.size(), 8u) << size.first;
    auto rows = [&](const InkRun& run) {
      int top = p.height, bottom = -1;
      for (int y = 0; y < p.height; ++y)
        for (int x = run.first; x <= run.last; ++x)
          if (Ink(p, x, y)) top = std::min(top, y), bottom = std::max(bottom, y);
      return std::make_pair(top, bottom);
    };
    const auto digit = rows(runs[0]);
    const auto colon = rows(runs[2]);
    const double digitHeight = digit.second - digit.first;
    // The colon's dots lie within the digits' height, about its middle.
    EXPECT_GT(colon.first, digit.first) << size.first;
    EXPECT_LT(colon.second, digit.second) << size.first;
    EXPECT_NEAR((colon.first + colon.second) * 0.5, (digit.first + digit.second) * 0.5,
                digitHeight * 0.12)
        << size.first;
    clock->DeInitGL();
  }
}

class Atlas : public ClockFixture {};

TEST_F(Atlas, RebuiltOncePerFontOrStyleChange) {
  Make(320, 180);
  const float serif = testing_support::FontValue(clock->FontNames(), testing_support::kSerifFamily);
  const float sans = testing_support::FontValue(clock->FontNames(), testing_support::kSansFamily);
  FrozenNow() = Utc(2026, 12, 8, 8, 8, 8);
  EXPECT_EQ(clock->AtlasRebuilds(), 0);
  Frame();
  EXPECT_EQ(clock->AtlasRebuilds(), 1);
  Frame();
  EXPECT_EQ(clock->AtlasRebuilds(), 1);

  Set("Font", static_cast<float>(clock->CurrentFont()));  // no change
  Frame();
  EXPECT_EQ(clock->AtlasRebuilds(), 1);
  Set("Font", serif + 0.7f);
  Set("Font", serif + 0.2f);  // still the same family
  EXPECT_EQ(clock->CurrentFont(), static_cast<int>(serif));
  Frame();
  EXPECT_EQ(clock->AtlasRebuilds(), 2);
  Frame();
  EXPECT_EQ(clock->AtlasRebuilds(), 2);

  // A new width rasterises the glyphs again for it, once; a new height
  // alone does not.
  ResizeTo(640, 360);
  ResizeTo(640, 300);
  Frame();
  EXPECT_EQ(clock->AtlasRebuilds(), 3);
  ResizeTo(320, 180);
  const host::Pixels regular = Frame();
  EXPECT_EQ(clock->AtlasRebuilds(), 4);
  ResizeTo(320, 240);
  Frame();
  ResizeTo(320, 180);
  Frame();
  EXPECT_EQ(clock->AtlasRebuilds(), 4);

  Set("Style", 1.0f);
  Set("Style", 1.0f);
  const host::Pixels bold = Frame();
  EXPECT_EQ(clock->AtlasRebuilds(), 5);
  EXPECT_GT(host::CountInk(bold, 127), host::CountInk(regular, 127) * 11 / 10);

  // Marks made while Classic is shown wait for the next read-out frame.
  Set("Type", 1.0f);
  Frame();
  Set("Style", 2.0f);
  Set("Font", sans);
  Frame();
  Frame();
  EXPECT_EQ(clock->AtlasRebuilds(), 5);
  Set("Type", 2.0f);
  Frame();
  EXPECT_EQ(clock->AtlasRebuilds(), 6);
  Frame();
  EXPECT_EQ(clock->AtlasRebuilds(), 6);
}

// An instance resized to another width draws the same pixels as one made at
// that size: its glyphs are rasterised for the width they are shown at.
TEST_F(Atlas, ResizedInstanceDrawsLikeOneMadeAtItsSize) {
  FrozenNow() = Utc(2026, 12, 8, 10, 9, 59, 500);
  const int sizes[][2] = {{1280, 720}, {160, 90}};
  host::Pixels made[2];
  for (int i = 0; i < 2; ++i) {
    Make(sizes[i][0], sizes[i][1]);
    made[i] = Frame();
    clock->DeInitGL();
  }
  Make(160, 90);
  Frame();
  ResizeTo(1280, 720);
  const host::Pixels grown = Frame();
  EXPECT_TRUE(grown.rgba == made[0].rgba) << "160x90 resized to 1280x720";
  ResizeTo(160, 90);
  const host::Pixels shrunk = Frame();
  EXPECT_TRUE(shrunk.rgba == made[1].rgba) << "1280x720 resized to 160x90";
}

class GLState : public ClockFixture {};

TEST_F(GLState, NothingLeftBoundAfterFramesOfEachType) {
  Make(320, 180);
  FrozenNow() = Utc(2026, 12, 8, 10, 9, 59, 500);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
  for (float type : {0.0f, 1.0f, 2.0f, 0.0f}) {
    Set("Type", type);
    Set("Style", type);  // a rebuild, and an upload, at each read-out frame
    glActiveTexture(GL_TEXTURE0);
    Frame();
    GLint value = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &value);
    EXPECT_EQ(value, 0) << type;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &value);
    EXPECT_EQ(value, 0) << type;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &value);
    EXPECT_EQ(value, 0) << type;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(value, 0) << type;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
    EXPECT_EQ(value, GL_TEXTURE0) << type;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
    EXPECT_EQ(value, 8) << type;
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE) << type;
  }
  // The first frame, then Countdown and Digital; the Classic frame does not.
  EXPECT_EQ(clock->AtlasRebuilds(), 3);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// A glyph atlas upload that the driver refuses (out of memory, say): the
// frame reports no GL error to the host, the atlas stays marked so that the
// next frame tries again, and once an upload succeeds the read-out shows.
#include "host/Ink.h"
#include "tests/clock/ClockFixture.h"

namespace {

using clocktest::ClockFixture;
using clocktest::Utc;

decltype(ffgl::GLEntryPoints::TexImage2D) realTexImage2D = nullptr;
int refusedUploads = 0;

// Passes the call on with a width the driver must reject, as it rejects an
// upload it has no memory for: with an error and no storage.
void FFGL_APIENTRY RefusingTexImage2D(GLenum target, GLint level, GLint format, GLsizei width,
                                      GLsizei height, GLint border, GLenum pixelFormat,
                                      GLenum type, const void* pixels) {
  ++refusedUploads;
  realTexImage2D(target, level, format, -width, height, border, pixelFormat, type, pixels);
}

class AtlasUpload : public ClockFixture {
 protected:
  void TearDown() override {
    if (realTexImage2D != nullptr) ffgl::glEntryPoints.TexImage2D = realTexImage2D;
    ClockFixture::TearDown();
  }
};

TEST_F(AtlasUpload, ARefusedUploadIsTriedAgainAndLeavesNoError) {
  clocktest::FrozenNow() = Utc(2026, 12, 8, 10, 9, 59, 500);
  Make(128, 72);
  realTexImage2D = ffgl::glEntryPoints.TexImage2D;
  ffgl::glEntryPoints.TexImage2D = RefusingTexImage2D;
  refusedUploads = 0;

  const host::Pixels refused = Frame();
  EXPECT_EQ(refusedUploads, 1);
  EXPECT_EQ(host::TakeGLError(), 0u) << "the refusal is the plug-in's, not the host's";
  EXPECT_TRUE(clock->AtlasStale());
  EXPECT_EQ(clock->AtlasRebuilds(), 0);
  EXPECT_EQ(host::CountInk(refused, 127), 0);

  Frame();
  EXPECT_EQ(refusedUploads, 2) << "still marked, so the next frame tries again";

  ffgl::glEntryPoints.TexImage2D = realTexImage2D;
  const host::Pixels drawn = Frame();
  EXPECT_FALSE(clock->AtlasStale());
  EXPECT_EQ(clock->AtlasRebuilds(), 1);
  EXPECT_GT(host::CountInk(drawn, 127), 200);
  EXPECT_EQ(host::TakeGLError(), 0u);
}

}  // namespace

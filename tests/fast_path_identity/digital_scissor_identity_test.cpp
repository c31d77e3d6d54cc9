// SPDX-License-Identifier: GPL-3.0-or-later
// Each read-out pass is scissored to its glyph's box so that the renderer
// does not shade pixels the pass would discard. The box is worked out on the
// CPU as well as in the vertex stage; if the two ever disagree, glyphs lose
// their edges. These compare frames drawn with and without the scissor, byte
// for byte, across output shapes, layout parameters and host state.
#include "ffgl/platform/GLProcAddress.h"
#include "host/Ink.h"
#include "tests/clock/ClockFixture.h"

#include <gtest/gtest.h>

using namespace ffgl::gl;

namespace {

using clocktest::ClockFixture;
using clocktest::FrozenNow;
using clocktest::Utc;

class ScissoredReadout : public ClockFixture {
 protected:
  void ClipPasses(bool clip) {
    tickora::RenderOptions options;
    options.clipPassesToGlyphBoxes = clip;
    clock->SetRenderOptions(options);
  }

  // The same frame both ways; returns the clipped one.
  host::Pixels CompareBothWays(const std::string& what) {
    ClipPasses(false);
    const host::Pixels plain = Frame();
    ClipPasses(true);
    const host::Pixels clipped = Frame();
    EXPECT_GT(host::CountInk(plain, 0), 0) << what;
    EXPECT_TRUE(plain.rgba == clipped.rgba) << what << ": scissored frame differs";
    return clipped;
  }
};

struct Setting {
  const char* name;
  float value;
};

TEST_F(ScissoredReadout, SamePixelsForEveryShapeAndLayout) {
  FrozenNow() = Utc(2026, 12, 8, 12, 34, 56, 780);
  const std::vector<std::vector<Setting>> layouts = {
      {},
      {{"Scale", 0.2f}},
      {{"Scale", 1.0f}, {"Spacing", 1.0f}},
      {{"Spacing", 0.0f}, {"Aspect", 0.0f}},
      {{"Aspect", 1.0f}},
      {{"Colon height", 1.0f}, {"Colon width", 1.0f}, {"Colon Left", 0.0f}},
      {{"Colon height", 0.0f}, {"Colon width", 0.0f}, {"Colon Left", 1.0f}},
      {{"Show Millisecs", 1.0f}, {"Style", 1.0f}},
      {{"Show Seconds", 0.0f}, {"Style", 2.0f}},
      {{"Type", 2.0f}, {"Date", 9.0f}, {"Hour", 23.0f}, {"Minute", 59.0f}},
  };
  const int sizes[][2] = {{640, 360}, {1920, 1080}, {1920, 400}, {600, 1000}, {333, 777}};
  for (const auto& size : sizes) {
    Make(size[0], size[1]);
    for (size_t i = 0; i < layouts.size(); ++i) {
      for (const Setting& s : layouts[i]) Set(s.name, s.value);
      CompareBothWays(std::to_string(size[0]) + "x" + std::to_string(size[1]) + " layout " +
                      std::to_string(i));
      // Back to the defaults for the next layout.
      for (uint32_t p = 0; p < clock->GetNumParams(); ++p)
        clock->SetFloatParameter(p, clock->FindParam(p)->defaultValue);
    }
    clock->DeInitGL();
    clock.reset();
  }
}

TEST_F(ScissoredReadout, HonoursTheHostsViewportAndScissor) {
  using ViewportFn = void (*)(GLint, GLint, GLsizei, GLsizei);
  const auto viewport = reinterpret_cast<ViewportFn>(ffgl::platform::GetGLProcAddress("glViewport"));
  ASSERT_NE(viewport, nullptr);
  FrozenNow() = Utc(2026, 12, 8, 10, 9, 59, 500);

  Make(800, 600);
  const FFGLViewportStruct inner{100, 50, 640, 360};
  ASSERT_EQ(clock->Resize(&inner), FF_SUCCESS);
  ProcessOpenGLStruct record{0, nullptr, context->Framebuffer()};

  // The host's viewport may differ from the instance's size: the read-out
  // then stretches over the viewport, and so must the scissor.
  const GLint viewports[][4] = {{100, 50, 640, 360}, {0, 0, 800, 600}, {30, 20, 400, 250}};
  for (const auto& vp : viewports) {
    for (bool hostScissor : {false, true}) {
      const std::string what = std::string(hostScissor ? "with" : "without") +
                               " the host's scissor, viewport " + std::to_string(vp[2]) + "x" +
                               std::to_string(vp[3]);
      host::Pixels frames[2];
      for (int clip = 0; clip < 2; ++clip) {
        ClipPasses(clip == 1);
        context->BindFramebuffer();
        context->Clear(0, 0, 0, 0);
        viewport(vp[0], vp[1], vp[2], vp[3]);
        glScissor(150, 100, 300, 200);
        if (hostScissor) glEnable(GL_SCISSOR_TEST); else glDisable(GL_SCISSOR_TEST);
        ASSERT_EQ(clock->ProcessOpenGL(&record), FF_SUCCESS);

        EXPECT_EQ(glIsEnabled(GL_SCISSOR_TEST), hostScissor ? GL_TRUE : GL_FALSE);
        GLint box[4] = {0, 0, 0, 0};
        glGetIntegerv(GL_SCISSOR_BOX, box);
        EXPECT_EQ(box[0], 150);
        EXPECT_EQ(box[1], 100);
        EXPECT_EQ(box[2], 300);
        EXPECT_EQ(box[3], 200);
        glDisable(GL_SCISSOR_TEST);
        frames[clip] = context->ReadPixels();
      }
      EXPECT_GT(host::CountInk(frames[0], 0), 0) << what;
      EXPECT_TRUE(frames[0].rgba == frames[1].rgba) << what;
    }
  }
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in's GL declarations and the system's GL header in one file, the
// plug-in's first here (gl_header_order_other.cpp has the other order): both
// compile, the enumerants agree (a redefinition that differs would warn, and
// CI builds with warnings as errors), and each spelling of a call reaches its
// own GL: ffgl::gl:: the plug-in's table, the global one the linked library.
#include "ffgl/GLEntryPoints.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include "tests/support/GLCallRecorder.h"
#include "tests/support/GLTestContext.h"

#include <gtest/gtest.h>

// Defined in gl_header_order_other.cpp: whether blending is on, asked
// through the plug-in's table.
bool BlendEnabledThroughTable();

namespace {

using testing_support::GLCallRecorder;

class GLHeaderCoexistence : public testing_support::GLTest {};

TEST_F(GLHeaderCoexistence, EachSpellingReachesItsOwnGL) {
  GLCallRecorder recorder;
  ::glEnable(GL_BLEND);
  EXPECT_EQ(recorder.Count("Enable"), 0) << "the host's own call went through the table";
  EXPECT_TRUE(BlendEnabledThroughTable()) << "both reach the same context";
  EXPECT_EQ(recorder.Count("IsEnabled"), 1);

  ffgl::gl::glDisable(GL_BLEND);
  EXPECT_EQ(recorder.Count("Disable"), 1);
  EXPECT_EQ(::glIsEnabled(GL_BLEND), GL_FALSE);
  EXPECT_EQ(recorder.Count("IsEnabled"), 1);
}

}  // namespace

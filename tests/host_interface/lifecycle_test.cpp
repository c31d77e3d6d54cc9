// Creating and deleting instances through plugMain leaves no GL object of the
// plug-in behind in the host's context. The driver itself is asked, name by
// name, so this holds whatever table the plug-in calls through.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include "tests/support/HostSession.h"

#include <gtest/gtest.h>

#include <iostream>

namespace {

using testing_support::PluginHostTest;

// GL names are handed out from small integers; this range covers far more
// than a hundred instances' worth.
int LiveGLObjects() {
  int live = 0;
  for (GLuint name = 1; name < 20000; ++name) {
    live += glIsProgram(name) + glIsShader(name) + glIsBuffer(name) + glIsVertexArray(name) +
            glIsTexture(name) + glIsFramebuffer(name) + glIsRenderbuffer(name);
  }
  return live;
}

class Lifecycle : public PluginHostTest {};

TEST_F(Lifecycle, HundredInstancesLeaveNoGLObject) {
  const int before = LiveGLObjects();
  for (int round = 0; round < 100; ++round) {
    FFInstanceID instance = NewInstance(96, 54);
    ASSERT_NE(instance, nullptr) << "round " << round;
    for (float type : {0.0f, 1.0f, 2.0f}) {
      ASSERT_EQ(plugin->SetParameter(instance, 0, type), FF_SUCCESS);
      ASSERT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
    }
    if (round == 0) {
      EXPECT_GT(LiveGLObjects(), before) << "an instance owns GL objects";
    }
    ASSERT_EQ(Delete(instance), FF_SUCCESS);
  }
  const int after = LiveGLObjects();
  std::cout << "GL objects left by 100 instances: " << after - before << "\n";
  RecordProperty("leftover_gl_objects", after - before);
  EXPECT_EQ(after, before);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace

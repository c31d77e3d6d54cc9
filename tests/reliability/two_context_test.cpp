// SPDX-License-Identifier: GPL-3.0-or-later
// A host with two contexts, sharing objects or not, that calls an instance
// while the context it was not created in is current. Vertex arrays and
// framebuffers are never shared, and a context that shares nothing names its
// own objects 1, 2, 3 ... as well: whatever the instance does there must
// leave every host object alive and the host's state as it was, and the
// instance must go on drawing in its own context.
#include "host/HeadlessHost.h"
#include "host/Ink.h"
#include "tests/reliability/GLStateSnapshot.h"
#include "tickora/DisplayTypes.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using reliability::CaptureGLState;
using reliability::DescribeDifferences;
using reliability::TakeGLErrors;

// The first context holds a few host objects of each kind, the second more
// than the first context and the plug-in's instances together, so that every
// name an instance holds is also a host object in the other context.
constexpr int kFirstNames = 8;
constexpr int kSecondNames = 64;

// Host objects of every kind a plug-in instance also makes.
struct HostNames {
  std::vector<GLuint> vertexArrays, framebuffers, buffers, textures, programs;

  void Create(int count) {
    vertexArrays.resize(count);
    framebuffers.resize(count);
    buffers.resize(count);
    textures.resize(count);
    glGenVertexArrays(count, vertexArrays.data());
    glGenFramebuffers(count, framebuffers.data());
    glGenBuffers(count, buffers.data());
    glGenTextures(count, textures.data());
    // A name becomes an object at its first binding.
    for (int i = 0; i < count; ++i) {
      glBindVertexArray(vertexArrays[i]);
      glBindFramebuffer(GL_FRAMEBUFFER, framebuffers[i]);
      glBindBuffer(GL_ARRAY_BUFFER, buffers[i]);
      glBindTexture(GL_TEXTURE_2D, textures[i]);
      programs.push_back(glCreateProgram());
    }
    glBindVertexArray(vertexArrays[count / 2]);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, buffers[count / 2]);
    glBindTexture(GL_TEXTURE_2D, textures[count / 2]);
  }

  // The names that are no longer objects, as "kind name" lines.
  std::string Lost() const {
    std::string lost;
    auto check = [&](const char* kind, const std::vector<GLuint>& names, GLboolean (*is)(GLuint)) {
      for (GLuint name : names)
        if (is(name) != GL_TRUE) lost += std::string(kind) + " " + std::to_string(name) + "\n";
    };
    check("vertex array", vertexArrays, glIsVertexArray);
    check("framebuffer", framebuffers, glIsFramebuffer);
    check("buffer", buffers, glIsBuffer);
    check("texture", textures, glIsTexture);
    check("program", programs, glIsProgram);
    return lost;
  }
};

class TwoContexts : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    first = host::GLContext::Create();
    ASSERT_TRUE(first);
    ASSERT_TRUE(first->SetFramebufferSize(96, 64));
    plugin = host::PluginLibrary::Load(std::getenv("TICKORA_PLUGIN"));
    ASSERT_TRUE(plugin);
    firstNames.Create(kFirstNames);
    second = first->CreateSibling(GetParam());
    ASSERT_TRUE(second);
    ASSERT_TRUE(second->SetFramebufferSize(96, 64));
    secondNames.Create(kSecondNames);
    ASSERT_TRUE(first->MakeCurrent());
  }
  void TearDown() override {
    if (plugin) plugin->Deinitialise();
    second.reset();  // before the context whose display it uses
  }

  // Draws in the first context and says whether any ink came out.
  bool DrawsInFirst(FFInstanceID instance) {
    EXPECT_TRUE(first->MakeCurrent());
    first->Clear(0, 0, 0, 0);
    first->BindFramebuffer();
    glBindVertexArray(firstNames.vertexArrays[kFirstNames / 2]);
    if (plugin->ProcessFrame(instance, first->Framebuffer()) != FF_SUCCESS) return false;
    const host::Pixels pixels = first->ReadPixels();
    return host::CountInk(pixels, 0) > 20;
  }

  std::unique_ptr<host::GLContext> first, second;
  std::unique_ptr<host::PluginLibrary> plugin;
  HostNames firstNames, secondNames;
};

TEST_P(TwoContexts, CallsInTheOtherContextTouchNoHostObject) {
  for (int type = 0; type < tickora::kDisplayTypeCount; ++type) {
    SCOPED_TRACE(type == 0 ? "Digital" : type == 1 ? "Classic" : "Countdown");
    FFInstanceID instance = plugin->Instantiate(96, 64);
    ASSERT_NE(instance, nullptr);
    plugin->SetParameter(instance, "Type", static_cast<float>(type));
    plugin->SetParameter(instance, "Date", 9.0f);
    EXPECT_TRUE(DrawsInFirst(instance));

    ASSERT_TRUE(second->MakeCurrent());
    second->BindFramebuffer();
    const reliability::GLStateSnapshot before = CaptureGLState();
    EXPECT_EQ(plugin->ProcessFrame(instance, second->Framebuffer()), FF_FAIL)
        << "a frame where the instance's vertex array is a host's";
    EXPECT_EQ(plugin->Resize(instance, 80, 64), FF_FAIL);
    EXPECT_EQ(DescribeDifferences(before, CaptureGLState()), "");
    EXPECT_EQ(TakeGLErrors(), 0u);
    EXPECT_EQ(secondNames.Lost(), "");

    EXPECT_TRUE(DrawsInFirst(instance)) << "the instance still draws in its own context";

    ASSERT_TRUE(second->MakeCurrent());
    EXPECT_EQ(plugin->Deinstantiate(instance), FF_SUCCESS);
    EXPECT_EQ(DescribeDifferences(before, CaptureGLState()), "");
    EXPECT_EQ(TakeGLErrors(), 0u);
    EXPECT_EQ(secondNames.Lost(), "") << "deleted in the other context";

    ASSERT_TRUE(first->MakeCurrent());
    EXPECT_EQ(firstNames.Lost(), "");
    EXPECT_EQ(TakeGLErrors(), 0u);
  }
}

// Deleted in its own context an instance releases its objects there, and
// every host object of either context stays.
TEST_P(TwoContexts, DeletionInTheOwnContextKeepsEveryHostObject) {
  FFInstanceID instance = plugin->Instantiate(96, 64);
  ASSERT_NE(instance, nullptr);
  EXPECT_TRUE(DrawsInFirst(instance));
  EXPECT_EQ(plugin->Deinstantiate(instance), FF_SUCCESS);
  EXPECT_EQ(firstNames.Lost(), "");
  EXPECT_EQ(TakeGLErrors(), 0u);
  ASSERT_TRUE(second->MakeCurrent());
  EXPECT_EQ(secondNames.Lost(), "");
}

INSTANTIATE_TEST_SUITE_P(Sharing, TwoContexts, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Shared" : "Unshared");
                         });

}  // namespace

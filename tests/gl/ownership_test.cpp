// SPDX-License-Identifier: GPL-3.0-or-later
// Types that own GL names cannot be copied, and a move hands the names over:
// releasing the moved-from object deletes nothing, releasing the new owner
// deletes everything.
#include "ffglex/FullScreenQuad.h"
#include "ffglex/ShaderProgram.h"
#include "tests/support/GLCallRecorder.h"
#include "tests/support/GLTestContext.h"
#include "tickora/GlyphAtlas.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

namespace {

template <typename T>
constexpr bool kMoveOnly = !std::is_copy_constructible<T>::value &&
                           !std::is_copy_assignable<T>::value &&
                           std::is_nothrow_move_constructible<T>::value &&
                           std::is_nothrow_move_assignable<T>::value;
static_assert(kMoveOnly<ffglex::ShaderProgram>, "a copy would delete the program twice");
static_assert(kMoveOnly<ffglex::FullScreenQuad>, "a copy would delete the buffers twice");
static_assert(kMoveOnly<tickora::GlyphAtlas>, "a copy would delete the texture twice");

using testing_support::GLCallRecorder;
using testing_support::kQuadVertexShader;
using testing_support::kUvFragmentShader;

class Ownership : public testing_support::GLTest {};

TEST_F(Ownership, MovedProgramIsReleasedOnceByItsNewOwner) {
  GLCallRecorder recorder;
  ffglex::ShaderProgram first;
  ASSERT_TRUE(first.Compile(kQuadVertexShader, kUvFragmentShader));
  const GLuint id = first.Id();

  ffglex::ShaderProgram second(std::move(first));
  EXPECT_EQ(first.Id(), 0u);
  EXPECT_EQ(second.Id(), id);
  first.Release();
  EXPECT_EQ(recorder.Count("DeleteProgram"), 0);
  EXPECT_EQ(recorder.LivePrograms(), 1);

  ffglex::ShaderProgram third;
  third = std::move(second);
  EXPECT_EQ(second.Id(), 0u);
  EXPECT_EQ(third.Id(), id);
  second.Release();
  EXPECT_EQ(recorder.Count("DeleteProgram"), 0);

  third.Release();
  EXPECT_EQ(recorder.Count("DeleteProgram"), 1);
  EXPECT_EQ(recorder.LiveObjects(), 0) << recorder.DescribeLive();
}

TEST_F(Ownership, MovedQuadIsReleasedOnceByItsNewOwner) {
  GLCallRecorder recorder;
  ffglex::FullScreenQuad first;
  ASSERT_TRUE(first.Create());
  const GLuint vertexArray = first.VertexArray();
  const GLuint vertexBuffer = first.VertexBuffer();

  ffglex::FullScreenQuad second(std::move(first));
  ffglex::FullScreenQuad third;
  third = std::move(second);
  EXPECT_EQ(third.VertexArray(), vertexArray);
  EXPECT_EQ(third.VertexBuffer(), vertexBuffer);
  first.Release();
  second.Release();
  EXPECT_EQ(recorder.LiveBuffers(), 1);
  EXPECT_EQ(recorder.LiveVertexArrays(), 1);

  third.Release();
  EXPECT_EQ(recorder.LiveObjects(), 0) << recorder.DescribeLive();
}

TEST_F(Ownership, MovedAtlasIsReleasedOnceByItsNewOwner) {
  GLCallRecorder recorder;
  tickora::GlyphAtlas first;
  first.RecreateImage(64, tickora::GlyphAtlas::kMaxSide);
  ASSERT_TRUE(first.Rebuild(juce::Font::getDefaultSansSerifFontName(), juce::Font::plain));
  const GLuint texture = first.Texture();
  ASSERT_NE(texture, 0u);

  tickora::GlyphAtlas second(std::move(first));
  EXPECT_EQ(first.Texture(), 0u);
  EXPECT_EQ(first.ImageSide(), 0) << "the image went with the texture";
  tickora::GlyphAtlas third;
  third = std::move(second);
  EXPECT_EQ(third.Texture(), texture);
  EXPECT_EQ(third.ImageSide(), 64);
  first.Release();
  second.Release();
  EXPECT_EQ(recorder.LiveTextures(), 1);

  third.Release();
  EXPECT_EQ(recorder.LiveObjects(), 0) << recorder.DescribeLive();
}

}  // namespace

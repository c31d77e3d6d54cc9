// The parts of tickora-render a child process cannot show: the progress
// bar's text (drawn only on a terminal), the shortening of long lists, and
// what the window's keys do to "Type".
#include "render/Background.h"
#include "render/FrameSize.h"
#include "render/ProgressBar.h"
#include "render/TextList.h"
#include "render/ToolError.h"
#include "render/WindowKeys.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

using namespace render;

TEST(RenderUnits, ProgressBarFillsInProportionAndPadsTheCount) {
  EXPECT_EQ(ProgressBar::Render(0, 120, 10), "[          ]   0/120");
  EXPECT_EQ(ProgressBar::Render(60, 120, 10), "[#####     ]  60/120");
  EXPECT_EQ(ProgressBar::Render(119, 120, 10), "[######### ] 119/120");
  EXPECT_EQ(ProgressBar::Render(120, 120, 10), "[##########] 120/120");
  EXPECT_EQ(ProgressBar::Render(500, 120, 10), "[##########] 120/120");
}

TEST(RenderUnits, LongListsKeepTheirEndsAndCount) {
  EXPECT_EQ(JoinShortened({"a", "b", "c"}, 3), "a, b, c");
  EXPECT_EQ(JoinShortened({"a", "b", "c", "d"}, 3), "a, b, ..., d (4)");
  EXPECT_EQ(JoinShortened({}, 3), "");
}

TEST(RenderUnits, KeysStepThroughTypesAndWrapAround) {
  const KeyCommand next = InterpretKey(GLFW_KEY_T, 0);
  const KeyCommand previous = InterpretKey(GLFW_KEY_T, GLFW_MOD_SHIFT);
  EXPECT_EQ(next.action, KeyAction::NextType);
  EXPECT_EQ(previous.action, KeyAction::PreviousType);
  EXPECT_EQ(InterpretKey(GLFW_KEY_SPACE, 0).action, KeyAction::NextType);
  EXPECT_EQ(InterpretKey(GLFW_KEY_ESCAPE, 0).action, KeyAction::Quit);
  EXPECT_EQ(InterpretKey(GLFW_KEY_Q, 0).action, KeyAction::Quit);
  EXPECT_EQ(InterpretKey(GLFW_KEY_X, 0).action, KeyAction::None);
  EXPECT_EQ(NextElement(next, 2, 3), 0);
  EXPECT_EQ(NextElement(previous, 0, 3), 2);
  EXPECT_EQ(NextElement(InterpretKey(GLFW_KEY_3, 0), 0, 3), 2);
  EXPECT_EQ(NextElement(InterpretKey(GLFW_KEY_4, 0), 1, 3), 1);  // no fourth type
  EXPECT_EQ(NextElement(next, 0, 0), 0);
  EXPECT_EQ(KeyCodeForName("Q"), GLFW_KEY_Q);
  EXPECT_EQ(KeyCodeForName("7"), GLFW_KEY_7);
  EXPECT_EQ(KeyCodeForName("tab"), -1);
}

TEST(RenderUnits, SizesAndBackgroundsAreReadStrictly) {
  EXPECT_EQ(ParseFrameSize("640x360").width, 640);
  EXPECT_EQ(ParseFrameSize("640X360").height, 360);
  for (const char* bad : {"640x", "x360", "640x360x2", "64 0x360", "+640x360", "99999999x1"})
    EXPECT_THROW(ParseFrameSize(bad), ToolError) << bad;
  const Background navy = ParseBackground("navy");
  EXPECT_EQ(navy.kind, Background::Kind::Colour);
  EXPECT_EQ(navy.blue, 0x80);
  const Background shortHex = ParseBackground("#f80");
  EXPECT_EQ(shortHex.red, 0xff);
  EXPECT_EQ(shortHex.green, 0x88);
  EXPECT_THROW(ParseBackground("#12345"), ToolError);
}

TEST(RenderUnits, CompositingUsesStraightAlpha) {
  host::Pixels frame;
  frame.width = 2;
  frame.height = 1;
  frame.rgba = {255, 0, 0, 128, 0, 0, 0, 0};
  Background grey;
  grey.kind = Background::Kind::Colour;
  grey.red = grey.green = grey.blue = 100;
  Composite(grey, frame);
  EXPECT_EQ(frame.rgba, (std::vector<uint8_t>{178, 50, 50, 255, 100, 100, 100, 255}));
}

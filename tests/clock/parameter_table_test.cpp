// SPDX-License-Identifier: GPL-3.0-or-later
// The clock's parameter table against what an instance registers and what
// its programs read: a row whose index, kind or element list drifts from the
// registration, or whose uniform no program of the types showing it reads,
// would leave a host setting one value and the picture following another.
#include "tests/clock/ClockFixture.h"
#include "tickora/ClockParameters.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using tickora::DisplayType;
using tickora::IndexOf;
using tickora::kParamTable;
using tickora::ParamKind;
using tickora::ParamRow;

std::string NameOf(const ffgl::ParamInfo& info) {
  return std::string(info.name, strnlen(info.name, sizeof info.name));
}

// The slots hosts are told to expect (the smoke host and tools read them)
// are the ones registered, name, type and row alike; and no name is cut
// short except the one saved shows already know cut ("Color_brighthnes").
TEST(ParameterTable, EachRowIsRegisteredAtItsIndex) {
  tickora::Tickora clock;
  ASSERT_EQ(clock.GetNumParams(), tickora::kParamCount);
  const std::vector<tickora::HostSlot> slots = tickora::HostSlots();
  ASSERT_EQ(slots.size(), tickora::kParamCount);
  for (uint32_t i = 0; i < tickora::kParamCount; ++i) {
    const ffgl::ParamInfo* info = clock.FindParam(i);
    ASSERT_NE(info, nullptr) << i;
    EXPECT_EQ(NameOf(*info), slots[i].name.substr(0, 16)) << i;
    EXPECT_EQ(info->type, slots[i].type) << slots[i].name;
    EXPECT_TRUE(slots[i].name.size() <= 16 || i < tickora::kOriginalParamCount) << slots[i].name;
    EXPECT_GE(i, IndexOf(slots[i].row->id)) << slots[i].name;
  }
  for (const ParamRow& row : kParamTable) {
    const ffgl::ParamInfo* info = clock.FindParam(IndexOf(row.id));
    ASSERT_NE(info, nullptr) << row.name;
    EXPECT_EQ(NameOf(*info), row.name);
    if (row.elements != tickora::Elements::kListed) continue;
    size_t listed = 0;
    for (const char* element : row.listed) listed += element != nullptr ? 1 : 0;
    ASSERT_EQ(info->elements.size(), listed) << row.name;
    for (size_t i = 0; i < listed; ++i) EXPECT_EQ(info->elements[i].name, row.listed[i]);
  }
}

TEST(ParameterTable, UnknownTypesShowOnlyWhatEveryTypeShows) {
  for (const ParamRow& row : kParamTable) {
    for (int32_t type : {-1, tickora::kDisplayTypeCount, 1 << 30}) {
      EXPECT_EQ(tickora::ShownFor(row, type), row.shownIn == tickora::kInEveryType)
          << row.name << " for type " << type;
    }
  }
}

class TableUniforms : public clocktest::ClockFixture {};

// Each named uniform is read by the program of every type that shows the row
// (Digital and Countdown share the read-out program).
TEST_F(TableUniforms, ReachTheProgramsOfTheTypesShowingThem) {
  Make(64, 36);
  const struct {
    DisplayType type;
    GLuint program;
  } programs[] = {{DisplayType::kDigital, clock->DigitalProgram()},
                  {DisplayType::kClassic, clock->HandsProgram()},
                  {DisplayType::kCountdown, clock->DigitalProgram()}};
  int checked = 0;
  for (const ParamRow& row : kParamTable) {
    for (const auto& p : programs) {
      ASSERT_NE(p.program, 0u);
      if (!tickora::ShownFor(row, static_cast<int32_t>(p.type))) continue;
      for (const char* uniform : row.uniforms) {
        if (uniform == nullptr || uniform[0] == '\0') continue;
        EXPECT_NE(ffgl::gl::glGetUniformLocation(p.program, uniform), -1)
            << row.name << ": " << uniform << " for type " << static_cast<int>(p.type);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 10);
}

}  // namespace

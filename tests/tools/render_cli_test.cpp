// SPDX-License-Identifier: GPL-3.0-or-later
// tickora-render's command line through the real binary: help, the
// parameter table, --set reaching the instance, and every refusal with its
// one-line message and exit status.
#include "RenderTool.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>

using render_test::RunRender;
using render_test::ToolRun;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Table rows keyed by parameter name; cells split on runs of 2+ spaces.
std::map<std::string, std::vector<std::string>> Rows(const std::string& table) {
  std::map<std::string, std::vector<std::string>> rows;
  const std::regex gap(" {2,}");
  for (const std::string& line : Lines(table)) {
    std::vector<std::string> cells(std::sregex_token_iterator(line.begin(), line.end(), gap, -1),
                                   std::sregex_token_iterator());
    if (cells.size() >= 3 && std::regex_match(cells[0], std::regex("[0-9]+")))
      rows[cells[1]] = cells;
  }
  return rows;
}

}  // namespace

TEST(RenderCommandLine, HelpListsEveryOptionWithAnExample) {
  const ToolRun run = RunRender({"--help"});
  EXPECT_EQ(run.status, 0);
  for (const char* option : {"--list", "--all", "--print-values", "--plugin", "--set", "--size",
                             "--out", "--background", "--frames", "--fps", "--out-dir",
                             "--overwrite", "--start", "--window"})
    EXPECT_NE(run.out.find(option), std::string::npos) << option;
  // How the clock is driven and what that needs, and what --overwrite does.
  for (const char* words : {"libfaketime", "start + k/F", "TICKORA_FAKETIME", "local time",
                            "removes those first", "refuses folders, devices and FIFOs"})
    EXPECT_NE(run.out.find(words), std::string::npos) << words;
  EXPECT_NE(run.out.find("Examples:"), std::string::npos);
  EXPECT_NE(run.out.find("--set Type=Classic"), std::string::npos);
  // Test hooks stay out of the user's sight.
  EXPECT_EQ(run.out.find("--test-keys"), std::string::npos);
  EXPECT_TRUE(run.err.empty());
}

TEST(RenderCommandLine, ListShowsIdentityAndEveryParameterOfTickora) {
  const ToolRun run = RunRender({"--list"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Tickora (Wmpx), source plug-in, FFGL 2.1, version 1.2, about \"Quorvane\"");
  EXPECT_EQ(lines[1], render_test::PluginPath());  // found next to the executable

  const auto rows = Rows(run.out);
  EXPECT_EQ(rows.size(), 40u);
  using Row = std::vector<std::string>;
  EXPECT_EQ(rows.at("Target"), (Row{"26", "Target", "text", "\"\"", "yes"}));
  EXPECT_EQ(rows.at("Type"), (Row{"0", "Type", "option", "Digital", "yes", "Digital, Classic, Countdown, Timer, Stopwatch"}));
  EXPECT_EQ(rows.at("Color_brighthnes"), (Row{"3", "Color_brighthnes", "brightness", "2", "yes"}));
  EXPECT_EQ(rows.at("Style"), (Row{"6", "Style", "option", "Regular", "yes", "Regular, Bold, Italic"}));
  EXPECT_EQ(rows.at("Scale"), (Row{"7", "Scale", "standard", "0.91", "yes"}));
  EXPECT_EQ(rows.at("Show Seconds"), (Row{"13", "Show Seconds", "boolean", "on", "yes"}));
  EXPECT_EQ(rows.at("Show Millisecs"), (Row{"14", "Show Millisecs", "boolean", "off", "yes"}));
  // Long element lists are shortened, with the count.
  EXPECT_EQ(rows.at("Hour"), (Row{"17", "Hour", "option", "00", "yes", "00, 01, 02, 03, ..., 23 (24)"}));
  EXPECT_EQ(rows.at("Minute").back(), "00, 01, 02, 03, ..., 59 (60)");
  EXPECT_EQ(rows.at("Smooth time"), (Row{"25", "Smooth time", "boolean", "on", "yes"}));
  EXPECT_TRUE(run.err.empty()) << run.err;
}

TEST(RenderCommandLine, SettingsByNameReachTheInstance) {
  // Element names, ignoring case; on/off; a number; the name FFGL cut to 16 bytes.
  const ToolRun run = RunRender({"--print-values", "--size", "64x36", "--set", "Type=classic",
                                 "--set", "Style=Bold", "--set", "Show Millisecs=on", "--set",
                                 "Show Seconds=off", "--set", "Hour=07", "--set", "Minute=59",
                                 "--set", "Colon animation=Fade", "--set", "Scale=0.25", "--set",
                                 "Color_brighthness=0.5", "--set", "Date=9"},
                                render_test::FrozenClock());
  ASSERT_EQ(run.status, 0) << run.err;
  const auto rows = Rows(run.out);
  EXPECT_EQ(rows.at("Type")[2], "Classic");
  EXPECT_EQ(rows.at("Style")[2], "Bold");
  EXPECT_EQ(rows.at("Show Millisecs")[2], "on");
  EXPECT_EQ(rows.at("Show Seconds")[2], "off");
  EXPECT_EQ(rows.at("Hour")[2], "07");
  EXPECT_EQ(rows.at("Minute")[2], "59");
  EXPECT_EQ(rows.at("Colon animation")[2], "Fade");
  EXPECT_EQ(rows.at("Scale")[2], "0.25");
  EXPECT_EQ(rows.at("Color_brighthnes")[2], "0.5");
  // Date=9 is the last of the ten days that --list names.
  const auto listed = Rows(RunRender({"--list"}, render_test::FrozenClock()).out);
  const std::string dates = listed.at("Date").back();
  EXPECT_EQ(dates, "8 Dec 2026, 9 Dec 2026, 10 Dec 2026, 11 Dec 2026, ..., 17 Dec 2026 (10)");
  const size_t last = dates.rfind(", ") + 2;
  EXPECT_EQ(rows.at("Date")[2], dates.substr(last, dates.rfind(" (10)") - last));
  // The instance drew a Classic frame: its Digital parameters are hidden.
  EXPECT_EQ(rows.at("Font")[3], "no");
  EXPECT_EQ(rows.at("Hour length")[3], "yes");
}

TEST(RenderCommandLine, FontIsChosenByFamilyNameAndLaterSettingsWin) {
  const ToolRun fonts = RunRender({"--list"});
  ASSERT_EQ(fonts.status, 0);
  const std::string family = fonts.out.find("Liberation Serif") != std::string::npos
                                 ? "Liberation Serif"
                                 : "DejaVu Sans";
  const ToolRun run = RunRender({"--print-values", "--size", "64x36", "--set", "Type=Countdown",
                                 "--set", "Type=Digital", "--set", "Font=" + family});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto rows = Rows(run.out);
  EXPECT_EQ(rows.at("Font")[2], family);
  EXPECT_EQ(rows.at("Type")[2], "Digital");
  EXPECT_EQ(rows.at("Date")[3], "no");  // a Digital frame hides the countdown's target
}

struct Refusal {
  std::vector<std::string> args;
  int status;
  std::string message;
};

TEST(RenderCommandLine, EveryRefusalIsOneLineWithItsStatusAndWritesNothing) {
  const std::string dir = render_test::MakeTempFolder("refusals");
  const std::string out = dir + "/picture.png";
  const std::string fixtures = FIXTURE_DIR;
  const std::vector<Refusal> refusals = {
      {{"--plugin", dir + "/missing.so", "--out", out}, 1, "no plug-in file '" + dir + "/missing.so'"},
      {{"--plugin", fixtures + "/libno_plugmain.so", "--list"}, 1, "it has no plugMain"},
      {{"--plugin", "/etc/hostname", "--list"}, 1, "cannot load '/etc/hostname'"},
      {{"--plugin", fixtures + "/libeffect_plugin.so", "--out", out}, 1,
       "(TestEffect) is an effect plug-in; only source plug-ins draw without input"},
      {{"--set", "Colour=1", "--out", out}, 2, "unknown parameter 'Colour' (see --list)"},
      {{"--set", "Type=Analog", "--out", out}, 2,
       "'Type' has no element 'Analog' (Digital, Classic, Countdown, Timer, Stopwatch)"},
      {{"--set", "Hour=24", "--out", out}, 2, "'Hour' has no element '24'"},
      {{"--set", "Scale=big", "--out", out}, 2, "'Scale' takes a number, not 'big'"},
      {{"--set", "Scale=nan", "--out", out}, 2, "'Scale' takes a number, not 'nan'"},
      {{"--set", "Scale=1.5", "--out", out}, 2, "'Scale' takes a number from 0 to 1, not 1.5"},
      {{"--set", "Show Seconds=maybe", "--out", out}, 2, "'Show Seconds' is on or off, not 'maybe'"},
      {{"--set", "Type", "--out", out}, 2, "--set 'Type' is not NAME=VALUE"},
      {{"--size", "0x100", "--out", out}, 2, "--size 0x100 has a side of 0 pixels"},
      {{"--size", "1920", "--out", out}, 2, "--size '1920' is not WIDTHxHEIGHT"},
      {{"--size", "-5x5", "--out", out}, 2, "is not WIDTHxHEIGHT"},
      {{"--size", "99999x100", "--out", out}, 2, "--size 99999x100 is beyond this GL's limit of"},
      {{"--background", "plaid", "--out", out}, 2, "--background 'plaid' is not none, checker"},
      {{"--out", dir + "/no/such/folder.png"}, 1, "cannot write '" + dir + "/no/such/folder.png': no folder"},
      {{"--out", "/etc/hostname/x.png"}, 1, "cannot write '/etc/hostname/x.png': no folder"},
      {{"--out", dir}, 1, "cannot write '" + dir + "': it is a folder"},
      {{"--frames", "2", "--out-dir", "/etc/hostname/frames"}, 1, "cannot create folder"},
      {{"--frames", "0", "--out-dir", dir + "/f"}, 2, "--frames 0 is not from 1 to 1000000"},
      {{"--frames", "2"}, 2, "--frames needs --out-dir"},
      {{"--out-dir", dir + "/f"}, 2, "--out-dir needs --frames N"},
      {{"--overwrite", "--out", out}, 2, "--overwrite applies to a sequence's --out-dir"},
      {{"--all", "--out", out}, 2, "--all needs --list"},
      {{"--start", "2026-12-31", "--out", out}, 2,
       "--start '2026-12-31' is not \"YYYY-MM-DD HH:MM:SS[.fff]\""},
      {{"--start", "2026-02-29 12:00:00", "--out", out}, 2, "is no date and time of the calendar"},
      {{"--start", "2026-12-31 23:59:50", "--window"}, 2, "--start does not apply to --window"},
      {{"--set", "Color_brighthnesXYZ=0.5", "--out", out}, 2,
       "unknown parameter 'Color_brighthnesXYZ' (see --list)"},
      {{"--set", "Color_brighthnesss=0.5", "--out", out}, 2, "unknown parameter"},
      {{"--frames", "2", "--fps", "0", "--out-dir", dir + "/f"}, 2, "--fps must be above 0"},
      {{}, 2, "nothing to do"},
      {{"--list", "--out", out}, 2, "choose one of"},
      {{"--list", "--set", "Type=Classic"}, 2, "--list shows the defaults"},
      {{"--frobnicate"}, 2, "--frobnicate"},
      {{"--screenshot", out, "--out", out}, 2, "need --window"},
  };
  for (const Refusal& r : refusals) {
    const ToolRun run = RunRender(r.args);
    std::string command;
    for (const std::string& a : r.args) command += " " + a;
    EXPECT_EQ(run.status, r.status) << command << "\n" << run.err;
    EXPECT_EQ(run.err.rfind("tickora-render: ", 0), 0u) << command << "\n" << run.err;
    EXPECT_NE(run.err.find(r.message), std::string::npos) << command << "\n" << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << command << "\n" << run.err;
    EXPECT_TRUE(run.out.empty()) << command << "\n" << run.out;
  }
  // Nothing was written, not even a temporary file, and no sequence folder.
  EXPECT_TRUE(render_test::FilesIn(dir).empty());
}

TEST(RenderCommandLine, AWindowsDllIsNamedAsSuch) {
  const std::string dll = render_test::MakeTempFolder("dll") + "/Tickora.dll";
  std::ofstream(dll, std::ios::binary) << "MZ\x90" << std::string(200, '\0');
  const ToolRun run = RunRender({"--plugin", dll, "--list"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tickora-render: '" + dll + "' is a Windows DLL; this tool loads Linux "
                     "plug-ins (.so), such as the Tickora.so of the release build\n");
}

TEST(RenderCommandLine, ListAllPrintsEveryElementOfTheLongLists) {
  const ToolRun brief = RunRender({"--list"});
  const ToolRun all = RunRender({"--list", "--all"});
  ASSERT_EQ(all.status, 0) << all.err;
  // The same table first, then the lists it shortened.
  ASSERT_EQ(all.out.compare(0, brief.out.size(), brief.out), 0);
  const std::vector<std::string> lines = Lines(all.out.substr(brief.out.size()));
  std::map<std::string, std::vector<std::string>> lists;
  std::string current;
  for (const std::string& line : lines) {
    const size_t cut = line.find(", all ");
    if (cut != std::string::npos) current = line.substr(0, cut);
    else if (!line.empty()) lists[current].push_back(line);
  }
  // Short lists stay in the table alone.
  EXPECT_EQ(lists.count("Type"), 0u);
  ASSERT_EQ(lists["Hour"].size(), 24u);
  EXPECT_EQ(lists["Hour"][7], "  7   07");
  EXPECT_EQ(lists["Minute"].size(), 60u);
  // Every font family, each in the table's own order, the count in its title.
  const std::string fonts = Rows(brief.out).at("Font").back();
  const size_t count = std::stoul(fonts.substr(fonts.rfind('(') + 1));
  ASSERT_EQ(lists["Font"].size(), count);
  EXPECT_NE(all.out.find("Font, all " + std::to_string(count) + " elements:"), std::string::npos);
  const auto name = [](const std::string& line) {  // "  12  Liberation Sans"
    const size_t index = line.find_first_not_of(' ');
    return line.substr(line.find_first_not_of(' ', line.find_first_not_of("0123456789", index)));
  };
  EXPECT_EQ(fonts.rfind(name(lists["Font"].front()) + ", ", 0), 0u) << fonts;
  EXPECT_NE(fonts.find(", " + name(lists["Font"].back()) + " ("), std::string::npos) << fonts;
}

TEST(RenderCommandLine, NoGLContextIsARunTimeError) {
  // GLVND with no vendor library finds no EGL driver: no context at all.
  const ToolRun run = RunRender({"--out", render_test::MakeTempFolder("nogl") + "/x.png"},
                                {"__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent.json",
                                 "__EGL_VENDOR_LIBRARY_DIRS=/nonexistent"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("tickora-render: no GL context available: ", 0), 0u) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

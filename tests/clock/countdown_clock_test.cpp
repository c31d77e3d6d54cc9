// SPDX-License-Identifier: GPL-3.0-or-later
// The countdown as an audience sees it, with the wall clock driven by
// libfaketime in child processes (tests/clock/countdown_child.cpp): running
// across midnight, loaded on the eve of clock changes, counting to local
// times the clock skips or repeats, and its last second. Every expected
// instant is worked out here from tz facts (the UTC instant of each change
// and the offsets on either side), never by asking the code under test.
#include "tests/clock/ClockFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using clocktest::Utc;

struct Frame {
  int64_t time = 0;
  std::string text;
};

struct Output {
  std::vector<std::vector<std::string>> labels;  // one list per "make"
  std::vector<Frame> frames;
  int status = -1;
};

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// Runs the child with the zone and the clock settings in its environment.
Output RunChild(const std::string& tz, const std::string& clock,
                const std::vector<std::string>& script) {
  std::string command = "env TZ=" + Quoted(tz) + " LD_PRELOAD=" +
                        Quoted(std::getenv("TICKORA_FAKETIME")) +
                        " FAKETIME_DONT_FAKE_MONOTONIC=1 " + clock + " " +
                        Quoted(std::getenv("COUNTDOWN_CHILD"));
  for (const std::string& word : script) command += " " + Quoted(word);
  Output out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::string text(line);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (text.rfind("labels|", 0) == 0) {
      std::vector<std::string> labels;
      for (size_t start = 7; start <= text.size();) {
        const size_t end = std::min(text.find('|', start), text.size());
        labels.push_back(text.substr(start, end - start));
        start = end + 1;
      }
      out.labels.push_back(labels);
    } else if (text.rfind("frame ", 0) == 0) {
      const size_t space = text.find(' ', 6);
      out.frames.push_back({std::stoll(text.substr(6, space - 6)), text.substr(space + 1)});
    }
  }
  out.status = pclose(pipe);
  return out;
}

// A clock that reads the instant in a file, frame by frame ("at").
class StampFile {
 public:
  explicit StampFile(const std::string& first) {
    char name[] = "/tmp/tickora-stamp-XXXXXX";
    const int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    path = name;
    FILE* file = std::fopen(path.c_str(), "w");
    if (file != nullptr) {
      std::fprintf(file, "%s\n", first.c_str());
      std::fclose(file);
    }
  }
  ~StampFile() { std::remove(path.c_str()); }
  std::string Environment() const {
    return "FAKETIME_NO_CACHE=1 FAKETIME_TIMESTAMP_FILE=" + Quoted(path);
  }

 private:
  std::string path;
};

// What HH:MM:SS reads with `left` milliseconds to go, rounded up.
std::string Left(int64_t left) {
  const int64_t s = left <= 0 ? 0 : (left + 999) / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  return text;
}

std::vector<std::string> Days(std::vector<std::string> days) { return days; }

}  // namespace

// 31 December 2026 in Berlin (UTC+1): a running clock from 23:59:57 counts
// down to the New Year and stays at zero after it; an instance made after
// midnight lists the same labels, so "1 Jan 2027" still means the New Year.
TEST(CountdownClock, NewYearStaysAtZeroAfterMidnight) {
  const int64_t newYear = Utc(2026, 12, 31, 23, 0);
  const Output out =
      RunChild("Europe/Berlin", "FAKETIME='@2026-12-31 23:59:57'",
               {"make", "set", "Type", "2", "set", "Date", "1", "run", "4500", "make", "set",
                "Type", "2", "set", "Date", "1", "frame"});
  ASSERT_EQ(out.status, 0);
  ASSERT_EQ(out.labels.size(), 2u);
  const std::vector<std::string> labels = {"31 Dec 2026", "1 Jan 2027", "2 Jan 2027",
                                           "3 Jan 2027",  "4 Jan 2027", "5 Jan 2027",
                                           "6 Jan 2027",  "7 Jan 2027", "8 Jan 2027",
                                           "9 Jan 2027"};
  EXPECT_EQ(out.labels[0], labels);
  EXPECT_EQ(out.labels[1], labels);
  ASSERT_GT(out.frames.size(), 10u);
  EXPECT_LT(out.frames.front().time, newYear - 1000) << "the run should start before 23:59:59";
  EXPECT_GT(out.frames.back().time, newYear + 1000) << "the run should end after 00:00:01";
  for (const Frame& f : out.frames)
    EXPECT_EQ(f.text, Left(newYear - f.time)) << "at " << f.time - newYear << " ms";
}

// A countdown to 20:00 on 31 December that has finished stays finished
// through midnight and the next day's 20:00.
TEST(CountdownClock, FinishedCountdownStaysFinishedAcrossMidnight) {
  StampFile clock("2026-12-31 19:00:00");
  const Output out = RunChild(
      "Europe/Berlin", clock.Environment(),
      {"make", "set", "Type", "2", "set", "Hour", "20",
       "at", "2026-12-31T19:59:59.500", "frame", "at", "2026-12-31T20:00:00.000", "frame",
       "at", "2026-12-31T23:59:59.900", "frame", "at", "2027-01-01T00:00:00.100", "frame",
       "at", "2027-01-01T20:00:30.000", "frame", "make", "set", "Type", "2", "set", "Hour", "20",
       "frame"});
  ASSERT_EQ(out.status, 0);
  ASSERT_EQ(out.frames.size(), 6u);
  EXPECT_EQ(out.frames[0].time, Utc(2026, 12, 31, 18, 59, 59, 500));
  EXPECT_EQ(out.frames[0].text, "00:00:01");
  for (size_t i = 1; i < out.frames.size(); ++i) EXPECT_EQ(out.frames[i].text, "00:00:00") << i;
  ASSERT_EQ(out.labels.size(), 2u);
  EXPECT_EQ(out.labels[1].front(), "31 Dec 2026");
}

namespace {

// Loaded at `stamp` (local), the instant `load`; the labels must run from
// `first` over ten calendar days, and "Date" 1 at 09:00 must be `nine`
// (the UTC instant of 09:00 local on the day after `first`).
struct Eve {
  const char* what;
  const char* tz;
  const char* stamp;
  int64_t load;
  std::vector<std::string> labels;
  int64_t nine;
};

void PrintTo(const Eve& eve, std::ostream* out) { *out << eve.what; }

std::vector<Eve> Eves() {
  return {
      // CET -> CEST at 01:00 UTC on 28 March 2027, CEST -> CET at 01:00 UTC
      // on 31 October 2027.
      {"BerlinSpring", "Europe/Berlin", "2027-03-27 23:30:00", Utc(2027, 3, 27, 22, 30),
       Days({"27 Mar 2027", "28 Mar 2027", "29 Mar 2027", "30 Mar 2027", "31 Mar 2027",
             "1 Apr 2027", "2 Apr 2027", "3 Apr 2027", "4 Apr 2027", "5 Apr 2027"}),
       Utc(2027, 3, 28, 7, 0)},
      {"BerlinAutumn", "Europe/Berlin", "2027-10-31 00:15:00", Utc(2027, 10, 30, 22, 15),
       Days({"31 Oct 2027", "1 Nov 2027", "2 Nov 2027", "3 Nov 2027", "4 Nov 2027",
             "5 Nov 2027", "6 Nov 2027", "7 Nov 2027", "8 Nov 2027", "9 Nov 2027"}),
       Utc(2027, 11, 1, 8, 0)},
      // EST -> EDT at 07:00 UTC on 14 March, EDT -> EST at 06:00 UTC on
      // 7 November 2027.
      {"NewYorkSpring", "America/New_York", "2027-03-13 23:30:00", Utc(2027, 3, 14, 4, 30),
       Days({"13 Mar 2027", "14 Mar 2027", "15 Mar 2027", "16 Mar 2027", "17 Mar 2027",
             "18 Mar 2027", "19 Mar 2027", "20 Mar 2027", "21 Mar 2027", "22 Mar 2027"}),
       Utc(2027, 3, 14, 13, 0)},
      {"NewYorkAutumn", "America/New_York", "2027-11-07 00:15:00", Utc(2027, 11, 7, 4, 15),
       Days({"7 Nov 2027", "8 Nov 2027", "9 Nov 2027", "10 Nov 2027", "11 Nov 2027",
             "12 Nov 2027", "13 Nov 2027", "14 Nov 2027", "15 Nov 2027", "16 Nov 2027"}),
       Utc(2027, 11, 8, 14, 0)},
      // +11 -> +10:30 (02:00 -> 01:30) at 15:00 UTC on 3 April, +10:30 -> +11
      // (02:00 -> 02:30) at 15:30 UTC on 2 October 2027.
      {"LordHoweApril", "Australia/Lord_Howe", "2027-04-04 00:15:00", Utc(2027, 4, 3, 13, 15),
       Days({"4 Apr 2027", "5 Apr 2027", "6 Apr 2027", "7 Apr 2027", "8 Apr 2027",
             "9 Apr 2027", "10 Apr 2027", "11 Apr 2027", "12 Apr 2027", "13 Apr 2027"}),
       Utc(2027, 4, 4, 22, 30)},
      {"LordHoweOctober", "Australia/Lord_Howe", "2027-10-02 23:30:00", Utc(2027, 10, 2, 13, 0),
       Days({"2 Oct 2027", "3 Oct 2027", "4 Oct 2027", "5 Oct 2027", "6 Oct 2027",
             "7 Oct 2027", "8 Oct 2027", "9 Oct 2027", "10 Oct 2027", "11 Oct 2027"}),
       Utc(2027, 10, 2, 22, 0)},
      // +5:45 all year.
      {"Kathmandu", "Asia/Kathmandu", "2027-03-27 23:30:00", Utc(2027, 3, 27, 17, 45),
       Days({"27 Mar 2027", "28 Mar 2027", "29 Mar 2027", "30 Mar 2027", "31 Mar 2027",
             "1 Apr 2027", "2 Apr 2027", "3 Apr 2027", "4 Apr 2027", "5 Apr 2027"}),
       Utc(2027, 3, 28, 3, 15)},
  };
}

class LoadedOnTheEve : public ::testing::TestWithParam<Eve> {};

}  // namespace

TEST_P(LoadedOnTheEve, LabelsNameConsecutiveDaysAndTargetsThem) {
  const Eve& eve = GetParam();
  StampFile clock(eve.stamp);
  const Output out = RunChild(eve.tz, clock.Environment(),
                              {"make", "set", "Type", "2", "set", "Date", "1", "set", "Hour", "9",
                               "frame"});
  ASSERT_EQ(out.status, 0);
  ASSERT_EQ(out.labels.size(), 1u);
  EXPECT_EQ(out.labels[0], eve.labels);
  ASSERT_EQ(out.frames.size(), 1u);
  ASSERT_EQ(out.frames[0].time, eve.load) << "libfaketime read the stamp in another zone";
  EXPECT_EQ(out.frames[0].text, Left(eve.nine - eve.load));
}

INSTANTIATE_TEST_SUITE_P(Zones, LoadedOnTheEve, ::testing::ValuesIn(Eves()),
                         [](const ::testing::TestParamInfo<Eve>& info) {
                           return std::string(info.param.what);
                         });

namespace {

// Two instances in one process, A counting to `hour`:30 on "Date" 1, B to
// 23:00 on other days around the change; frames alternate, B made first
// when `bFirst`. A must count to `target` every time.
void ExpectTheSameTargetWhateverTheOrder(const char* stamp, int hour, int64_t load,
                                         int64_t target, bool bFirst) {
  StampFile clock(stamp);
  const std::vector<std::string> makeA = {"make", "set", "Type", "2", "set", "Date", "1",
                                          "set", "Hour", std::to_string(hour), "set", "Minute",
                                          "30"};
  const std::vector<std::string> makeB = {"make", "set", "Type", "2", "set", "Date", "0",
                                          "set", "Hour", "23"};
  const std::vector<std::string>& second = bFirst ? makeA : makeB;
  std::vector<std::string> script = bFirst ? makeB : makeA;
  script.insert(script.end(), second.begin(), second.end());
  const std::string a = bFirst ? "1" : "0", b = bFirst ? "0" : "1";
  for (const char* bDate : {"0", "2", "1"}) {
    for (const std::string& word : {std::string("use"), b, std::string("set"), std::string("Date"),
                                    std::string(bDate), std::string("frame"), std::string("use"),
                                    a, std::string("frame")})
      script.push_back(word);
  }
  const Output out = RunChild("Europe/Berlin", clock.Environment(), script);
  ASSERT_EQ(out.status, 0);
  ASSERT_EQ(out.frames.size(), 6u);
  for (size_t i = 1; i < out.frames.size(); i += 2) {
    EXPECT_EQ(out.frames[i].time, load);
    EXPECT_EQ(out.frames[i].text, Left(target - load)) << (bFirst ? "B first, " : "A first, ")
                                                       << "frame " << i;
  }
}

}  // namespace

// Berlin puts its clocks back on 31 October 2027: 02:30 comes twice, first
// at 00:30 UTC (CEST), then at 01:30 UTC (CET). The first one counts.
TEST(CountdownClock, RepeatedLocalTimeIsItsFirstOccurrenceInEitherOrder) {
  for (bool bFirst : {false, true})
    ExpectTheSameTargetWhateverTheOrder("2027-10-30 20:00:00", 2, Utc(2027, 10, 30, 18, 0),
                                        Utc(2027, 10, 31, 0, 30), bFirst);
}

// On 28 March 2027 Berlin skips 02:00-03:00: 02:30 moves forward by the gap
// to 03:30 CEST, 01:30 UTC.
TEST(CountdownClock, SkippedLocalTimeMovesForwardByTheGapInEitherOrder) {
  for (bool bFirst : {false, true})
    ExpectTheSameTargetWhateverTheOrder("2027-03-27 20:00:00", 2, Utc(2027, 3, 27, 19, 0),
                                        Utc(2027, 3, 28, 1, 30), bFirst);
}

// The read-out reaches zero at the target, not a unit before it: the time
// left is rounded up to the smallest unit shown.
TEST(CountdownClock, LastUnitRoundsUpInEachForm) {
  StampFile clock("2026-12-08 10:00:00");
  struct Form {
    const char* seconds;
    const char* millis;
    std::vector<std::string> expected;  // 1.0 s, 0.5 s, ~0.005 s, 0 s left, 1 s after
  };
  const Form forms[] = {
      {"0", "0", {"00:01", "00:01", "00:01", "00:00", "00:00"}},
      {"1", "0", {"00:00:01", "00:00:01", "00:00:01", "00:00:00", "00:00:00"}},
      {"1", "1", {"00:00:01:00", "00:00:00:50", "00:00:00:01", "00:00:00:00", "00:00:00:00"}},
  };
  for (const Form& form : forms) {
    const Output out = RunChild(
        "UTC", clock.Environment(),
        {"make", "set", "Type", "2", "set", "Hour", "10", "set", "Minute", "10", "set",
         "Show Seconds", form.seconds, "set", "Show Millisecs", form.millis,
         "at", "2026-12-08T10:09:59.000", "frame", "at", "2026-12-08T10:09:59.500", "frame",
         "at", "2026-12-08T10:09:59.995", "frame", "at", "2026-12-08T10:10:00.000", "frame",
         "at", "2026-12-08T10:10:01.000", "frame"});
    ASSERT_EQ(out.status, 0);
    ASSERT_EQ(out.frames.size(), 5u);
    // libfaketime reads .995 as 994 or 995 ms: either is within the last
    // hundredth.
    EXPECT_GE(out.frames[2].time, Utc(2026, 12, 8, 10, 9, 59, 991));
    EXPECT_LT(out.frames[2].time, Utc(2026, 12, 8, 10, 10, 0));
    for (size_t i = 0; i < 5; ++i)
      EXPECT_EQ(out.frames[i].text, form.expected[i]) << form.seconds << form.millis << " " << i;
  }
}

namespace {

// A script of "at STAMP" + "frame" pairs after some settings, and what each
// frame must read (" [warn]" marks the warning colour, "" nothing drawn).
struct Scenario {
  const char* what;
  const char* tz;
  std::vector<std::string> settings;
  std::vector<std::pair<std::string, std::string>> frames;  // local stamp, read-out
};

std::vector<std::string> Countdown(std::vector<std::string> settings) {
  settings.insert(settings.begin(), {"make", "set", "Type", "2"});
  return settings;
}

const char* const kNewYear = "2027-01-01 00:00";

}  // namespace

// A typed target, what happens at zero and the warning, frame by frame
// across the target.
TEST(CountdownClock, TypedTargetAtZeroAndWarning) {
  const Scenario scenarios[] = {
      {"typed New Year, Berlin", "Europe/Berlin", Countdown({"text", "Target", kNewYear}),
       {{"2026-12-31T23:59:59.000", "00:00:01"}, {"2027-01-01T00:00:00.000", "00:00:00"},
        {"2027-01-01T00:00:05.000", "00:00:00"}}},
      {"typed New Year, New York, with T", "America/New_York",
       Countdown({"text", "Target", "2027-01-01T00:00:00"}),
       {{"2026-12-31T23:59:58.500", "00:00:02"}, {"2027-01-01T00:00:00.001", "00:00:00"}}},
      // The show saved on 28 Dec and opened again on the evening of the 31st.
      {"reopened later", "Europe/Berlin", Countdown({"text", "Target", kNewYear}),
       {{"2026-12-28T12:00:00.000", "84:00:00"}, {"2026-12-31T23:59:50.000", "00:00:10"}}},
      {"days", "Europe/Berlin",
       Countdown({"text", "Target", kNewYear, "set", "Long times", "1"}),
       {{"2026-12-22T05:34:54.000", "9d 18:25:06"}, {"2026-12-31T00:00:00.000", "1d 00:00:00"},
        {"2026-12-31T00:00:00.001", "1d 00:00:00"}, {"2026-12-31T00:00:01.000", "23:59:59"}}},
      {"count up", "Europe/Berlin", Countdown({"text", "Target", kNewYear, "set", "At zero", "1"}),
       {{"2026-12-31T23:59:59.500", "00:00:01"}, {"2027-01-01T00:00:00.000", "+00:00:00"},
        {"2027-01-01T00:00:00.999", "+00:00:00"}, {"2027-01-01T00:00:01.000", "+00:00:01"},
        {"2027-01-01T00:01:23.400", "+00:01:23"}}},
      {"flash", "Europe/Berlin", Countdown({"text", "Target", kNewYear, "set", "At zero", "2"}),
       {{"2027-01-01T00:00:00.200", "00:00:00"}, {"2027-01-01T00:00:00.700", ""},
        {"2027-01-01T00:00:07.100", "00:00:00"}}},
      {"hide", "Europe/Berlin", Countdown({"text", "Target", kNewYear, "set", "At zero", "3"}),
       {{"2026-12-31T23:59:59.999", "00:00:01"}, {"2027-01-01T00:00:00.000", ""}}},
      {"warn at 10 s", "Europe/Berlin", Countdown({"text", "Target", kNewYear, "set", "Warn at", "1"}),
       {{"2026-12-31T23:59:49.999", "00:00:11"}, {"2026-12-31T23:59:50.000", "00:00:10 [warn]"},
        {"2026-12-31T23:59:59.999", "00:00:01 [warn]"}, {"2027-01-01T00:00:00.000", "00:00:00"}}},
      // Put back after zero (an NTP correction): still zero, until the
      // target is typed again.
      {"backward step", "Europe/Berlin", Countdown({"text", "Target", kNewYear}),
       {{"2027-01-01T00:00:00.000", "00:00:00"}, {"2026-12-31T23:59:58.000", "00:00:00"},
        {"2026-12-31T23:00:00.000", "00:00:00"}}},
      {"a time alone is its next occurrence", "Europe/Berlin",
       {"at", "2026-12-31T20:00:00.000", "make", "set", "Type", "2", "text", "Target", "19:30"},
       {{"2026-12-31T20:00:00.000", "23:30:00"}}},
      {"bad target", "Europe/Berlin", Countdown({"text", "Target", "2027-02-30 00:00"}),
       {{"2026-12-31T20:00:00.000", "--:--:--"}}},
      {"bad target, minutes", "Europe/Berlin",
       Countdown({"set", "Show Seconds", "0", "text", "Target", "tomorrow\xff"}),
       {{"2026-12-31T20:00:00.000", "--:--"}}},
      // Hundredths come after seconds even with "Show Seconds" off.
      {"hundredths imply seconds", "UTC",
       Countdown({"text", "Target", "2026-12-08 10:10", "set", "Show Seconds", "0", "set",
                  "Show Millisecs", "1"}),
       {{"2026-12-08T10:09:59.995", "00:00:00:01"}, {"2026-12-08T10:09:15.000", "00:00:45:00"}}},
  };
  for (const Scenario& s : scenarios) {
    std::string first = s.frames.front().first;
    first[first.find('T')] = ' ';
    StampFile clock(first);
    std::vector<std::string> script = s.settings;
    for (const auto& frame : s.frames) script.insert(script.end(), {"at", frame.first, "frame"});
    const Output out = RunChild(s.tz, clock.Environment(), script);
    ASSERT_EQ(out.status, 0) << s.what;
    ASSERT_EQ(out.frames.size(), s.frames.size()) << s.what;
    for (size_t i = 0; i < s.frames.size(); ++i)
      EXPECT_EQ(out.frames[i].text, s.frames[i].second) << s.what << ", " << s.frames[i].first;
  }
}

// The computer's zone changes while the host runs: the Digital read-out and
// a local target follow it within a second. (libfaketime reads its stamps in
// the process's zone, so the instants after the change are taken from the
// frames.)
TEST(CountdownClock, ZoneChangesAreFollowed) {
  StampFile clock("2026-12-31 21:00:00");  // 20:00 UTC
  const Output out = RunChild(
      "Europe/Berlin", clock.Environment(),
      {"make", "frame", "make", "set", "Type", "2", "text", "Target", kNewYear, "frame", "zone",
       "America/New_York", "at", "2026-12-31T21:00:02", "frame", "use", "0", "frame"});
  ASSERT_EQ(out.status, 0);
  ASSERT_EQ(out.frames.size(), 4u);
  EXPECT_EQ(out.frames[0].text, "21:00:00");
  EXPECT_EQ(out.frames[1].text, "03:00:00");
  // New York is UTC-5 in winter: its New Year is 05:00 UTC.
  EXPECT_EQ(out.frames[2].text, Left(Utc(2027, 1, 1, 5, 0) - out.frames[2].time));
  const int64_t local = out.frames[3].time - 5 * 3600000;
  char expected[16];
  std::snprintf(expected, sizeof expected, "%02d:%02d:%02d",
                static_cast<int>(local / 3600000 % 24), static_cast<int>(local / 60000 % 60),
                static_cast<int>(local / 1000 % 60));
  EXPECT_EQ(out.frames[3].text, expected);
}

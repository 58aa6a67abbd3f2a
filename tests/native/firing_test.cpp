// The firing check: text conversion, a day of drifting timer ticks, jumping clocks.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <vector>

#include "task/firing.h"
#include "task/time_text.h"

namespace {

using task::FiringCheck;
using task::LocalTime;

TEST(TimeText, ConversionIsTotal) {
  constexpr std::optional<int> none;
  struct Case {
    const char* text;
    std::optional<int> value;  // none: no number, which never matches the clock
  } cases[] = {
      {"07", 7},  {"0", 0},     {"", none},  {" ", none}, {"  12ab", 12}, {"abc", none},
      {"-3", -3}, {"+4", 4},    {"--4", none}, {"1 2", 1}, {"99999999999999999999", INT_MAX},
      {"-99999999999999999999", INT_MIN}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
      {"\xe5\x8d\x81", none},  // a Chinese numeral is not a digit
      // Full-width, as a Chinese input method types in full-width mode.
      {"\xef\xbc\x91\xef\xbc\x98", 18},                  // "１８"
      {"\xef\xbc\x90\xef\xbc\x97", 7},                   // "０７"
      {"\xef\xbc\x91" "8", 18},                             // "１" then "8"
      {"\xe3\x80\x80\xef\xbc\x8d\xef\xbc\x93", -3},     // "　－３"
      {"\xe3\x80\x80", none},                              // one full-width blank
      {"\xef\xbc\x9a", none},                              // "：" is not a digit
      {"\xef\xbc", none},                                   // a cut sequence
  };
  for (const auto& c : cases) {
    EXPECT_EQ(task::TextToNumber(c.text), c.value) << c.text;
    EXPECT_EQ(task::TextToInt(c.text), c.value.value_or(0)) << c.text;
  }
  EXPECT_EQ(task::IntToText(9), "9");
}

LocalTime FromMs(long long ms) {
  // 2026-12-08 00:00:00.000 plus ms, within a few days.
  long long day = ms / 86400000, rest = ms % 86400000;
  return {2026, 12, 8 + static_cast<int>(day), static_cast<int>(rest / 3600000),
          static_cast<int>(rest / 60000 % 60), static_cast<int>(rest / 1000 % 60),
          static_cast<int>(rest % 1000)};
}

// Targets at and around every minute boundary of the day (so every hour and
// the day boundary too), and every 37th second between them.
std::vector<int> SampleTargets() {
  std::vector<int> targets;
  for (int minute = 0; minute < 1440; ++minute) {
    for (int offset : {-2, -1, 0, 1, 2}) targets.push_back((minute * 60 + offset + 86400) % 86400);
  }
  for (int second = 0; second < 86400; second += 37) targets.push_back(second);
  return targets;
}

TEST(Firing, DriftingTicksFireEachTargetExactlyOnce) {
  // The 1000 ms timer runs slow (1015.6 ms) or fast (984.4 ms), now and then
  // late, so it shows a second twice or skips one: the target must still fire
  // exactly once. Runs start a day after FromMs's epoch, for targets just
  // after midnight.
  constexpr long long kDay = 86400000;
  const double periods[] = {1015.625, 984.375};
  // Phase 85 puts two fast readings in the target second (an equality test
  // fires twice there).
  const int phases[] = {0, 1, 85, 137, 500, 862, 999};
  enum Late { kNone, kEveryThird, kAcrossTarget };  // kAcrossTarget skips the target second
  for (int target : SampleTargets()) {
    task::TimeOfDay t{target / 3600, target / 60 % 60, target % 60};
    long long instant = kDay + target * 1000LL;
    for (double period : periods) {
      for (int phase : phases) {
        for (Late late : {kNone, kEveryThird, kAcrossTarget}) {
          FiringCheck check;
          double at = static_cast<double>(instant - 5000 + phase);
          check.Start(FromMs(static_cast<long long>(at)));
          int fires = 0, n = 0;
          while (at < instant + 5000) {
            bool lateTick = (late == kEveryThird && ++n % 3 == 0) ||
                            (late == kAcrossTarget && at < instant - 400 && at + period >= instant);
            at += lateTick ? 1800.0 : period;
            if (check.Check(FromMs(static_cast<long long>(at)), t)) ++fires;
          }
          ASSERT_EQ(fires, 1) << "target " << target << " period " << period << " phase " << phase
                              << " late " << late;
        }
      }
    }
  }
}

TEST(Firing, SchedulingJustAfterTheTargetWaitsForTheNextDay) {
  FiringCheck check;
  task::TimeOfDay ten{10, 0, 0};
  check.Start({2026, 12, 8, 10, 0, 0, 200});
  EXPECT_FALSE(check.Check({2026, 12, 8, 10, 0, 1, 210}, ten));
  EXPECT_FALSE(check.Check({2026, 12, 8, 10, 0, 2, 220}, ten));
  check.Check({2026, 12, 9, 9, 59, 59, 300}, ten);  // (a long gap in between)
  EXPECT_TRUE(check.Check({2026, 12, 9, 10, 0, 0, 300}, ten));
  // The wake timer's wait: the next day's once the second has come.
  EXPECT_EQ(task::MsUntil({2026, 12, 8, 9, 59, 59, 999}, ten), 1);
  EXPECT_EQ(task::MsUntil({2026, 12, 8, 10, 0, 0, 0}, ten), 86400000);
  EXPECT_EQ(task::MsUntil({2026, 12, 8, 10, 0, 0, 200}, ten), 86399800);
  EXPECT_EQ(task::MsUntil({2026, 12, 7, 23, 0, 0, 0}, ten), 39600000);
}

TEST(Firing, JumpsAndGapsFireNothing) {
  task::TimeOfDay target{12, 0, 0};
  struct Case {
    LocalTime before, after;
  } cases[] = {
      {{2026, 12, 8, 12, 0, 1, 0}, {2026, 12, 8, 11, 59, 59, 0}},  // backwards
      {{2026, 12, 8, 11, 59, 50, 0}, {2026, 12, 8, 12, 0, 5, 0}},  // forward 15 s
      {{2026, 12, 8, 2, 0, 0, 0}, {2026, 12, 8, 12, 0, 0, 0}},     // resumed hours later
      {{2026, 12, 8, 12, 0, 0, 0}, {2026, 12, 8, 12, 0, 0, 0}},    // the same reading
  };
  for (const Case& c : cases) {
    FiringCheck check;
    check.Start(c.before);
    EXPECT_FALSE(check.Check(c.after, target));
  }
  // Up to three seconds apart the skipped second is made up.
  FiringCheck check;
  check.Start({2026, 12, 8, 11, 59, 58, 0});
  EXPECT_TRUE(check.Check({2026, 12, 8, 12, 0, 1, 0}, target));
}

TEST(Firing, MidnightAndImpossibleTargets) {
  FiringCheck check;
  check.Start({2026, 12, 31, 23, 59, 59, 500});
  EXPECT_TRUE(check.Check({2027, 1, 1, 0, 0, 0, 400}, {0, 0, 0}));
  for (task::TimeOfDay bad : {task::TimeOfDay{24, 0, 0}, {7, 60, 0}, {-1, 0, 0}, {7, 5, 75}}) {
    FiringCheck c;
    c.Start({2026, 12, 8, 0, 0, 0, 0});
    EXPECT_EQ(task::MsUntil({2026, 12, 8, 0, 0, 0, 0}, bad), 86400000);  // a day: nothing to wake for
    for (int s = 1; s < 86400; ++s) {
      ASSERT_FALSE(c.Check(FromMs(s * 1000LL), bad));
    }
  }
  FiringCheck never;  // not started: no previous observation
  EXPECT_FALSE(never.Check({2026, 12, 8, 0, 0, 0, 0}, {0, 0, 0}));
}

}  // namespace

// The firing check of an armed task. The clock is read once per check, and
// the task fires when its target second lies after the previous observation
// and at or before this one, provided the two are at most three seconds
// apart. Window timers drift, so a one-second timer now and then skips a
// second; comparing for equality alone would then silently never fire. A
// clock that goes backwards, or a gap longer than three seconds (the computer
// slept, the clock was set forward), fires nothing: a computer resumed hours
// after its target is not shut down on waking.
#pragma once

#include <cstdint>
#include <optional>

#include "task/local_time.h"

namespace task {

struct TimeOfDay {
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Milliseconds on a continuous scale across days, for comparing readings.
std::int64_t ToInstantMs(const LocalTime& t);

inline constexpr std::int64_t kDayMs = 86400000;

// Whether the clock ever shows the time: 00:00:00 to 23:59:59.
constexpr bool IsClockTime(TimeOfDay t) {
  return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
         t.second <= 59;
}

// Milliseconds from `now` until the target second next shows on the clock
// (a day when it shows now); a day for a time the clock never shows.
std::int64_t MsUntil(const LocalTime& now, TimeOfDay target);

class FiringCheck {
 public:
  // The moment of scheduling is the first observation.
  void Start(const LocalTime& now) { last_ = ToInstantMs(now); }
  // Whether the target second was passed since the last observation; `now`
  // becomes the last observation.
  bool Check(const LocalTime& now, TimeOfDay target);

  static constexpr std::int64_t kMaxGapMs = 3000;

 private:
  std::optional<std::int64_t> last_;
};

}  // namespace task

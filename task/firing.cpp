// See firing.h.
#include "task/firing.h"

namespace task {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's
// days_from_civil), valid for any year the clock may report.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  std::int64_t yoe = y - era * 400;
  std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

std::int64_t ToInstantMs(const LocalTime& t) {
  std::int64_t days = DaysFromCivil(t.year, t.month, t.day);
  return days * kDayMs + ((t.hour * 60LL + t.minute) * 60 + t.second) * 1000 + t.millisecond;
}

std::int64_t MsUntil(const LocalTime& now, TimeOfDay target) {
  const std::int64_t current = ToInstantMs(now);
  const std::int64_t intoDay = ((current % kDayMs) + kDayMs) % kDayMs;
  const std::int64_t at = ((target.hour * 60LL + target.minute) * 60 + target.second) * 1000;
  if (!IsClockTime(target)) return kDayMs;
  const std::int64_t until = at - intoDay;
  return until > 0 ? until : until + kDayMs;
}

bool FiringCheck::Check(const LocalTime& now, TimeOfDay target) {
  std::int64_t current = ToInstantMs(now);
  std::optional<std::int64_t> previous = last_;
  last_ = current;
  if (!previous || current <= *previous || current - *previous > kMaxGapMs) return false;
  if (!IsClockTime(target)) return false;
  std::int64_t secondOfDay = (target.hour * 60LL + target.minute) * 60 + target.second;
  // The target's instant on the day of the current reading, and on the day
  // before for a window that spans midnight.
  std::int64_t today = current - ((current % kDayMs) + kDayMs) % kDayMs;
  for (std::int64_t day : {today, today - kDayMs}) {
    std::int64_t instant = day + secondOfDay * 1000;
    if (instant > *previous && instant <= current) return true;
  }
  return false;
}

}  // namespace task

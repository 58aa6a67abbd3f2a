// Formats the status-bar clock. The form stays within the 231-pixel label at
// the default 12-pixel font: no weekday, and the time always in eight places
// so the caption does not jitter from second to second.
#include "task/clock.h"

#include <cstdio>

namespace task {

std::string ClockCaption(const LocalTime& now) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%s%d年%d月%d日 %02d:%02d:%02d", kClockPrefix, now.year,
                now.month, now.day, now.hour, now.minute, now.second);
  return buf;
}

}  // namespace task

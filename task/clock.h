// The local clock as the program reads it, and the local-time caption of the
// main window's status bar.
#pragma once

#include <string>

#include "task/local_time.h"

namespace task {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
};

inline constexpr char kClockPrefix[] = "本地时间：";

// "本地时间：" followed by the date and time, e.g. "本地时间：2026年12月8日 09:05:03".
std::string ClockCaption(const LocalTime& now);

}  // namespace task

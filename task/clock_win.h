// The local clock on Windows.
#pragma once

#include "task/clock.h"

namespace task {

class Win32Clock final : public Clock {
 public:
  LocalTime Now() override;
};

}  // namespace task

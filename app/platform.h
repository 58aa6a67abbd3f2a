// The operating-system services handlers use besides the window operations.
// The Windows program implements them for real; tests fake them.
#pragma once

#include "task/local_time.h"

namespace app {

class Platform {
 public:
  virtual ~Platform() = default;
  virtual task::LocalTime Now() = 0;
};

}  // namespace app

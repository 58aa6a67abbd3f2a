// The operating-system services of the running program on Windows.
#pragma once

#include "app/platform.h"

namespace app {

class Win32Platform final : public Platform {
 public:
  task::LocalTime Now() override;
};

}  // namespace app

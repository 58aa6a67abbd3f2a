// The four power actions a scheduled task can end in, and the interface the
// task performs one through. The scheduling logic only sees this interface, so
// it can be driven natively with a fake that records the action instead of
// ending the machine's session.
#pragma once

#include <cstdint>

namespace task {

// The numbers are the task's own encoding of the choice; any other value is
// possible in a corrupt record and must be refused, not acted upon.
enum class PowerMode : std::int32_t { kShutDown = 1, kRestart = 2, kLogOff = 3, kHibernate = 4 };

class PowerActions {
 public:
  virtual ~PowerActions() = default;
  // Performs the action forced, on a short-lived worker thread; returns at
  // once. Failures are ignored: by the time they would show, there is nobody
  // left to tell.
  virtual void RunPowerAction(PowerMode mode) = 0;
};

}  // namespace task

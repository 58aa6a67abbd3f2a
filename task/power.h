// The four power actions a scheduled task can end in, and the interface the
// task performs one through. The scheduling logic only sees this interface, so
// it can be driven natively with a fake that records the action instead of
// ending the machine's session.
#pragma once

#include <cstdint>
#include <string>

namespace task {

// The numbers are the task's own encoding of the choice; any other value is
// possible in a corrupt record and must be refused, not acted upon.
enum class PowerMode : std::int32_t { kShutDown = 1, kRestart = 2, kLogOff = 3, kHibernate = 4 };

// Why the system did not perform an action, as far as the program can tell.
enum class PowerFailure : std::int32_t {
  kNone = 0,
  kNoRight = 1,               // the account or a policy lacks the right
  kHibernateUnavailable = 2,  // hibernation is off, or its file is the reduced one
  kNoWorker = 3,              // no thread could be started to perform it
  kRefused = 4,               // any other refusal; the system's error code tells more
};

// What an armed task asks of the system while it waits: to stay awake, with
// the reason an administrator reads in `powercfg /requests`, and, should the
// system sleep all the same, to be woken in time for the task. An empty
// reason withdraws the request.
struct AwakeRequest {
  std::string reason;  // UTF-8
  // Until the task is next due; the system is woken a minute before, so the
  // clock is ticking again when the second comes.
  std::int64_t dueInMs = 0;
  bool operator==(const AwakeRequest&) const = default;
};

class PowerActions {
 public:
  virtual ~PowerActions() = default;
  // Performs the action forced, on a short-lived worker thread; returns at
  // once. A failure is handed back to the user-interface thread, which runs
  // OnPowerActionFailed (task_context.h) for it.
  virtual void RunPowerAction(PowerMode mode) = 0;
  // Whether the system can hibernate now.
  virtual bool HibernateAvailable() = 0;
  // Asks the system not to fall asleep when idle, and this process not to
  // be suspended, for the request's reason, replacing any earlier request;
  // an empty request withdraws it. The display may still turn off. Call it
  // from the user-interface thread only.
  virtual void KeepAwake(const AwakeRequest& request) = 0;
};

}  // namespace task

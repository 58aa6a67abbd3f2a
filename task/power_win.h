// The power actions on Windows: which system call each mode becomes (a pure
// table, so the flags can be checked without ending anything), the calls
// themselves behind a seam of plain function pointers, the worker thread that
// performs one and posts a failure back to the window thread, the hibernation
// check and the request to stay awake. ExitWindowsEx and SetSuspendState end
// or suspend the whole session, so nothing but the shipped program may call
// the real ones. The request to stay awake is a power request with its
// reason, and a resume timer a minute before the task is due.
#pragma once

#include <windows.h>

#include "task/power.h"

namespace task {

enum class PowerCallKind { kNone, kExitWindows, kSuspend };

// One system call: ExitWindowsEx(flags, reason) or
// SetSuspendState(hibernate, force, FALSE); kNone for a mode that is refused.
struct PowerCall {
  PowerCallKind kind = PowerCallKind::kNone;
  UINT flags = 0;
  DWORD reason = 0;
  bool hibernate = false;
  bool force = false;
};

PowerCall PowerCallFor(PowerMode mode);

// The operating-system side of an action. Plain calling convention (not
// WINAPI) so a test can hand in ordinary functions on 32-bit builds too; the
// real entries forward to the system.
struct PowerApi {
  BOOL (*exitWindowsEx)(UINT flags, DWORD reason) = nullptr;
  BOOLEAN (*setSuspendState)(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeEventsDisabled) = nullptr;
  bool (*enablePrivilege)() = nullptr;
  bool (*hibernateAvailable)() = nullptr;
  // A power request object with `reason` as its simple reason string, or
  // null; its requests set and cleared by type; closed.
  HANDLE (*createRequest)(const wchar_t* reason) = nullptr;
  BOOL (*setRequest)(HANDLE request, POWER_REQUEST_TYPE type) = nullptr;
  BOOL (*clearRequest)(HANDLE request, POWER_REQUEST_TYPE type) = nullptr;
  void (*closeRequest)(HANDLE request) = nullptr;
  // The process's resume timer, due in `ms` (it wakes a sleeping system), or
  // cancelled for a negative `ms`.
  void (*setWakeTimer)(long long ms) = nullptr;
};

// The request types an armed task holds: the system stays out of idle sleep,
// and the process is not suspended while the system allows it to run.
inline constexpr POWER_REQUEST_TYPE kAwakeRequestTypes[] = {PowerRequestSystemRequired,
                                                            PowerRequestExecutionRequired};
// How long before the task is due a sleeping system is woken: enough for
// the clock to be ticking again when the second comes.
inline constexpr long long kWakeLeadMs = 60000;

const PowerApi& RealPowerApi();
// The due time SetWaitableTimer takes for `ms` from now: relative (negative)
// and in 100-ns units, for a timer that is not moved by a change of the clock.
LARGE_INTEGER WakeDueTime(long long ms);

// Enables SeShutdownPrivilege in this process's token, or in `token` (opened
// with TOKEN_ADJUST_PRIVILEGES). False when the token does not hold the
// privilege at all, which AdjustTokenPrivileges reports as success with
// ERROR_NOT_ALL_ASSIGNED.
bool EnableShutdownPrivilege();
bool EnableShutdownPrivilege(HANDLE token);

// Hibernation is on, with a full hibernation file (GetPwrCapabilities).
// True when the system cannot be asked: the action itself will tell then.
bool HibernationEnabled();

// What became of one action: kNone when the system took it, otherwise why
// not, with the system's error code of the failed call.
struct PowerResult {
  PowerFailure failure = PowerFailure::kNone;
  DWORD error = 0;
  bool operator==(const PowerResult&) const = default;
};

// The privilege step, then the one call for the mode. A refused mode makes no
// calls and gives kRefused. The call is made even when the privilege step
// fails: log-off needs no privilege, and for the others the system refuses on
// its own (ERROR_PRIVILEGE_NOT_HELD), so the system stays the only judge of
// what this account may do; its refusal is what the result reports.
PowerResult SystemPowerAction(PowerMode mode, const PowerApi& api = RealPowerApi());

// A failure as posted to the window thread: the mode and the failure in
// wParam, the error code in lParam.
struct PowerFailureReport {
  PowerMode mode = PowerMode::kShutDown;
  PowerResult result;
};
WPARAM PackFailure(PowerMode mode, PowerFailure failure);
PowerFailureReport UnpackFailure(WPARAM wParam, LPARAM lParam);

class Win32PowerActions final : public PowerActions {
 public:
  explicit Win32PowerActions(const PowerApi& api = RealPowerApi()) : api_(api) {}
  // Withdraws a request to stay awake still standing.
  ~Win32PowerActions() override;
  Win32PowerActions(const Win32PowerActions&) = delete;
  Win32PowerActions& operator=(const Win32PowerActions&) = delete;

  // Failures are posted as `message` to `window`, whose thread shows them;
  // the worker itself never touches the user interface. Without a window
  // they are dropped.
  void ReportFailuresTo(HWND window, UINT message);

  void RunPowerAction(PowerMode mode) override;
  bool HibernateAvailable() override;
  void KeepAwake(const AwakeRequest& request) override;

 private:
  // The request to stay awake for this reason replaces the standing one.
  void ReplaceRequest(const std::string& reason);

  PowerApi api_;
  HWND reportWindow_ = nullptr;
  UINT reportMessage_ = 0;
  HANDLE request_ = nullptr;  // the power request standing, or null
  std::string reason_;        // its reason; empty when none stands
  bool wakeSet_ = false;
};

}  // namespace task

// The power actions on Windows: which system call each mode becomes (a pure
// table, so the flags can be checked without ending anything), the calls
// themselves behind a seam of plain function pointers, and the worker thread
// that performs one. ExitWindowsEx and SetSuspendState end or suspend the whole
// session, so nothing but the shipped program may call the real ones.
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
};

const PowerApi& RealPowerApi();

// Enables SeShutdownPrivilege in this process's token, or in `token` (opened
// with TOKEN_ADJUST_PRIVILEGES). False when the token does not hold the
// privilege at all, which AdjustTokenPrivileges reports as success with
// ERROR_NOT_ALL_ASSIGNED.
bool EnableShutdownPrivilege();
bool EnableShutdownPrivilege(HANDLE token);

// The privilege step, then the one call for the mode; whether that call
// succeeded. A refused mode makes no calls and gives false. The call is made
// even when the privilege step fails: log-off needs no privilege, and for the
// others the system refuses on its own (ERROR_PRIVILEGE_NOT_HELD), so the
// system stays the only judge of what this account may do.
bool SystemPowerAction(PowerMode mode, const PowerApi& api = RealPowerApi());

class Win32PowerActions final : public PowerActions {
 public:
  explicit Win32PowerActions(const PowerApi& api = RealPowerApi()) : api_(api) {}

  void RunPowerAction(PowerMode mode) override;

 private:
  PowerApi api_;
};

}  // namespace task

// The power actions on Windows: the call table, the shutdown privilege, the
// real system calls and the detached worker that performs an action so the
// window thread never waits on it.
#include "task/power_win.h"

#include <powrprof.h>

#include <system_error>
#include <thread>

#include "ui/scoped_win.h"

namespace task {
namespace {

// A zero reason is recorded in the system event log as an unplanned shutdown.
constexpr DWORD kPlannedReason =
    SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED;

BOOL RealExitWindowsEx(UINT flags, DWORD reason) { return ExitWindowsEx(flags, reason); }

BOOLEAN RealSetSuspendState(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeEventsDisabled) {
  return SetSuspendState(hibernate, force, wakeEventsDisabled);
}

PowerCall ExitWindowsCall(UINT flags) {
  PowerCall call;
  call.kind = PowerCallKind::kExitWindows;
  call.flags = flags | EWX_FORCE;
  call.reason = kPlannedReason;
  call.force = true;
  return call;
}

}  // namespace

PowerCall PowerCallFor(PowerMode mode) {
  switch (mode) {
    // EWX_SHUTDOWN alone halts without cutting the power on some machines.
    case PowerMode::kShutDown: return ExitWindowsCall(EWX_SHUTDOWN | EWX_POWEROFF);
    case PowerMode::kRestart: return ExitWindowsCall(EWX_REBOOT);
    case PowerMode::kLogOff: return ExitWindowsCall(EWX_LOGOFF);
    case PowerMode::kHibernate: {
      PowerCall call;
      call.kind = PowerCallKind::kSuspend;
      call.hibernate = true;
      call.force = true;
      return call;
    }
  }
  return {};
}

const PowerApi& RealPowerApi() {
  static const PowerApi api{&RealExitWindowsEx, &RealSetSuspendState, &EnableShutdownPrivilege};
  return api;
}

bool EnableShutdownPrivilege() {
  ui::UniqueKernelHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Out())) {
    return false;
  }
  return EnableShutdownPrivilege(token.Get());
}

bool EnableShutdownPrivilege(HANDLE token) {
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  // SE_SHUTDOWN_NAME is a narrow string unless UNICODE is defined first.
  if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
    return false;
  }
  // AdjustTokenPrivileges succeeds even when the token lacks the privilege;
  // only the last error tells. Clear it first so a stale code cannot count.
  SetLastError(ERROR_SUCCESS);
  if (!AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)) return false;
  return GetLastError() != ERROR_NOT_ALL_ASSIGNED;
}

bool SystemPowerAction(PowerMode mode, const PowerApi& api) {
  const PowerCall call = PowerCallFor(mode);
  if (call.kind == PowerCallKind::kNone) return false;
  // The result of the privilege step is not a gate; see the header.
  if (api.enablePrivilege != nullptr) api.enablePrivilege();
  if (call.kind == PowerCallKind::kExitWindows) {
    return api.exitWindowsEx != nullptr && api.exitWindowsEx(call.flags, call.reason) != FALSE;
  }
  return api.setSuspendState != nullptr &&
         api.setSuspendState(call.hibernate ? TRUE : FALSE, call.force ? TRUE : FALSE, FALSE) !=
             FALSE;
}

void Win32PowerActions::RunPowerAction(PowerMode mode) {
  if (PowerCallFor(mode).kind == PowerCallKind::kNone) return;
  // The worker gets its own copy of the call table, never this object, which
  // the window side may destroy while the call is still running.
  try {
    std::thread([mode, api = api_] { SystemPowerAction(mode, api); }).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the action is lost like any other failure of it.
  }
}

}  // namespace task

// The power actions on Windows: the call table, the shutdown privilege, the
// real system calls, the detached worker that performs an action so the
// window thread never waits on it, the hibernation check and the thread's
// execution state.
#include "task/power_win.h"

#include <powrprof.h>

#include <system_error>
#include <thread>

#include "ui/win_base/scoped_win.h"
#include "ui/win_base/text_win.h"

namespace task {
namespace {

// A zero reason is recorded in the system event log as an unplanned shutdown.
constexpr DWORD kPlannedReason =
    SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED;

BOOL RealExitWindowsEx(UINT flags, DWORD reason) { return ExitWindowsEx(flags, reason); }

BOOLEAN RealSetSuspendState(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeEventsDisabled) {
  return SetSuspendState(hibernate, force, wakeEventsDisabled);
}

HANDLE RealCreateRequest(const wchar_t* reason) {
  REASON_CONTEXT context{};
  context.Version = POWER_REQUEST_CONTEXT_VERSION;
  context.Flags = POWER_REQUEST_CONTEXT_SIMPLE_STRING;
  context.Reason.SimpleReasonString = const_cast<wchar_t*>(reason);
  HANDLE request = PowerCreateRequest(&context);
  return request == INVALID_HANDLE_VALUE ? nullptr : request;
}

BOOL RealSetRequest(HANDLE request, POWER_REQUEST_TYPE type) { return PowerSetRequest(request, type); }
BOOL RealClearRequest(HANDLE request, POWER_REQUEST_TYPE type) {
  return PowerClearRequest(request, type);
}
void RealCloseRequest(HANDLE request) { CloseHandle(request); }

// One timer for the process, made on first need and kept to its end.
void RealSetWakeTimer(long long ms) {
  static const HANDLE timer = CreateWaitableTimerW(nullptr, TRUE, nullptr);
  if (timer == nullptr) return;
  if (ms < 0) {
    CancelWaitableTimer(timer);
    return;
  }
  const LARGE_INTEGER due = WakeDueTime(ms);
  // fResume: the system wakes for it where power policy allows wake timers.
  SetWaitableTimer(timer, &due, 0, nullptr, nullptr, TRUE);
}

// HiberFileType, from Windows 10 on the byte after DiskSpinDown (the first of
// MinGW's spare3; zero on earlier systems). A reduced file serves fast
// start-up only: the system then offers no hibernation, though SystemS4 and
// HiberFilePresent may both be set.
constexpr BYTE kHiberFileTypeReduced = 1;

void PostFailure(HWND window, UINT message, PowerMode mode, const PowerResult& result) {
  if (window == nullptr || result.failure == PowerFailure::kNone) return;
  PostMessageW(window, message, PackFailure(mode, result.failure),
               static_cast<LPARAM>(result.error));
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

LARGE_INTEGER WakeDueTime(long long ms) {
  LARGE_INTEGER due;
  due.QuadPart = -ms * 10000;  // negative: relative, in 100 ns units
  return due;
}

const PowerApi& RealPowerApi() {
  static const PowerApi api{&RealExitWindowsEx, &RealSetSuspendState, &EnableShutdownPrivilege,
                            &HibernationEnabled, &RealCreateRequest,  &RealSetRequest,
                            &RealClearRequest,   &RealCloseRequest,   &RealSetWakeTimer};
  return api;
}

bool HibernationEnabled() {
  SYSTEM_POWER_CAPABILITIES caps{};
  if (!GetPwrCapabilities(&caps)) return true;
  return caps.SystemS4 && caps.HiberFilePresent && caps.spare3[0] != kHiberFileTypeReduced;
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

PowerResult SystemPowerAction(PowerMode mode, const PowerApi& api) {
  const PowerCall call = PowerCallFor(mode);
  if (call.kind == PowerCallKind::kNone) return {PowerFailure::kRefused, ERROR_INVALID_PARAMETER};
  // The result of the privilege step is not a gate; see the header.
  if (api.enablePrivilege != nullptr) api.enablePrivilege();
  bool done = false;
  SetLastError(ERROR_SUCCESS);
  if (call.kind == PowerCallKind::kExitWindows) {
    done = api.exitWindowsEx != nullptr && api.exitWindowsEx(call.flags, call.reason) != FALSE;
  } else {
    done = api.setSuspendState != nullptr &&
           api.setSuspendState(call.hibernate ? TRUE : FALSE, call.force ? TRUE : FALSE, FALSE) !=
               FALSE;
  }
  if (done) return {};
  const DWORD error = GetLastError();
  // SetSuspendState gives no telling code when hibernation is off; the
  // capabilities do.
  if (call.kind == PowerCallKind::kSuspend && api.hibernateAvailable != nullptr &&
      !api.hibernateAvailable()) {
    return {PowerFailure::kHibernateUnavailable, error};
  }
  if (error == ERROR_PRIVILEGE_NOT_HELD || error == ERROR_ACCESS_DENIED) {
    return {PowerFailure::kNoRight, error};
  }
  return {PowerFailure::kRefused, error};
}

WPARAM PackFailure(PowerMode mode, PowerFailure failure) {
  return MAKEWPARAM(static_cast<WORD>(mode), static_cast<WORD>(failure));
}

PowerFailureReport UnpackFailure(WPARAM wParam, LPARAM lParam) {
  return {static_cast<PowerMode>(LOWORD(wParam)),
          {static_cast<PowerFailure>(HIWORD(wParam)), static_cast<DWORD>(lParam)}};
}

Win32PowerActions::~Win32PowerActions() { KeepAwake({}); }

void Win32PowerActions::ReplaceRequest(const std::string& reason) {
  // A request's reason is fixed when it is made: a new reason is a new
  // request, set before the old one goes, so the system is never left
  // without one in between. The display may still go dark.
  HANDLE next = nullptr;
  if (!reason.empty() && api_.createRequest != nullptr) {
    next = api_.createRequest(ui::Widen(reason).c_str());
    for (POWER_REQUEST_TYPE type : kAwakeRequestTypes) {
      if (next != nullptr && api_.setRequest != nullptr) api_.setRequest(next, type);
    }
  }
  if (request_ != nullptr) {
    for (POWER_REQUEST_TYPE type : kAwakeRequestTypes) {
      if (api_.clearRequest != nullptr) api_.clearRequest(request_, type);
    }
    if (api_.closeRequest != nullptr) api_.closeRequest(request_);
  }
  request_ = next;
  reason_ = reason;
}

void Win32PowerActions::ReportFailuresTo(HWND window, UINT message) {
  reportWindow_ = window;
  reportMessage_ = message;
}

void Win32PowerActions::RunPowerAction(PowerMode mode) {
  if (PowerCallFor(mode).kind == PowerCallKind::kNone) return;
  // The worker gets its own copies of the call table and the report address,
  // never this object, which the window side may destroy while the call is
  // still running. It posts a failure rather than show it: the tray and the
  // windows belong to the window thread, which runs no locks.
  try {
    std::thread([mode, api = api_, window = reportWindow_, message = reportMessage_] {
      PostFailure(window, message, mode, SystemPowerAction(mode, api));
    }).detach();
  } catch (const std::system_error&) {
    PostFailure(reportWindow_, reportMessage_, mode, {PowerFailure::kNoWorker, 0});
  }
}

bool Win32PowerActions::HibernateAvailable() {
  return api_.hibernateAvailable == nullptr || api_.hibernateAvailable();
}

void Win32PowerActions::KeepAwake(const AwakeRequest& request) {
  // The same reason again is the same task's next occurrence: the request
  // stands, only the resume timer moves.
  if (request.reason != reason_) ReplaceRequest(request.reason);
  // On battery a modern-standby system ends every request some minutes
  // after its sleep time-out, and any system sleeps when the user says so:
  // the resume timer brings it back before the task is due.
  if (api_.setWakeTimer == nullptr) return;
  const bool wake = !request.reason.empty() && request.dueInMs > kWakeLeadMs;
  if (wake) {
    api_.setWakeTimer(request.dueInMs - kWakeLeadMs);
  } else if (wakeSet_) {
    api_.setWakeTimer(-1);
  }
  wakeSet_ = wake;
}

}  // namespace task

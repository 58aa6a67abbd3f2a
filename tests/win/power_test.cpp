// The power actions through a recording seam (the real ExitWindowsEx ends every process of the prefix), the real
// shutdown-privilege step, the worker thread and its failure reports, and the stay-awake requests.
#include "task/power_win.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ui/win_base/scoped_win.h"

namespace task {
namespace {

using namespace std::chrono_literals;

constexpr DWORD kPlanned = SHTDN_REASON_FLAG_PLANNED;

// What the seam was asked to do, in order.
struct Event {
  enum What { kPrivilege, kExitWindows, kSuspend } what;
  UINT flags = 0;
  DWORD reason = 0;
  BOOLEAN hibernate = FALSE, force = FALSE, wakeEventsDisabled = FALSE;
  bool operator==(const Event&) const = default;
};

Event Privilege() { return Event{Event::kPrivilege}; }
Event Exit(UINT flags, DWORD reason) { return Event{Event::kExitWindows, flags, reason}; }
Event Suspend(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeEventsDisabled) {
  return Event{Event::kSuspend, 0, 0, hibernate, force, wakeEventsDisabled};
}

std::mutex gMutex;
std::condition_variable gChanged;
struct Recorder {
  std::vector<Event> events;
  std::thread::id callThread;
  bool privilegeResult = true;
  BOOL callResult = TRUE;
  DWORD callError = ERROR_SUCCESS;  // the last error a failed call leaves
  bool hibernateAvailable = true;
  bool holdCall = false;  // while set, the call waits (at most 10 s) for `released`
  bool released = false;
  bool callDone = false;
} gRec;

void Reset() {
  std::lock_guard lock(gMutex);
  gRec = Recorder{};
}

BOOL RecordCall(const Event& event) {
  std::unique_lock lock(gMutex);
  gRec.events.push_back(event);
  gRec.callThread = std::this_thread::get_id();
  gChanged.notify_all();
  if (gRec.holdCall) gChanged.wait_for(lock, 10s, [] { return gRec.released; });
  gRec.callDone = true;
  gChanged.notify_all();
  const BOOL result = gRec.callResult;
  const DWORD error = gRec.callError;
  lock.unlock();
  if (!result) SetLastError(error);  // last, so no lock call can overwrite it
  return result;
}

BOOL FakeExitWindowsEx(UINT flags, DWORD reason) { return RecordCall(Exit(flags, reason)); }

BOOLEAN FakeSetSuspendState(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeEventsDisabled) {
  return static_cast<BOOLEAN>(RecordCall(Suspend(hibernate, force, wakeEventsDisabled)));
}

bool FakeEnablePrivilege() {
  std::lock_guard lock(gMutex);
  gRec.events.push_back(Privilege());
  return gRec.privilegeResult;
}

bool FakeHibernateAvailable() {
  std::lock_guard lock(gMutex);
  return gRec.hibernateAvailable;
}

constexpr PowerApi kRecording{&FakeExitWindowsEx, &FakeSetSuspendState, &FakeEnablePrivilege,
                              &FakeHibernateAvailable};

const struct ModeCase { PowerMode mode; Event call; } kModes[] = {
    {PowerMode::kShutDown, Exit(EWX_SHUTDOWN | EWX_POWEROFF | EWX_FORCE, kPlanned)},
    {PowerMode::kRestart, Exit(EWX_REBOOT | EWX_FORCE, kPlanned)},
    {PowerMode::kLogOff, Exit(EWX_LOGOFF | EWX_FORCE, kPlanned)},
    {PowerMode::kHibernate, Suspend(TRUE, TRUE, FALSE)},
};

class PowerTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  static std::vector<Event> Events() {
    std::lock_guard lock(gMutex);
    return gRec.events;
  }
};

// The privilege step, then exactly the mode's call, made even when the step fails (log-off needs no privilege).
TEST_F(PowerTest, PrivilegeStepThenExactlyTheModesCall) {
  const struct { bool privilege; BOOL call; bool result; } outcomes[] = {{true, TRUE, true}, {true, FALSE, false},
                                                                          {false, TRUE, true}};
  for (const auto& o : outcomes) {
    for (const ModeCase& c : kModes) {
      SCOPED_TRACE(::testing::Message() << "mode " << static_cast<int>(c.mode) << " privilege "
                                        << o.privilege << " call " << o.call);
      Reset();
      gRec.privilegeResult = o.privilege;
      gRec.callResult = o.call;
      EXPECT_EQ(SystemPowerAction(c.mode, kRecording).failure == PowerFailure::kNone, o.result);
      EXPECT_EQ(Events(), (std::vector<Event>{Privilege(), c.call}));
    }
  }
}

TEST_F(PowerTest, UnknownModeOrMissingEntryCallsNothing) {
  for (std::int32_t value : {0, 5, -1, INT32_MIN, INT32_MAX}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(SystemPowerAction(static_cast<PowerMode>(value), kRecording).failure, PowerFailure::kRefused);
  }
  EXPECT_TRUE(Events().empty());
  EXPECT_EQ(SystemPowerAction(PowerMode::kShutDown, PowerApi{}).failure, PowerFailure::kRefused);
  EXPECT_EQ(SystemPowerAction(PowerMode::kHibernate, PowerApi{}).failure, PowerFailure::kRefused);
}

using ui::UniqueKernelHandle;

LUID ShutdownLuid() {
  LUID luid{};
  EXPECT_TRUE(LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &luid));
  return luid;
}

// The shutdown privilege's attributes in the token; nullopt when it lacks it.
std::optional<DWORD> ShutdownAttributes(HANDLE token) {
  DWORD size = 0;
  GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
  std::vector<unsigned char> buffer(size);
  if (size == 0 || !GetTokenInformation(token, TokenPrivileges, buffer.data(), size, &size)) {
    ADD_FAILURE() << "token privileges unreadable";
    return std::nullopt;
  }
  const LUID shutdown = ShutdownLuid();
  const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
  for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
    const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
    if (p.Luid.LowPart == shutdown.LowPart && p.Luid.HighPart == shutdown.HighPart) return p.Attributes;
  }
  return std::nullopt;
}

UniqueKernelHandle ProcessToken(DWORD access) {
  UniqueKernelHandle token;
  EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), access, token.Out()));
  return token;
}

// Whatever the account holds (Wine grants it), a reported success left the privilege enabled in the token.
TEST(ShutdownPrivilege, ProcessTokenReportsItsRealState) {
  const bool enabled = EnableShutdownPrivilege();
  UniqueKernelHandle token = ProcessToken(TOKEN_QUERY);
  ASSERT_TRUE(token);
  const std::optional<DWORD> attributes = ShutdownAttributes(token.Get());
  EXPECT_EQ(enabled, attributes.has_value() && (*attributes & SE_PRIVILEGE_ENABLED) != 0);
}

// AdjustTokenPrivileges returns TRUE for a token without the privilege; only ERROR_NOT_ALL_ASSIGNED tells.
TEST(ShutdownPrivilege, TokenWithoutItReportsFailure) {
  UniqueKernelHandle process = ProcessToken(TOKEN_DUPLICATE | TOKEN_QUERY |
                                            TOKEN_ASSIGN_PRIMARY | TOKEN_ADJUST_PRIVILEGES);
  ASSERT_TRUE(process);
  if (!ShutdownAttributes(process.Get())) GTEST_SKIP() << "this account lacks the privilege";
  for (bool dropIt : {false, true}) {
    SCOPED_TRACE(dropIt);
    LUID_AND_ATTRIBUTES drop{ShutdownLuid(), 0};
    UniqueKernelHandle copy;
    ASSERT_TRUE(CreateRestrictedToken(process.Get(), 0, 0, nullptr, dropIt ? 1 : 0,
                                      dropIt ? &drop : nullptr, 0, nullptr, copy.Out()));
    ASSERT_EQ(ShutdownAttributes(copy.Get()).has_value(), !dropIt);
    EXPECT_EQ(EnableShutdownPrivilege(copy.Get()), !dropIt);
  }
}

TEST_F(PowerTest, WorkerThreadMakesTheCallWhileTheCallerCarriesOn) {
  for (const ModeCase& c : kModes) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    Reset();
    gRec.holdCall = true;
    {
      Win32PowerActions actions(kRecording);
      // Returns while the worker holds the call; the worker needs not the object.
      actions.RunPowerAction(c.mode);
    }
    std::unique_lock lock(gMutex);
    ASSERT_TRUE(gChanged.wait_for(lock, 10s, [] { return gRec.events.size() == 2; }));
    EXPECT_EQ(gRec.events, (std::vector<Event>{Privilege(), c.call}));
    EXPECT_NE(gRec.callThread, std::this_thread::get_id());
    EXPECT_FALSE(gRec.callDone);
    gRec.released = true;
    gChanged.notify_all();
    ASSERT_TRUE(gChanged.wait_for(lock, 10s, [] { return gRec.callDone; }));
  }
}

// A refusal once vanished while the status said the task ran: it is posted, with its reason, to the window thread.
TEST_F(PowerTest, FailureIsPostedToTheWindowThreadWithItsReason) {
  constexpr UINT kReport = WM_APP + 5;
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  const struct { PowerMode mode; DWORD error; bool hibernateAvailable; PowerResult result; } cases[] = {
      {PowerMode::kRestart, ERROR_PRIVILEGE_NOT_HELD, true, {PowerFailure::kNoRight, 1314}},
      {PowerMode::kHibernate, ERROR_NOT_SUPPORTED, false, {PowerFailure::kHibernateUnavailable, 50}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    Reset();
    gRec.callResult = FALSE;
    gRec.callError = c.error;
    gRec.hibernateAvailable = c.hibernateAvailable;
    Win32PowerActions actions(kRecording);
    actions.ReportFailuresTo(window, kReport);
    actions.RunPowerAction(c.mode);
    MSG msg{};
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!PeekMessageW(&msg, window, kReport, kReport, PM_REMOVE)) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no report";
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
    }
    PowerFailureReport report = UnpackFailure(msg.wParam, msg.lParam);
    EXPECT_EQ(report.mode, c.mode);
    EXPECT_EQ(report.result, c.result);
    EXPECT_FALSE(PeekMessageW(&msg, window, kReport, kReport, PM_REMOVE));  // told once
  }
  DestroyWindow(window);
}

// Stay-awake requests: both types with their reason, replaced new before old, given up whole; the wake timer a
// minute before the task, cancelled with it.
std::vector<std::wstring> gAwake;
HANDLE FakeCreate(const wchar_t* reason) {
  gAwake.push_back(std::wstring(L"create ") + reason);
  return reinterpret_cast<HANDLE>(gAwake.size());
}
std::wstring Named(HANDLE h, POWER_REQUEST_TYPE type) {
  return std::to_wstring(reinterpret_cast<std::uintptr_t>(h)) + L" " + std::to_wstring(type);
}
BOOL FakeSet(HANDLE h, POWER_REQUEST_TYPE type) { return gAwake.push_back(L"set " + Named(h, type)), TRUE; }
BOOL FakeClear(HANDLE h, POWER_REQUEST_TYPE type) { return gAwake.push_back(L"clear " + Named(h, type)), TRUE; }
void FakeClose(HANDLE h) { gAwake.push_back(L"close " + std::to_wstring(reinterpret_cast<std::uintptr_t>(h))); }
void FakeWake(long long ms) { gAwake.push_back(L"wake " + std::to_wstring(ms)); }

TEST(KeepAwake, RequestsCarryTheirReasonAndAreGivenUpWhole) {
  PowerApi api{};
  api.createRequest = &FakeCreate;
  api.setRequest = &FakeSet;
  api.clearRequest = &FakeClear;
  api.closeRequest = &FakeClose;
  api.setWakeTimer = &FakeWake;
  {
    Win32PowerActions actions(api);
    actions.KeepAwake({"定时 18:30:00", 3600000});
    actions.KeepAwake({"定时 18:31:00", 30000});  // too close to need waking
    actions.KeepAwake({});
    actions.KeepAwake({"定时 18:32:00", 120000});
    actions.KeepAwake({"定时 18:32:00", 86399000});  // fired: the next day's, same request
  }  // and what stands goes with the object
  const std::vector<std::wstring> expected{
      L"create 定时 18:30:00", L"set 1 1", L"set 1 3", L"wake 3540000",
      L"create 定时 18:31:00", L"set 5 1", L"set 5 3", L"clear 1 1", L"clear 1 3", L"close 1", L"wake -1",
      L"clear 5 1", L"clear 5 3", L"close 5",
      L"create 定时 18:32:00", L"set 15 1", L"set 15 3", L"wake 60000", L"wake 86339000",
      L"clear 15 1", L"clear 15 3", L"close 15", L"wake -1"};
  EXPECT_EQ(gAwake, expected);
  // And what the system's timer is given: relative (negative), in 100 ns.
  EXPECT_EQ(WakeDueTime(3540000).QuadPart, -35400000000LL);
  EXPECT_EQ(WakeDueTime(1).QuadPart, -10000);
}

}  // namespace
}  // namespace task

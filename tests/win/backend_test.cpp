// The Win32 backend, the tray and the process adapters against real Win32.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/run_win.h"
#include "net/web_pages_win.h"
#include "task/power_notice.h"
#include "tests/win/real_program.h"
#include "ui/main_window/main_window_form.h"
#include "ui/main_window/main_window_names.h"
#include "ui/secondary_windows/exit_confirm_names.h"
#include "ui/secondary_windows/secondary_forms.h"
#include "ui/secondary_windows/task_done_names.h"
#include "ui/secondary_windows/version_names.h"
#include "ui/win32/dpi_win.h"
#include "ui/win_base/messages_win.h"
#include "ui/win_base/text_win.h"

namespace {

using namespace testing_win;
using namespace ui::main_window;
namespace ec = ui::exit_confirm;
namespace td = ui::task_done;
namespace ver = ui::version;

// Stop on a name the model does not know, as the native tests do (a release build is lenient).
class StrictNames : public ::testing::Environment {
 public:
  void SetUp() override { ui::SetStrictNames(true); }
};
const auto* const kStrictNames = ::testing::AddGlobalTestEnvironment(new StrictNames);

std::string Gbk(const char* text) { return ui::ToCodePage(text, 936); }

struct BackendTest : ::testing::Test, RealProgram {
  BackendTest() = default;
  explicit BackendTest(shell::TrayCalls calls) : RealProgram(std::move(calls)) {}
  void SetUp() override { Attach(); }
  void TearDown() override {
    for (ui::WindowName name : {td::TaskDoneWindow, ec::ExitConfirmWindow, ver::VersionWindow, MainWindow}) {
      if (ui::Window* w = program.desktop.Find(name)) program.desktop.Close(*w);
    }
    tray.RemoveIcon();
  }
  ui::Window& Main() {
    ui::Window& main = program.desktop.Load(ui::MainWindowForm(), nullptr);
    backend.SetMainWindow(&main);
    return main;
  }
  // Tells `w` of a move to a monitor of `dpi`, at the size it asks for there.
  void MoveToDpi(ui::Window& w, int dpi, std::optional<POINT> to = std::nullopt) {
    const RECT now = WindowRect(backend.Handle(w));
    const POINT at = to.value_or(POINT{now.left, now.top});
    SIZE size{};
    SendMessageW(backend.Handle(w), WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size));
    RECT suggested{at.x, at.y, at.x + size.cx, at.y + size.cy};
    SendMessageW(backend.Handle(w), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  }
};

TEST_F(BackendTest, WindowsAreFramelessAndSizedAsTheirFormsWithRealEditBoxes) {
  ui::Window& main = Main();
  HWND hwnd = backend.Handle(main);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(WindowRect(hwnd), (RECT{50, 50, 917, 574}));
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client, (RECT{0, 0, 867, 524}));  // no frame eats into the client area
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(ClassOf(hwnd), L"QuondaHalvixMainWindow");
  EXPECT_EQ(TextOf(hwnd), L"QuondaHalvix");
  // The notice: owned by MainWindow, topmost, off the taskbar, parked below the screen.
  HWND notice = backend.Handle(*program.desktop.Find(td::TaskDoneWindow));
  EXPECT_EQ(GetWindow(notice, GW_OWNER), hwnd);
  EXPECT_EQ(GetWindowLongW(notice, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
  EXPECT_EQ(WindowRect(notice).left, GetSystemMetrics(SM_CXSCREEN) - 384);
  EXPECT_EQ(WindowRect(notice).top, GetSystemMetrics(SM_CYSCREEN));
  // The edit boxes are real windows, and typed text reaches the model.
  int edits = 0, shown = 0;
  HWND hour = nullptr;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) != L"Edit") continue;
    edits++, shown += IsWindowVisible(child) != FALSE;
    if (TextOf(child) == L"18") hour = child;
  }
  EXPECT_EQ(edits, 3);  // the three time fields; the program draws the disk report itself
  EXPECT_EQ(shown, 3);
  ASSERT_NE(hour, nullptr);
  EXPECT_EQ(RectIn(hour).left, 149);
  EXPECT_EQ(RectIn(hour).top, 405);
  SetWindowTextW(hour, L"7");  // as typing does: EN_CHANGE carries it to the model
  EXPECT_EQ(main.Get(编辑框1).caption, "7");
  main.SetCaption(编辑框1, "23");  // and a handler's write shows in the field
  EXPECT_EQ(TextOf(hour), L"23");
  // Asked first for the edit's cursor (as DefWindowProc asks a parent), the window leaves it to the edit.
  EXPECT_FALSE(SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hour), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  // Over the link "检查更新" the hand, beside it the arrow.
  const RECT window = WindowRect(hwnd);
  const ui::Rect link = main.AbsoluteRect(main.Find(透明标签4));
  for (auto [x, cursor] : {std::pair{link.left + 8, IDC_HAND}, {link.left - 8, IDC_ARROW}}) {
    SetCursorPos(window.left + x, window.top + link.top + 8);
    EXPECT_TRUE(SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, cursor)) << x;
  }
}

// At another monitor's DPI: the model's size scaled, the system's place, the fields follow, the model stays at 96.
TEST_F(BackendTest, AWindowTakesTheScaleOfTheMonitorItMovesTo) {
  ui::Window& main = Main();
  HWND hwnd = backend.Handle(main);
  HWND hour = GetDlgItem(hwnd, 0x100 + main.Find(编辑框1));  // the edits' ids: control + 0x100
  ASSERT_NE(hour, nullptr);
  // The size asked for each scale (README's table); the last two are taken.
  const struct { int dpi; LONG cx, cy; bool take; int left; LONG hourLeft, hourTop; } steps[] = {
      {120, 1084, 655}, {192, 1734, 1048}, {144, 1301, 786, true, 100, 224, 608}, {96, 867, 524, true, 150, 149, 405}};
  for (const auto& s : steps) {
    SIZE size{};
    EXPECT_TRUE(SendMessageW(hwnd, WM_GETDPISCALEDSIZE, s.dpi, reinterpret_cast<LPARAM>(&size)));
    EXPECT_EQ(size.cx, s.cx) << s.dpi;
    EXPECT_EQ(size.cy, s.cy) << s.dpi;
    if (!s.take) continue;
    MoveToDpi(main, s.dpi, POINT{150, 120});
    EXPECT_EQ(WindowRect(hwnd), (RECT{150, 120, 150 + s.cx, 120 + s.cy})) << s.dpi;
    EXPECT_EQ(main.ScreenRect().left, s.left) << s.dpi;
    EXPECT_EQ(RectIn(hour).left, s.hourLeft) << s.dpi;
    EXPECT_EQ(RectIn(hour).top, s.hourTop) << s.dpi;
  }
}

// 100 -> 150 -> 100 % while running: with the start-up scale kept, the notice parked in view or never came up.
TEST_F(BackendTest, TheNoticeParksAndRestsForTheScaleOfNow) {
  task::Win32PowerActions power(task::PowerApi{});
  ui::Window& main = app::StartMainWindow(program, backend, power);
  ui::Window& notice = *program.desktop.Find(td::TaskDoneWindow);
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  const auto place = [&] { return WindowRect(backend.Handle(notice)); };
  const auto parked = [&] { return place().top == cy && place().right == cx; };
  const auto slide = [&](int up) {
    program.records.task.slideUp = up;
    for (main.SetInterval(时钟4, 10); main.Get(时钟4).interval > 0;) {
      program.desktop.Deliver(ui::Event{&main, main.Find(时钟4), ui::EventKind::kTick, 0});
    }
    return place();
  };
  for (int dpi : {96, 144, 96}) {
    for (ui::Window* w : {&main, &notice}) MoveToDpi(*w, dpi);
    EXPECT_TRUE(PumpUntil(parked)) << dpi;
    const RECT park = place(), rest = slide(1), sunk = slide(0);
    EXPECT_EQ(park.right - park.left, dpi == 144 ? 576 : 384) << dpi;
    EXPECT_EQ(rest.right, cx) << dpi;
    EXPECT_EQ(rest.bottom, cy - (dpi == 144 ? 44 : 30)) << dpi;  // 30 of its pixels: 728 + 308 at 150 %
    EXPECT_EQ(sunk.top, cy) << dpi;
  }
  program.desktop.Move(notice, 100, 100);  // a screen that changed under the parked notice
  SendMessageW(backend.Handle(main), WM_DISPLAYCHANGE, 32, MAKELPARAM(cx, cy));
  EXPECT_TRUE(PumpUntil(parked));
}

TEST_F(BackendTest, TimersTickAndStopAtZero) {
  ui::Window& main = Main();
  std::string first = main.Get(标签1).caption;
  EXPECT_EQ(first.rfind("本地时间：", 0), 0u);
  // The clock timer rewrites the caption every second.
  EXPECT_TRUE(PumpUntil([&] { return main.Get(标签1).caption != first; }, 3000));
  main.SetInterval(时钟1, 0);
  std::string stopped = main.Get(标签1).caption;
  PumpUntil([] { return false; }, 1500);  // long enough for a tick that should not come
  EXPECT_EQ(main.Get(标签1).caption, stopped);
}

TEST_F(BackendTest, HidingAndShowingKeepsTheWindowAndItsState) {
  ui::Window& version = program.desktop.Load(ui::VersionWindowForm(), nullptr);
  HWND hwnd = backend.Handle(version);
  version.SetCaption(透明标签3, "正在检测");
  program.desktop.SetVisible(version, false);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  program.desktop.SetVisible(version, true);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(backend.Handle(version), hwnd);
  EXPECT_EQ(version.Get(透明标签3).caption, "正在检测");
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
  const std::size_t drawn = images.PixelBytes();
  EXPECT_GT(drawn, 0u);
  // Hidden, its pictures go, and they come back when it paints again.
  program.desktop.SetVisible(version, false);
  EXPECT_EQ(images.PixelBytes(), 0u);
  program.desktop.SetVisible(version, true);
  UpdateWindow(hwnd);
  EXPECT_EQ(images.PixelBytes(), drawn);
  program.desktop.Close(version);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(BackendTest, AWindowClosedInsideItsOwnClickIsSafe) {
  Main();
  backend.SetMainWindow(nullptr);  // keep the test's message loop alive
  ui::Window& confirm = program.desktop.Load(ui::ExitConfirmWindowForm(), nullptr);
  HWND hwnd = backend.Handle(confirm);
  // "取消返回": press and release as the mouse does.
  LPARAM at = MAKELPARAM(460, 230);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, at);  // first the pointer over it: its hover look
  EXPECT_EQ(confirm.Hovered(), confirm.Find(ec::按钮2));
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(hwnd, WM_CAPTURECHANGED, 0, 0);  // the press taken away (Alt+Tab): no pressed look stays
  EXPECT_EQ(confirm.Pressed(), ui::kNoControl);
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(program.desktop.Find(ec::ExitConfirmWindow), nullptr);
  EXPECT_EQ(backend.Handle(confirm), nullptr);
  EXPECT_EQ(program.desktop.CollectClosed(), 1);
  // Released with no Destroy first, a window goes quietly: its procedure no
  // longer finds the host being freed. A fault inside a window procedure is
  // swallowed on x64, so it is counted as it is raised.
  ui::Window& again = program.desktop.Load(ui::ExitConfirmWindowForm(), nullptr);
  hwnd = backend.Handle(again);
  static int faults;
  faults = 0;
  void* counter = AddVectoredExceptionHandler(1, [](EXCEPTION_POINTERS* e) -> LONG {
    faults += e->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION;
    return EXCEPTION_CONTINUE_SEARCH;
  });
  backend.Release(again);
  RemoveVectoredExceptionHandler(counter);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(faults, 0);
}

// "确认退出" clicked inside MainWindow's procedure (a route, as the tray menu's) destroys both windows whose
// procedures are on the stack: neither host may be freed before both have returned.
TEST_F(BackendTest, WindowsDestroyedDuringANestedWindowProcedureStayValidUntilItEnds) {
  HWND mainHwnd = backend.Handle(Main());
  HWND confirmHwnd = backend.Handle(program.desktop.Load(ui::ExitConfirmWindowForm(), nullptr));
  constexpr UINT kClickConfirm = WM_APP + 0x100;
  int collectedInside = -1;
  bool mainClosedInside = false;
  backend.AddMessageRoute(kClickConfirm, [&](ui::Window& routedTo, WPARAM, LPARAM) {
    SendMessageW(confirmHwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(316, 230));
    SendMessageW(confirmHwnd, WM_LBUTTONUP, 0, MAKELPARAM(316, 230));
    mainClosedInside = routedTo.IsClosed();  // the model is still there to ask
    collectedInside = program.desktop.CollectClosed();
  });
  SendMessageW(mainHwnd, kClickConfirm, 0, 0);
  EXPECT_TRUE(mainClosedInside);
  EXPECT_EQ(collectedInside, 0);
  EXPECT_FALSE(IsWindow(mainHwnd));
  EXPECT_FALSE(IsWindow(confirmHwnd));
  EXPECT_EQ(program.desktop.CollectClosed(), 3);  // with the notice
  // MainWindow's end posted the quit; the tests' own pumping must not see it.
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// What the platform did by itself reaches the model; the desktop's own operations leave it as Win32 has it.
TEST_F(BackendTest, TheModelFollowsWhatThePlatformDidByItself) {
  ui::Window& main = Main();
  backend.SetMainWindow(nullptr);
  HWND hwnd = backend.Handle(main);
  ShowWindow(hwnd, SW_MINIMIZE);
  EXPECT_EQ(main.GetDisplayState(), ui::DisplayState::kMinimized);
  ShowWindow(hwnd, SW_RESTORE);
  EXPECT_EQ(main.GetDisplayState(), ui::DisplayState::kRestored);
  SetWindowPos(hwnd, nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(main.ScreenRect(), (ui::Rect{120, 90, 867, 524}));
  ShowWindow(hwnd, SW_HIDE);
  EXPECT_TRUE(PumpUntil([&] { return !main.IsVisible(); }, 2000));
  // Hidden, then minimised by the program: on the taskbar, as Win32 has it.
  program.desktop.SetDisplayState(main, ui::DisplayState::kMinimized);
  EXPECT_TRUE(PumpUntil([&] { return main.IsVisible() && IsWindowVisible(hwnd); }, 2000));
  program.desktop.Raise(main);
  EXPECT_TRUE(PumpUntil([&] {
    return main.IsVisible() && main.GetDisplayState() == (IsIconic(hwnd) ? ui::DisplayState::kMinimized
                                                                         : ui::DisplayState::kRestored);
  }, 2000));
}

int gPaints = 0;
WNDPROC gOriginal = nullptr;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) ++gPaints;
  return CallWindowProcW(gOriginal, hwnd, message, wParam, lParam);
}

// Parked below the screen, the notice's GIF played there woke the program many times a second for nothing.
TEST_F(BackendTest, ParkedNoticeDoesNotAnimateUntilItComesOnScreen) {
  ui::Window& main = Main();
  ui::Window& notice = *program.desktop.Find(td::TaskDoneWindow);
  const int cy = GetSystemMetrics(SM_CYSCREEN);
  // Long enough for a GIF on screen to move on: the main window's globe.
  program.desktop.SetVisible(notice, true);  // shown parked, as at start-up
  EXPECT_TRUE(PumpUntil([&] { return main.Get(图片框6).frame >= 2; }, 3000));
  EXPECT_EQ(notice.Get(图片框2).frame, 0);
  const std::size_t mainOnly = images.PixelBytes();  // nor are its pictures decoded
  program.desktop.Move(notice, std::nullopt, cy - 205);
  EXPECT_TRUE(PumpUntil([&] { return notice.Get(图片框2).frame != 0; }, 3000));
  EXPECT_GT(images.PixelBytes(), mainOnly);
  for (int below : {0, 40}) {  // parked again, and further off
    program.desktop.Move(notice, std::nullopt, cy + below);
    EXPECT_EQ(images.PixelBytes(), mainOnly) << below;
  }
  // Back on the screen it is drawn whole once; sliding on a pixel at a time,
  // it is not drawn anew at each step.
  program.desktop.Move(notice, std::nullopt, cy - 205);
  HWND noticeHwnd = backend.Handle(notice);
  gPaints = 0;
  gOriginal = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(noticeHwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
  for (int step = 1; step <= 3; ++step) program.desktop.Move(notice, std::nullopt, cy - 205 - step);
  SetWindowLongPtrW(noticeHwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gOriginal));
  EXPECT_EQ(gPaints, 0);
}

TEST_F(BackendTest, ProcessListHoldsTheOwnExecutable) {
  const std::string own = processes.OwnExecutable();
  EXPECT_EQ(own, "qh_win_tests.exe");
  const auto list = processes.RunningProcesses();
  const std::uint32_t id = processes.OwnId();
  EXPECT_TRUE(std::any_of(list.begin(), list.end(), [&](const auto& e) { return e.executable == own && e.id == id; }));
  EXPECT_TRUE(processes.StartOf(id).ticks.has_value());
  // A copy gone since the list was taken must not count against the asker.
  EXPECT_FALSE(processes.StartOf(0xFFFFFFF0u).running);
  EXPECT_FALSE(processes.SessionOf(0xFFFFFFF0u).has_value());
  DWORD session = 0xFFFFFFFFu;
  ASSERT_TRUE(ProcessIdToSessionId(GetCurrentProcessId(), &session));
  EXPECT_EQ(processes.SessionOf(id), std::optional<std::uint32_t>(session));
}

// Without the start routine's route, every refusal the power worker posts would be lost before the tray.
TEST_F(BackendTest, StartRoutineShowsARefusedPowerActionAsANotice) {
  task::PowerApi refusing{};
  refusing.exitWindowsEx = [](UINT, DWORD) -> BOOL { return SetLastError(ERROR_ACCESS_DENIED), FALSE; };
  task::Win32PowerActions power(refusing);
  app::StartMainWindow(program, backend, power);
  power.RunPowerAction(task::PowerMode::kRestart);
  const std::string told = ui::ToCodePage(
      task::PowerFailureText(task::PowerMode::kRestart, task::PowerFailure::kNoRight), 936);
  EXPECT_TRUE(PumpUntil([&] { return std::string(tray.Record().szInfo) == told; }));
}

// Registered for restart only while an installer's close asks (else "restart apps" re-armed it at sign-in).
TEST_F(BackendTest, RestartIsRegisteredOnlyWhileAnInstallerCloses) {
  task::Win32PowerActions power(task::PowerApi{});
  ui::Window& main = app::StartMainWindow(program, backend, power);
  program.desktop.Deliver(ui::Event{&main, main.Find(单选框3), ui::EventKind::kClick, 0});
  program.desktop.Deliver(ui::Event{&main, main.Find(按钮1), ui::EventKind::kClick, 0});
  EXPECT_EQ(processes.restarts, std::vector<std::string>{}) << "at arming";
  const struct { UINT message; WPARAM wParam; LPARAM lParam; std::vector<std::string> seen; } steps[] = {
      {WM_QUERYENDSESSION, 0, 0, {}},  // shutdown or restart
      {WM_ENDSESSION, FALSE, 0, {}}, {WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, {}},
      {WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, {"/armed 18:30:00 3"}},
      {WM_ENDSESSION, FALSE, ENDSESSION_CLOSEAPP, {"/armed 18:30:00 3", "unregistered"}},
      {WM_ENDSESSION, FALSE, 0, {"/armed 18:30:00 3", "unregistered"}}};
  for (const auto& step : steps) {
    const LRESULT answer = SendMessageW(backend.Handle(main), step.message, step.wParam, step.lParam);
    EXPECT_EQ(answer, step.message == WM_QUERYENDSESSION ? TRUE : 0);  // never blocks the session
    EXPECT_EQ(processes.restarts, step.seen) << step.message << " " << step.lParam;
  }
}

TEST_F(BackendTest, TrayRecordReachesTheShell) {
  // Before the icon exists nothing is handed to the shell.
  tray.Notify("t", "x", 1);
  EXPECT_EQ(tray.Record().szInfo[0], '\0');
  ui::Window& main = Main();  // adds the icon and shows the start-up notice
  ASSERT_TRUE(tray.IconAdded());
  const NOTIFYICONDATAA& record = tray.Record();
  EXPECT_EQ(record.cbSize, 504u);
  EXPECT_EQ(record.hWnd, backend.Handle(main));
  EXPECT_EQ(record.uID, 1u);
  EXPECT_EQ(std::string(record.szInfoTitle), Gbk("Quonda云服务器中心提示！"));
  // The longest notice the program shows, and a short one after it.
  for (const char* text : {"检测到网络正常！Quonda云服务器成功连接...程序关闭后右下角图标会晚窗口消失，"
                           "鼠标划过图标即可消失，感谢使用！",
                           "已经运行一个QuondaHalvix！不得重复运行。"}) {
    tray.Notify("Quonda程序重复！！", text, 1);
    EXPECT_EQ(record.uFlags, 0x10u);
    EXPECT_EQ(record.dwInfoFlags, 1u);
    EXPECT_EQ(std::string(record.szInfoTitle), Gbk("Quonda程序重复！！"));
    EXPECT_EQ(std::string(record.szInfo), Gbk(text)) << text;
    EXPECT_EQ(record.szTip[0], '\0');  // the tip buffer is not touched by notices
    // The shell takes the record for a modify on the icon that exists.
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, const_cast<NOTIFYICONDATAA*>(&record)));
  }
  // A new, shorter notice leaves nothing of the old one behind.
  tray.Notify("短", "短", 1);
  const std::string gbk = Gbk("短");
  EXPECT_EQ(std::string(record.szInfo, gbk.size()), gbk);
  for (size_t i = gbk.size(); i < sizeof record.szInfo; ++i) ASSERT_EQ(record.szInfo[i], '\0') << i;
  NOTIFYICONDATAW wide = shell::WideNotice(record, "标题", "内容");
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &wide));
  EXPECT_STREQ(wide.szInfoTitle, L"标题");
  // After the exit's removal nothing more is shown.
  tray.RemoveIcon();
  tray.Notify("后", "后", 1);
  EXPECT_NE(std::string(record.szInfo), Gbk("后"));
}

// A refused add (the shell refuses a second one): the retry timer finds the icon and shows the notice held meanwhile.
TEST_F(BackendTest, TrayIconIsAskedForAgainAfterARefusedAdd) {
  ui::Window& main = Main();
  ASSERT_TRUE(tray.IconAdded());
  tray.AddIcon(main, "again");
  ASSERT_FALSE(tray.IconAdded());
  tray.Notify("等候", "图标出现后显示", 1);
  EXPECT_NE(std::string(tray.Record().szInfo), Gbk("图标出现后显示"));
  EXPECT_TRUE(PumpUntil([&] { return tray.IconAdded(); }));
  EXPECT_EQ(std::string(tray.Record().szInfo), Gbk("图标出现后显示"));
}

// Per-monitor v1 (Windows 8.1, 10 before 1607) has no GetDpiForWindow: the monitor's DPI, not the system's.
UINT WINAPI Window120(HWND) { return 120; }
HRESULT WINAPI Monitor144(HMONITOR, int kind, UINT* x, UINT* y) {
  if (kind != 0) return E_INVALIDARG;  // only the effective DPI is the scale
  *x = *y = 144;
  return S_OK;
}
HRESULT WINAPI MonitorFails(HMONITOR, int, UINT*, UINT*) { return E_FAIL; }
UINT WINAPI System168() { return 168; }

TEST(DpiLookup, AWindowHasItsOwnDpiElseItsMonitorsElseTheSystems) {
  const struct { ui::DpiCalls calls; int dpi; } cases[] = {
      {{&Window120, &Monitor144, &System168}, 120}, {{nullptr, &Monitor144, &System168}, 144},
      {{nullptr, &MonitorFails, &System168}, 168}, {{nullptr, nullptr, &System168}, 168}};
  for (const auto& c : cases) EXPECT_EQ(ui::WindowScale(GetDesktopWindow(), c.calls).Dpi(), c.dpi);
}

// The width of an icon's colour bitmap; 0 for no icon.
int IconWidth(HICON icon) {
  ICONINFO info{};
  BITMAP bitmap{};
  if (icon && GetIconInfo(icon, &info)) {
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor), DeleteObject(info.hbmMask);
  }
  return bitmap.bmWidth;
}

// The small-icon size of the DPI; 28 px (175 %), which the icon file lacks, is made too.
TEST(TrayIcon, SizedForTheDpi) {
  for (auto [dpi, size] : {std::pair{96, 16}, {120, 20}, {144, 24}, {168, 28}, {192, 32}}) {
    const int metric = ui::MetricFor(SM_CXSMICON, ui::Scale(dpi));
    EXPECT_EQ(IconWidth(shell::LoadTrayIcon(GetModuleHandleW(nullptr), metric).Get()), size) << dpi;
  }
}

// The icon follows the taskbar's DPI (played here: Wine's never changes) after display messages and a shell restart.
int gTaskbarDpi = 96;
std::vector<std::string> gShell;  // "call flags width" per shell call
BOOL RecordShell(DWORD message, NOTIFYICONDATAW* data) {
  const char* call = message == NIM_ADD ? "add" : message == NIM_MODIFY ? "modify" : "other";
  gShell.push_back(std::string(call) + " " + std::to_string(data->uFlags) + " " +
                   std::to_string(IconWidth(data->hIcon)));
  return TRUE;
}
shell::TrayCalls PlayedTaskbar() {
  gTaskbarDpi = 96;
  gShell.clear();
  return {[] { return ui::Scale(gTaskbarDpi); }, &RecordShell};
}
struct TrayDpiTest : BackendTest {
  TrayDpiTest() : BackendTest(PlayedTaskbar()) {}
};

TEST_F(TrayDpiTest, TheIconIsLoadedAgainForTheTaskbarsDpi) {
  ui::Window& main = Main();  // the tray was made at 96 DPI
  HWND hwnd = backend.Handle(main);
  ASSERT_TRUE(tray.IconAdded());
  ASSERT_EQ(gShell.at(0), "add 7 16");  // icon, tip and callback
  RECT at = WindowRect(hwnd);
  const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  const struct {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    int dpi;
    std::vector<std::string> shell;
    bool removed = false;
  } steps[] = {
      {WM_DISPLAYCHANGE, 32, 0, 96, {}},
      {WM_SETTINGCHANGE, 0, 0, 144, {"modify 2 24"}},  // the icon alone
      {WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&at), 168, {"modify 2 28"}},
      {WM_DISPLAYCHANGE, 32, 0, 168, {}},
      {taskbarCreated, 0, 0, 192, {"modify 7 32"}},  // the new shell asked, at its scale
      {WM_DISPLAYCHANGE, 32, 0, 120, {}, true},  // no icon shown: nothing asked
  };
  for (const auto& step : steps) {
    if (step.removed) tray.RemoveIcon();
    gShell.clear();
    gTaskbarDpi = step.dpi;
    SendMessageW(hwnd, step.message, step.wParam, step.lParam);
    PumpUntil([&] {  // the display change the backend posted, handled
      MSG m;
      return !PeekMessageW(&m, hwnd, ui::kDisplayChangedMessage, ui::kDisplayChangedMessage, PM_NOREMOVE);
    });
    EXPECT_EQ(gShell, step.shell) << step.message << " at " << step.dpi;
  }
  tray.AddIcon(main, "tip");
  EXPECT_EQ(gShell, std::vector<std::string>{"add 7 20"});
}

// The opener is let to the front (else the page opened behind); elevated or unsure, only the desktop shell opens it.
std::vector<std::wstring> gLink;
std::optional<bool> gElevated;  // what the token says
bool gDesktop = false;           // a desktop shell answers
std::optional<bool> Elevated() { return gElevated; }
BOOL WINAPI Allow(DWORD id) { return gLink.push_back(L"allow " + std::to_wstring(id)), TRUE; }
bool ByDesktop(const std::wstring& a) { return gLink.push_back(L"desktop " + a), gDesktop; }
bool Here(const std::wstring& a) { return gLink.push_back(L"here " + a), true; }

TEST(WebPages, LinksComeToTheFrontAndElevatedOnlyThroughTheDesktop) {
  const struct { std::optional<bool> elevated; bool desktop, opened; const wchar_t* by; } cases[] = {
      {false, false, true, L"here x"}, {true, true, true, L"desktop x"},
      {true, false, false, L"desktop x"}, {std::nullopt, false, false, L"desktop x"}};
  for (const auto& c : cases) {
    gLink.clear();
    gElevated = c.elevated;
    gDesktop = c.desktop;
    EXPECT_EQ(net::Win32WebPages({&Elevated, &Allow, &ByDesktop, &Here}).OpenWebPage("x"), c.opened) << c.by;
    EXPECT_EQ(gLink, (std::vector<std::wstring>{L"allow 4294967295", c.by}));
    EXPECT_TRUE(net::Win32WebPages({&Elevated, &Allow, &ByDesktop, &Here}).OpenWebPage(""));
    EXPECT_EQ(gLink.size(), 2u);  // no address, nothing asked
  }
}

// Not elevated, the shell is handed the address here (a script stands in for the page and leaves a file).
TEST(WebPages, NotElevatedTheShellIsHandedTheAddressHere) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring script = std::wstring(temp) + L"qh_opened.bat", mark = std::wstring(temp) + L"qh_opened.txt";
  DeleteFileW(mark.c_str());
  const std::string line = "@echo opened> \"" + ui::Narrow(mark) + "\"\r\n";
  HANDLE file = CreateFileW(script.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  EXPECT_TRUE(net::RealWebPagesApi().openHere(script));
  EXPECT_TRUE(PumpUntil([&] { return GetFileAttributesW(mark.c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000));
  DeleteFileW(script.c_str()), DeleteFileW(mark.c_str());
}

// Balloon texts are cut at whole characters: GBK ones, and UTF-16 pairs in the wide record (only outside GBK).
TEST(TrayRecords, TextsAreCutAtCharacterBoundaries) {
  NOTIFYICONDATAA record{};
  std::string text, emoji;  // 160 characters of two GBK bytes each; 40 of two UTF-16 units
  for (int i = 0; i < 160; ++i) text += "段";
  for (int i = 0; i < 40; ++i) emoji += "\xF0\x9F\x98\x80";
  shell::FillBalloon(record, std::string(100, 'T'), text, 1);
  EXPECT_EQ(std::string(record.szInfoTitle), std::string(63, 'T'));
  EXPECT_EQ(record.szInfoTitle[63], '\0');
  EXPECT_EQ(std::strlen(record.szInfo), 254u);  // 127 whole characters, then the NUL
  EXPECT_FALSE(shell::NeedsWideNotice(936));
  EXPECT_TRUE(shell::NeedsWideNotice(1252));
  EXPECT_TRUE(shell::NeedsWideNotice(65001));
  NOTIFYICONDATAW wide = shell::WideNotice(record, emoji, emoji);
  EXPECT_EQ(wcslen(wide.szInfoTitle), 62u);  // the 32nd would be split: dropped whole
  EXPECT_EQ(wcslen(wide.szInfo), 80u);
}

}  // namespace

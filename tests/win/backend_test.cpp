// The Win32 backend against a real Win32 implementation: the four windows
// created from their forms with the right geometry, styles and native parts,
// timers that tick and stop, painting into real windows, hiding, closing from
// inside a handler, and the tray and process adapters of the platform.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
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

using testing_win::PumpUntil;

using namespace ui::main_window;
namespace ec = ui::exit_confirm;
namespace td = ui::task_done;
namespace ver = ui::version;

// The Windows-side tests stop on a name the model does not know, as the
// native ones do (this build is a release build, lenient by default).
class StrictNames : public ::testing::Environment {
 public:
  void SetUp() override { ui::SetStrictNames(true); }
};
const auto* const kStrictNames = ::testing::AddGlobalTestEnvironment(new StrictNames);

struct BackendTest : ::testing::Test, testing_win::RealProgram {
  void SetUp() override { Attach(); }
  void TearDown() override { tray.RemoveIcon(); }
  ui::Window& Main() {
    ui::Window& main = program.desktop.Load(ui::MainWindowForm(), nullptr);
    backend.SetMainWindow(&main);
    return main;
  }
};

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[128] = {};
  GetClassNameW(hwnd, name, 128);
  return name;
}

TEST_F(BackendTest, WindowsAreFramelessAndSizedAsTheirForms) {
  ui::Window& main = Main();
  HWND hwnd = backend.Handle(main);
  ASSERT_NE(hwnd, nullptr);
  RECT rc;
  GetWindowRect(hwnd, &rc);
  EXPECT_EQ(rc.left, 50);
  EXPECT_EQ(rc.top, 50);
  EXPECT_EQ(rc.right - rc.left, 867);
  EXPECT_EQ(rc.bottom - rc.top, 524);
  GetClientRect(hwnd, &rc);
  EXPECT_EQ(rc.right, 867);  // no frame eats into the client area
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  LONG ex = GetWindowLongW(hwnd, GWL_EXSTYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), 0);
  EXPECT_TRUE(ex & WS_EX_APPWINDOW);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(ClassOf(hwnd), L"QuondaHalvixMainWindow");
  wchar_t title[64] = {};
  GetWindowTextW(hwnd, title, 64);
  EXPECT_STREQ(title, L"QuondaHalvix");

  // The notice: owned by MainWindow, topmost, off the taskbar, parked below the screen.
  ui::Window* notice = program.desktop.Find(td::TaskDoneWindow);
  ASSERT_NE(notice, nullptr);
  HWND noticeHwnd = backend.Handle(*notice);
  EXPECT_EQ(GetWindow(noticeHwnd, GW_OWNER), hwnd);
  EXPECT_TRUE(GetWindowLongW(noticeHwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(GetWindowLongW(noticeHwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  GetWindowRect(noticeHwnd, &rc);
  EXPECT_EQ(rc.left, GetSystemMetrics(SM_CXSCREEN) - 384);
  EXPECT_EQ(rc.top, GetSystemMetrics(SM_CYSCREEN));
  program.desktop.Close(*notice);
  program.desktop.Close(main);
}

TEST_F(BackendTest, EditBoxesAreRealAndTypedTextReachesTheModel) {
  ui::Window& main = Main();
  HWND hwnd = backend.Handle(main);
  int edits = 0, shown = 0;
  HWND hour = nullptr;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) != L"Edit") continue;
    ++edits;
    if (IsWindowVisible(child)) ++shown;
    wchar_t text[16] = {};
    GetWindowTextW(child, text, 16);
    if (std::wstring(text) == L"18") hour = child;
  }
  EXPECT_EQ(edits, 3);  // the three time fields; the program draws the disk report itself
  EXPECT_EQ(shown, 3);
  ASSERT_NE(hour, nullptr);
  RECT rc;
  GetWindowRect(hour, &rc);
  MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rc), 2);
  EXPECT_EQ(rc.left, 149);
  EXPECT_EQ(rc.top, 405);
  SetWindowTextW(hour, L"7");  // as typing does: EN_CHANGE carries it to the model
  EXPECT_EQ(main.Get(编辑框1).caption, "7");
  main.SetCaption(编辑框1, "23");  // and a handler's write shows in the field
  wchar_t text[16] = {};
  GetWindowTextW(hour, text, 16);
  EXPECT_STREQ(text, L"23");
  // Over the field the edit sets its own text cursor: asked first, as
  // DefWindowProc asks a child's parent, the window leaves it to the edit.
  EXPECT_FALSE(SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hour), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  // Over the link "检查更新" the hand, beside it the arrow.
  RECT window;
  GetWindowRect(hwnd, &window);
  const ui::Rect link = main.AbsoluteRect(main.Find(透明标签4));
  for (auto [x, cursor] : {std::pair{link.left + 8, IDC_HAND}, {link.left - 8, IDC_ARROW}}) {
    SetCursorPos(window.left + x, window.top + link.top + 8);
    EXPECT_TRUE(SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, cursor)) << x;
  }
  program.desktop.Close(*program.desktop.Find(td::TaskDoneWindow));
  program.desktop.Close(main);
}

// Moved to a monitor of another DPI: the size is the model's at the new
// scale, the place the system's suggestion, the time fields follow, and the
// model keeps its 96-DPI place. And back again.
TEST_F(BackendTest, AWindowTakesTheScaleOfTheMonitorItMovesTo) {
  ui::Window& main = Main();
  HWND hwnd = backend.Handle(main);
  HWND hour = GetDlgItem(hwnd, 0x100 + main.Find(编辑框1));  // the edits' ids: control + 0x100
  ASSERT_NE(hour, nullptr);
  // The size asked for each scale, which the window then takes (README's table).
  for (auto [dpi, cx, cy] : {std::tuple{120, 1084, 655}, {192, 1734, 1048}}) {
    SIZE size{};
    EXPECT_TRUE(SendMessageW(hwnd, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size)));
    EXPECT_EQ(size.cx, cx);
    EXPECT_EQ(size.cy, cy);
  }
  for (int dpi : {144, 96}) {
    SIZE size{};
    EXPECT_TRUE(SendMessageW(hwnd, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size)));
    EXPECT_EQ(size.cx, dpi == 144 ? 1301 : 867);
    EXPECT_EQ(size.cy, dpi == 144 ? 786 : 524);
    RECT suggested{150, 120, 150 + size.cx, 120 + size.cy};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.right - rc.left, dpi == 144 ? 1301 : 867);
    EXPECT_EQ(rc.bottom - rc.top, dpi == 144 ? 786 : 524);
    EXPECT_EQ(main.ScreenRect().left, dpi == 144 ? 100 : 150);
    GetWindowRect(hour, &rc);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, dpi == 144 ? 224 : 149);
    EXPECT_EQ(rc.top, dpi == 144 ? 608 : 405);
  }
  program.desktop.Close(*program.desktop.Find(td::TaskDoneWindow));
  program.desktop.Close(main);
}

// A scale changed in Settings, 100 -> 150 -> 100 %, while the program runs:
// at each scale the notice parks wholly below the screen and rests wholly
// on it, flush with its right edge. With the scale of start-up kept, it
// parked in view at a lower scale and never came into view at a higher one.
TEST_F(BackendTest, TheNoticeParksAndRestsForTheScaleOfNow) {
  task::Win32PowerActions power(task::PowerApi{});
  ui::Window& main = app::StartMainWindow(program, backend, power);
  ui::Window& notice = *program.desktop.Find(td::TaskDoneWindow);
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  const auto place = [&](const ui::Window& w) {
    RECT r{};
    GetWindowRect(backend.Handle(w), &r);
    return r;
  };
  const auto parked = [&] { return place(notice).top == cy && place(notice).right == cx; };
  const auto slide = [&](int up) {
    program.records.task.slideUp = up;
    for (main.SetInterval(时钟4, 10); main.Get(时钟4).interval > 0;) {
      program.desktop.Deliver(ui::Event{&main, main.Find(时钟4), ui::EventKind::kTick, 0});
    }
    return place(notice);
  };
  for (int dpi : {96, 144, 96}) {
    for (ui::Window* w : {&main, &notice}) {  // each window told its new DPI, at the size it asks
      const RECT r = place(*w);
      SIZE size{};
      SendMessageW(backend.Handle(*w), WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size));
      RECT suggested{r.left, r.top, r.left + size.cx, r.top + size.cy};
      SendMessageW(backend.Handle(*w), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
    EXPECT_TRUE(PumpUntil(parked)) << dpi;
    const RECT park = place(notice), rest = slide(1), sunk = slide(0);
    std::printf("notice at %d DPI: parked (%ld, %ld)-(%ld, %ld), resting (%ld, %ld)-(%ld, %ld)\n", dpi,
                park.left, park.top, park.right, park.bottom, rest.left, rest.top, rest.right, rest.bottom);
    EXPECT_EQ(park.right - park.left, dpi == 144 ? 576 : 384) << dpi;
    EXPECT_EQ(rest.right, cx) << dpi;
    EXPECT_EQ(rest.bottom, cy - (dpi == 144 ? 44 : 30)) << dpi;  // 30 of its pixels: 728 + 308 at 150 %
    EXPECT_EQ(sunk.top, cy) << dpi;
  }
  program.desktop.Move(notice, 100, 100);  // a screen that changed under the parked notice
  SendMessageW(backend.Handle(main), WM_DISPLAYCHANGE, 32, MAKELPARAM(cx, cy));
  EXPECT_TRUE(PumpUntil(parked));
  program.desktop.Close(notice);
  program.desktop.Close(main);
}

TEST_F(BackendTest, TimersTickAndStopAtZero) {
  ui::Window& main = Main();
  std::string first = main.Get(标签1).caption;
  EXPECT_EQ(first.rfind("本地时间：", 0), 0u);
  // The clock timer rewrites the caption every second.
  EXPECT_TRUE(PumpUntil([&] { return main.Get(标签1).caption != first; }, 3000));
  main.SetInterval(时钟1, 0);
  std::string stopped = main.Get(标签1).caption;
  PumpUntil([] { return false; }, 1500);
  EXPECT_EQ(main.Get(标签1).caption, stopped);
  program.desktop.Close(*program.desktop.Find(td::TaskDoneWindow));
  program.desktop.Close(main);
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
  // Painting a shown window goes through the real painter without trouble.
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
  const std::size_t drawn = images.PixelBytes();
  EXPECT_GT(drawn, 0u);
  // Hidden, its pictures go (no window on show draws them), and they come
  // back when it paints again.
  program.desktop.SetVisible(version, false);
  EXPECT_EQ(images.PixelBytes(), 0u);
  program.desktop.SetVisible(version, true);
  UpdateWindow(hwnd);
  EXPECT_EQ(images.PixelBytes(), drawn);
  program.desktop.Close(version);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(BackendTest, AWindowClosedInsideItsOwnClickIsSafe) {
  ui::Window& main = Main();
  backend.SetMainWindow(nullptr);  // keep the test's message loop alive
  ui::Window& confirm = program.desktop.Load(ui::ExitConfirmWindowForm(), nullptr);
  HWND hwnd = backend.Handle(confirm);
  // "取消返回": press and release as the mouse does.
  LPARAM at = MAKELPARAM(460, 230);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, at);  // first the pointer over it: its hover look
  EXPECT_EQ(confirm.Hovered(), confirm.Find(ec::按钮2));
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(program.desktop.Find(ec::ExitConfirmWindow), nullptr);
  EXPECT_EQ(backend.Handle(confirm), nullptr);
  EXPECT_EQ(program.desktop.CollectClosed(), 1);
  program.desktop.Close(*program.desktop.Find(td::TaskDoneWindow));
  program.desktop.Close(main);
}

// "确认退出" clicked from inside MainWindow's own procedure (here a route, as
// a tray menu would): the click's handler destroys MainWindow, whose
// procedure is further out on the stack, and the confirmation, whose
// procedure is running. Neither host may be freed before both have returned.
TEST_F(BackendTest, WindowsDestroyedDuringANestedWindowProcedureStayValidUntilItEnds) {
  ui::Window& main = Main();
  HWND mainHwnd = backend.Handle(main);
  HWND confirmHwnd =
      backend.Handle(program.desktop.Load(ui::ExitConfirmWindowForm(), nullptr));
  constexpr UINT kClickConfirm = WM_APP + 0x100;
  int collectedInside = -1;
  bool mainClosedInside = false;
  backend.AddMessageRoute(kClickConfirm, [&](ui::Window& routedTo, WPARAM, LPARAM) {
    LPARAM at = MAKELPARAM(316, 230);
    SendMessageW(confirmHwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(confirmHwnd, WM_LBUTTONUP, 0, at);
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

// What the platform does by itself (the taskbar minimising and restoring, the
// owner hiding, a drag) reaches the model, and the desktop's own operations
// leave the model as the platform has it.
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
  PumpUntil([] { return false; }, 100);
  EXPECT_EQ(main.IsVisible(), IsWindowVisible(hwnd) != FALSE);
  EXPECT_TRUE(main.IsVisible());
  program.desktop.Raise(main);
  PumpUntil([] { return false; }, 100);
  EXPECT_EQ(main.GetDisplayState(), IsIconic(hwnd) ? ui::DisplayState::kMinimized
                                                   : ui::DisplayState::kRestored);
  EXPECT_TRUE(main.IsVisible());
  program.desktop.Close(*program.desktop.Find(td::TaskDoneWindow));
  program.desktop.Close(main);
}

// Counts the paints a window gets.
int gPaints = 0;
WNDPROC gOriginal = nullptr;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) ++gPaints;
  return CallWindowProcW(gOriginal, hwnd, message, wParam, lParam);
}

TEST_F(BackendTest, ParkedNoticeDoesNotAnimateUntilItComesOnScreen) {
  // Parked below the screen it is visible but unseen: playing its GIF there
  // woke the program many times a second for nothing.
  ui::Window& main = Main();
  ui::Window& notice = *program.desktop.Find(td::TaskDoneWindow);
  // Long enough for a GIF on screen to move on: the main window's globe.
  EXPECT_TRUE(PumpUntil([&] { return main.Get(图片框6).frame >= 2; }, 3000));
  EXPECT_EQ(notice.Get(图片框2).frame, 0);
  const std::size_t mainOnly = images.PixelBytes();  // nor are its pictures decoded
  program.desktop.Move(notice, std::nullopt, GetSystemMetrics(SM_CYSCREEN) - 205);
  EXPECT_TRUE(PumpUntil([&] { return notice.Get(图片框2).frame != 0; }, 3000));
  EXPECT_GT(images.PixelBytes(), mainOnly);
  // Sliding on the screen a pixel at a time, it is not drawn anew at each step.
  HWND noticeHwnd = backend.Handle(notice);
  gPaints = 0;
  gOriginal = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(noticeHwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
  for (int step = 1; step <= 3; ++step) {
    program.desktop.Move(notice, std::nullopt, GetSystemMetrics(SM_CYSCREEN) - 205 - step);
  }
  SetWindowLongPtrW(noticeHwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gOriginal));
  EXPECT_EQ(gPaints, 0);
  program.desktop.Move(notice, std::nullopt, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(images.PixelBytes(), mainOnly);
  program.desktop.Move(notice, std::nullopt, GetSystemMetrics(SM_CYSCREEN) + 40);  // and further off
  EXPECT_EQ(images.PixelBytes(), mainOnly);
  program.desktop.Close(notice);
  program.desktop.Close(main);
}

TEST_F(BackendTest, ProcessListHoldsTheOwnExecutable) {
  std::string own = processes.OwnExecutable();
  EXPECT_EQ(own, "qh_win_tests.exe");
  auto list = processes.RunningProcesses();
  const std::uint32_t id = processes.OwnId();
  EXPECT_NE(std::find_if(list.begin(), list.end(),
                         [&](const app::ProcessEntry& e) { return e.executable == own && e.id == id; }),
            list.end());
  EXPECT_TRUE(processes.StartOf(id).ticks.has_value());
  // A copy gone since the list was taken must not count against the asker.
  EXPECT_FALSE(processes.StartOf(0xFFFFFFF0u).running);
  EXPECT_FALSE(processes.SessionOf(0xFFFFFFF0u).has_value());
  DWORD session = 0xFFFFFFFFu;
  ASSERT_TRUE(ProcessIdToSessionId(GetCurrentProcessId(), &session));
  EXPECT_EQ(processes.SessionOf(id), std::optional<std::uint32_t>(session));
}

// Every balloon notice the program shows, by caller.
struct NoticeText {
  const char* title;
  const char* text;
};

constexpr NoticeText kNotices[] = {
    {"Quonda硬盘检测结果提示！",
     "您的计算机硬盘使用时间和温度已经成功提取请查看！注：30-50度硬盘正常！70度以上硬盘危险温度过高！"},
    {"Quonda硬盘检测结果提示！",
     "未能读取硬盘使用时间和温度！请以管理员身份运行本软件后重试。注：部分硬盘不提供此信息。"},
    {"QuondaHalvix任务提示！", "QuondaHalvix任务已经成功取消，感谢您的使用！"},
    {"Quonda云服务器中心提示！", "检测到网络异常！请检查网络是否已成功连接..."},
    {"Quonda云服务器中心提示！",
     "检测到网络正常！Quonda云服务器成功连接...程序关闭后右下角图标会晚窗口消失，鼠标划过图标即可消失，感谢使用！"},
    {"Quonda程序重复！！", "已经运行一个QuondaHalvix！不得重复运行。"},
};

// The start routine's own wiring: a refusal the power worker posts to the
// main window reaches the tray in words. Without the route every failure
// notice would be lost.
TEST_F(BackendTest, StartRoutineShowsARefusedPowerActionAsANotice) {
  task::PowerApi refusing{};
  refusing.exitWindowsEx = [](UINT, DWORD) -> BOOL { return SetLastError(ERROR_ACCESS_DENIED), FALSE; };
  task::Win32PowerActions power(refusing);
  ui::Window& main = app::StartMainWindow(program, backend, power);
  power.RunPowerAction(task::PowerMode::kRestart);
  const std::string told = ui::ToCodePage(
      task::PowerFailureText(task::PowerMode::kRestart, task::PowerFailure::kNoRight), 936);
  EXPECT_TRUE(testing_win::PumpUntil([&] { return std::string(tray.Record().szInfo) == told; }));
  program.desktop.Close(*program.desktop.Find(td::TaskDoneWindow));
  program.desktop.Close(main);
}

// Registered for restart only while an installer's close asks, with the task
// armed then, and taken back when it is cancelled. At arming or at an
// ordinary shutdown, "restart apps" started it, armed, at the next sign-in.
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
  program.desktop.Close(*program.desktop.Find(td::TaskDoneWindow));
  program.desktop.Close(main);
}

TEST_F(BackendTest, TrayRecordReachesTheShell) {
  // Before the icon exists nothing is handed to the shell.
  tray.Notify("t", "x", 1);
  EXPECT_EQ(tray.Record().szInfo[0], '\0');
  ui::Window& main = Main();  // adds the icon and shows the start-up notice
  ASSERT_TRUE(tray.IconAdded());
  const NOTIFYICONDATAA& record = tray.Record();
  EXPECT_EQ(record.cbSize, shell::kBalloonRecordSize);
  EXPECT_EQ(record.cbSize, 504u);
  EXPECT_EQ(record.hWnd, backend.Handle(main));
  EXPECT_EQ(record.uID, 1u);
  EXPECT_EQ(std::string(record.szInfoTitle), ui::ToCodePage("Quonda云服务器中心提示！", 936));
  for (const auto& c : kNotices) {
    tray.Notify(c.title, c.text, 1);
    EXPECT_EQ(record.uFlags, 0x10u);
    EXPECT_EQ(record.dwInfoFlags, 1u);
    EXPECT_EQ(std::string(record.szInfoTitle), ui::ToCodePage(c.title, 936)) << c.title;
    EXPECT_EQ(std::string(record.szInfo), ui::ToCodePage(c.text, 936)) << c.text;
    EXPECT_EQ(record.szTip[0], '\0');  // the tip buffer is not touched by notices
    // The shell takes the record for a modify on the icon that exists.
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, const_cast<NOTIFYICONDATAA*>(&record)));
  }
  // A new, shorter notice leaves nothing of the old one behind.
  tray.Notify("短", "短", 1);
  std::string gbk = ui::ToCodePage("短", 936);
  EXPECT_EQ(std::string(record.szInfo, gbk.size()), gbk);
  for (size_t i = gbk.size(); i < sizeof record.szInfo; ++i) ASSERT_EQ(record.szInfo[i], '\0') << i;
  NOTIFYICONDATAW wide = shell::WideNotice(record, "标题", "内容");
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &wide));
  EXPECT_STREQ(wide.szInfoTitle, L"标题");
  // After the exit's removal nothing more is shown.
  tray.RemoveIcon();
  tray.Notify("后", "后", 1);
  EXPECT_NE(std::string(record.szInfo), ui::ToCodePage("后", 936));
  program.desktop.Close(*program.desktop.Find(td::TaskDoneWindow));
  program.desktop.Close(main);
}

// An add the shell refused though the icon went in (it refuses a second add
// of the same icon): the retry timer, through the main window's routes,
// finds the icon, and the notice asked for meanwhile is shown then.
TEST_F(BackendTest, TrayIconIsAskedForAgainAfterARefusedAdd) {
  ui::Window& main = Main();
  ASSERT_TRUE(tray.IconAdded());
  tray.AddIcon(main, "again");
  ASSERT_FALSE(tray.IconAdded());
  tray.Notify("等候", "图标出现后显示", 1);
  EXPECT_NE(std::string(tray.Record().szInfo), ui::ToCodePage("图标出现后显示", 936));
  EXPECT_TRUE(PumpUntil([&] { return tray.IconAdded(); }));
  EXPECT_EQ(std::string(tray.Record().szInfo), ui::ToCodePage("图标出现后显示", 936));
  program.desktop.Close(*program.desktop.Find(td::TaskDoneWindow));
  program.desktop.Close(main);
}

// Per-monitor v1 (Windows 8.1, 10 before 1607) has no GetDpiForWindow: a
// window is drawn at its monitor's DPI, which on a second monitor of
// another scale is not the system's.
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

// The tray icon at the small-icon size of the DPI; 28 px (175 %), which the
// icon file has no image for, is made too.
TEST(TrayIcon, SizedForTheDpi) {
  for (auto [dpi, size] : {std::pair{96, 16}, {120, 20}, {144, 24}, {168, 28}, {192, 32}}) {
    const int metric = ui::MetricFor(SM_CXSMICON, ui::Scale(dpi));
    ui::UniqueIcon icon = shell::LoadTrayIcon(GetModuleHandleW(nullptr), metric);
    ICONINFO info{};
    ASSERT_TRUE(icon && GetIconInfo(icon.Get(), &info)) << dpi;
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor), DeleteObject(info.hbmMask);
    EXPECT_EQ(bitmap.bmWidth, size) << dpi;
  }
}

// The tray icon follows the taskbar monitor's DPI after each display
// message and a shell restart (Wine's taskbar never changes scale: one is
// played here, with a shell that records what it is given); a message that
// changes nothing asks nothing, and an icon not shown waits for its add.
int gTaskbarDpi = 96;
std::vector<std::string> gShell;  // "call flags width" per shell call
BOOL RecordShell(DWORD message, NOTIFYICONDATAW* data) {
  ICONINFO info{};
  BITMAP bitmap{};
  if (data->hIcon && GetIconInfo(data->hIcon, &info)) {
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor), DeleteObject(info.hbmMask);
  }
  const char* call = message == NIM_ADD ? "add" : message == NIM_MODIFY ? "modify" : "other";
  gShell.push_back(std::string(call) + " " + std::to_string(data->uFlags) + " " + std::to_string(bitmap.bmWidth));
  return TRUE;
}
shell::TrayCalls PlayedTaskbar() {
  gTaskbarDpi = 96;
  gShell.clear();
  return {[] { return ui::Scale(gTaskbarDpi); }, &RecordShell};
}
struct TrayDpiTest : ::testing::Test, testing_win::RealProgram {
  TrayDpiTest() : RealProgram(PlayedTaskbar()) {}
};

TEST_F(TrayDpiTest, TheIconIsLoadedAgainForTheTaskbarsDpi) {
  Attach();  // the tray was made at 96 DPI
  ui::Window& main = program.desktop.Load(ui::MainWindowForm(), nullptr);
  backend.SetMainWindow(&main);
  HWND hwnd = backend.Handle(main);
  ASSERT_TRUE(tray.IconAdded());
  ASSERT_EQ(gShell.at(0), "add 7 16");  // icon, tip and callback
  RECT at{};
  GetWindowRect(hwnd, &at);
  const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  const struct { UINT message; WPARAM wParam; LPARAM lParam; int dpi; std::vector<std::string> shell; } steps[] = {
      {WM_DISPLAYCHANGE, 32, 0, 96, {}},
      {WM_SETTINGCHANGE, 0, 0, 144, {"modify 2 24"}},  // the icon alone
      {WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&at), 168, {"modify 2 28"}},
      {WM_DISPLAYCHANGE, 32, 0, 168, {}},
      {taskbarCreated, 0, 0, 192, {"modify 7 32"}},  // the new shell asked, at its scale
  };
  const auto send = [&](UINT message, WPARAM wParam, LPARAM lParam, int dpi) {
    gShell.clear();
    gTaskbarDpi = dpi;
    SendMessageW(hwnd, message, wParam, lParam);
    PumpUntil([&] {  // the display change the backend posted, handled
      MSG m;
      return !PeekMessageW(&m, hwnd, ui::kDisplayChangedMessage, ui::kDisplayChangedMessage, PM_NOREMOVE);
    });
  };
  for (const auto& step : steps) {
    send(step.message, step.wParam, step.lParam, step.dpi);
    EXPECT_EQ(gShell, step.shell) << step.message << " at " << step.dpi;
  }
  tray.RemoveIcon();
  send(WM_DISPLAYCHANGE, 32, 0, 120);
  EXPECT_EQ(gShell, std::vector<std::string>{});
  tray.AddIcon(main, "tip");
  EXPECT_EQ(gShell, std::vector<std::string>{"add 7 20"});
  program.desktop.Close(*program.desktop.Find(td::TaskDoneWindow));
  program.desktop.Close(main);
}

// A link: the process that opens it is let to the front first (the page
// opened behind the program); elevated, or unsure, only the desktop shell
// opens it, and without one the caller hears that nothing opened.
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

// Not elevated, the address goes to the shell from this process (a script
// stands in for the page here: it leaves a file when the shell runs it).
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

TEST(TrayRecords, BalloonTextsAreCutAtCharacterBoundaries) {
  NOTIFYICONDATAA record{};
  std::string text;  // 160 characters of two GBK bytes each
  for (int i = 0; i < 160; ++i) text += "段";
  shell::FillBalloon(record, std::string(100, 'T'), text, 1);
  EXPECT_EQ(std::string(record.szInfoTitle), std::string(63, 'T'));
  EXPECT_EQ(record.szInfoTitle[63], '\0');
  EXPECT_EQ(std::strlen(record.szInfo), 254u);  // 127 whole characters, then the NUL
}

TEST(TrayRecords, WideNoticeOnlyOutsideGbkAndCutOnCharacters) {
  EXPECT_FALSE(shell::NeedsWideNotice(936));
  EXPECT_TRUE(shell::NeedsWideNotice(1252));
  EXPECT_TRUE(shell::NeedsWideNotice(65001));
  NOTIFYICONDATAA record{};
  std::string emoji;  // 40 characters outside the BMP: two UTF-16 units each
  for (int i = 0; i < 40; ++i) emoji += "\xF0\x9F\x98\x80";
  NOTIFYICONDATAW wide = shell::WideNotice(record, emoji, emoji);
  EXPECT_EQ(wcslen(wide.szInfoTitle), 62u);  // the 32nd would be split: dropped whole
  EXPECT_EQ(wcslen(wide.szInfo), 80u);
}

}  // namespace

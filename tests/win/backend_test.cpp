// The Win32 backend against a real Win32 implementation: the four windows
// created from their forms with the right geometry, styles and native parts,
// timers that tick and stop, painting into real windows, hiding, closing from
// inside a handler, and the tray and process adapters of the platform.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>

#include "app/platform_win.h"
#include "app/program.h"
#include "shell/tray_win.h"
#include "ui/backend_win.h"
#include "ui/main_window/main_window_form.h"
#include "ui/secondary_windows/secondary_forms.h"
#include "ui/text_win.h"

namespace {

bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    Sleep(5);
  }
  return done();
}

// The real platform, but a second copy never ends the test process.
class TestPlatform final : public app::Platform {
 public:
  TestPlatform(ui::Win32Backend& backend) : real(backend, GetModuleHandleW(nullptr)) {}
  task::LocalTime Now() override { return real.Now(); }
  app::TrayIdentity AddTrayIcon(ui::Window& w, std::string_view tip) override {
    return real.AddTrayIcon(w, tip);
  }
  void NotifyTray(const app::TrayRecord& r, std::string_view t, std::string_view x) override {
    real.NotifyTray(r, t, x);
  }
  void RemoveTrayIcon() override { real.RemoveTrayIcon(); }
  std::string ToGbk(std::string_view s) override { return real.ToGbk(s); }
  std::vector<std::string> RunningExecutables() override { return real.RunningExecutables(); }
  std::string OwnExecutable() override { return real.OwnExecutable(); }
  void EndProcess(int code) override { ended = code; }
  bool ProbeNetwork() override { return real.ProbeNetwork(); }
  // Never the real action: it would end every process of the prefix.
  void RunPowerAction(task::PowerMode) override { ++fired; }
  int fired = 0;
  app::Win32Platform real;
  int ended = -1;
};

struct BackendTest : ::testing::Test {
  ui::GdiplusSession gdiplus;
  ui::ImageStore images{gdiplus, nullptr};
  ui::Win32Backend backend{GetModuleHandleW(nullptr), images};
  TestPlatform platform{backend};
  app::Program program{backend, platform};

  void SetUp() override {
    backend.Attach(program.desktop);
    app::InitGlobals(program.globals);
  }
  void TearDown() override { platform.RemoveTrayIcon(); }
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
  ui::Window* notice = program.Find("TaskDoneWindow");
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
  EXPECT_EQ(edits, 4);  // three time fields and the disk report
  EXPECT_EQ(shown, 3);  // the report box stays hidden until the disk check reveals it
  ASSERT_NE(hour, nullptr);
  RECT rc;
  GetWindowRect(hour, &rc);
  MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rc), 2);
  EXPECT_EQ(rc.left, 149);
  EXPECT_EQ(rc.top, 405);
  SetWindowTextW(hour, L"7");  // as typing does: EN_CHANGE carries it to the model
  EXPECT_EQ(main.Get("编辑框1")->caption, "7");
  main.SetCaption("编辑框1", "23");  // and a handler's write shows in the field
  wchar_t text[16] = {};
  GetWindowTextW(hour, text, 16);
  EXPECT_STREQ(text, L"23");
  program.desktop.Close(*program.Find("TaskDoneWindow"));
  program.desktop.Close(main);
}

TEST_F(BackendTest, TimersTickAndStopAtZero) {
  ui::Window& main = Main();
  std::string first = main.Get("标签1")->caption;
  EXPECT_EQ(first.rfind("本地时间：", 0), 0u);
  // The clock timer rewrites the caption every second.
  EXPECT_TRUE(PumpUntil([&] { return main.Get("标签1")->caption != first; }, 3000));
  main.SetInterval("时钟1", 0);
  std::string stopped = main.Get("标签1")->caption;
  PumpUntil([] { return false; }, 1500);
  EXPECT_EQ(main.Get("标签1")->caption, stopped);
  program.desktop.Close(*program.Find("TaskDoneWindow"));
  program.desktop.Close(main);
}

TEST_F(BackendTest, HidingAndShowingKeepsTheWindowAndItsState) {
  ui::Window& version = program.desktop.Load(ui::VersionWindowForm(), nullptr);
  HWND hwnd = backend.Handle(version);
  version.SetCaption("透明标签3", "正在检测");
  program.desktop.SetVisible(version, false);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  program.desktop.SetVisible(version, true);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(backend.Handle(version), hwnd);
  EXPECT_EQ(version.Get("透明标签3")->caption, "正在检测");
  // Painting a shown window goes through the real painter without trouble.
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
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
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(program.Find("ExitConfirmWindow"), nullptr);
  program.desktop.CollectClosed();
  program.desktop.Close(*program.Find("TaskDoneWindow"));
  program.desktop.Close(main);
}

TEST_F(BackendTest, ParkedNoticeDoesNotAnimateUntilItComesOnScreen) {
  // Parked below the screen it is visible but unseen: playing its GIF there
  // woke the program many times a second for nothing.
  ui::Window& main = Main();
  ui::Window& notice = *program.Find("TaskDoneWindow");
  PumpUntil([] { return false; }, 600);
  EXPECT_EQ(notice.Get("图片框2")->frame, 0);
  program.desktop.Move(notice, std::nullopt, GetSystemMetrics(SM_CYSCREEN) - 205);
  EXPECT_TRUE(PumpUntil([&] { return notice.Get("图片框2")->frame != 0; }, 3000));
  program.desktop.Close(notice);
  program.desktop.Close(main);
}

TEST_F(BackendTest, ProcessListHoldsTheOwnExecutable) {
  std::string own = platform.OwnExecutable();
  EXPECT_EQ(own, "qh_win_tests.exe");
  auto list = platform.RunningExecutables();
  EXPECT_NE(std::find(list.begin(), list.end(), own), list.end());
}

TEST_F(BackendTest, TrayRecordReachesTheShell) {
  ui::Window& main = Main();  // adds the icon and shows the start-up notice
  const app::TrayRecord& record = *program.globals.trayRecord;
  EXPECT_EQ(record.cbSize, shell::kBalloonRecordSize);
  EXPECT_EQ(record.hWnd, reinterpret_cast<UINT_PTR>(backend.Handle(main)));
  NOTIFYICONDATAA shellRecord = shell::ToShellRecord(record);
  EXPECT_EQ(shellRecord.cbSize, 504u);
  EXPECT_EQ(shellRecord.uFlags, 0x10u);
  EXPECT_EQ(shellRecord.dwInfoFlags, 1u);
  EXPECT_EQ(std::string(shellRecord.szInfoTitle), ui::ToCodePage("Quonda云服务器中心提示！", 936));
  EXPECT_EQ(std::memcmp(shellRecord.szInfo, record.szInfo, sizeof record.szInfo), 0);
  // The shell takes the record for a modify on the icon that exists.
  EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &shellRecord));
  NOTIFYICONDATAW wide = shell::ToWideNotice(record, "标题", "内容");
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &wide));
  EXPECT_STREQ(wide.szInfoTitle, L"标题");
  program.desktop.Close(*program.Find("TaskDoneWindow"));
  program.desktop.Close(main);
}

TEST(TrayRecords, WideNoticeOnlyOutsideGbkAndCutOnCharacters) {
  EXPECT_FALSE(shell::NeedsWideNotice(936));
  EXPECT_TRUE(shell::NeedsWideNotice(1252));
  EXPECT_TRUE(shell::NeedsWideNotice(65001));
  app::TrayRecord record;
  std::string emoji;  // 40 characters outside the BMP: two UTF-16 units each
  for (int i = 0; i < 40; ++i) emoji += "\xF0\x9F\x98\x80";
  NOTIFYICONDATAW wide = shell::ToWideNotice(record, emoji, emoji);
  EXPECT_EQ(wcslen(wide.szInfoTitle), 62u);  // the 32nd would be split: dropped whole
  EXPECT_EQ(wcslen(wide.szInfo), 80u);
}

}  // namespace

// MainWindow as assistive technology reaches it (AccessibleObjectFromWindow, WinEvents) and the keyboard drives it.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/win/real_program.h"
#include "ui/behaviour/accessibility.h"
#include "ui/main_window/main_window_form.h"
#include "ui/main_window/main_window_names.h"
#include "ui/win32/accessible_win.h"
#include "ui/win_base/text_win.h"

namespace {

using testing_win::PumpUntil;

using namespace ui::main_window;

std::string Name(IAccessible* acc, LONG child) {
  BSTR name = nullptr;
  if (acc->get_accName(ui::LongVariant(child), &name) != S_OK || !name) return {};
  std::string out = ui::Narrow(name);
  SysFreeString(name);
  return out;
}

// A role or state (`get` names which); -1 when the call fails.
LONG Ask(IAccessible* acc, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), LONG child) {
  VARIANT v;
  VariantInit(&v);
  return (acc->*get)(ui::LongVariant(child), &v) == S_OK ? v.lVal : -1;
}
LONG Role(IAccessible* acc, LONG child) { return Ask(acc, &IAccessible::get_accRole, child); }
LONG State(IAccessible* acc, LONG child) { return Ask(acc, &IAccessible::get_accState, child); }

struct AccessibilityTest : ::testing::Test, testing_win::RealProgram {
  ui::Window* main = nullptr;
  HWND hwnd = nullptr;
  IAccessible* acc = nullptr;

  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    Attach();
    main = &program.desktop.Load(ui::MainWindowForm(), nullptr);
    backend.SetMainWindow(main);
    hwnd = backend.Handle(*main);
    ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(&acc))));
  }
  void TearDown() override {
    if (acc) acc->Release();
    tray.RemoveIcon();
    CoUninitialize();
  }
  LONG Id(ui::ControlName name) { return ui::ChildIdOf(main->Find(name)); }
};

TEST_F(AccessibilityTest, ChildrenCarryRolesNamesStatesAndScreenLocations) {
  LONG count = 0;
  ASSERT_EQ(acc->get_accChildCount(&count), S_OK);
  std::vector<VARIANT> children(static_cast<size_t>(count));
  LONG got = 0;
  ASSERT_EQ(AccessibleChildren(acc, 0, count, children.data(), &got), S_OK);
  ASSERT_EQ(got, count);
  // The enumeration gives our stable ids, in reading order.
  std::vector<ui::ControlId> expected = ui::AccessibleControls(*main);
  ASSERT_EQ(static_cast<size_t>(count), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(children[i].vt, VT_I4);
    EXPECT_EQ(children[i].lVal, ui::ChildIdOf(expected[i]));
  }
  // Navigation walks the same order, and stops at either end.
  const LONG first = children.front().lVal, second = children[1].lVal, last = children.back().lVal;
  for (auto [direction, from, result, to] : {std::tuple{NAVDIR_FIRSTCHILD, CHILDID_SELF, S_OK, first},
                                             {NAVDIR_LASTCHILD, CHILDID_SELF, S_OK, last},
                                             {NAVDIR_NEXT, first, S_OK, second},
                                             {NAVDIR_PREVIOUS, second, S_OK, first},
                                             {NAVDIR_NEXT, last, S_FALSE, 0}}) {
    VARIANT end{};
    EXPECT_EQ(acc->accNavigate(direction, ui::LongVariant(from), &end), result) << direction << " " << from;
    EXPECT_EQ(end.vt == VT_I4 ? end.lVal : 0, to) << direction << " " << from;
  }

  const struct { ui::ControlName control; LONG role; const char* name; } cases[] = {
      {按钮1, ROLE_SYSTEM_PUSHBUTTON, "QuondaHalvix执行命令"},
      {单选框3, ROLE_SYSTEM_RADIOBUTTON, "注销电脑"},
      {图形按钮6, ROLE_SYSTEM_PUSHBUTTON, "检查更新"},
      {透明标签17, ROLE_SYSTEM_LINK, "QuondaHalvix官网"},
      {编辑框1, ROLE_SYSTEM_TEXT, "几时"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Role(acc, Id(c.control)), c.role) << c.name;
    EXPECT_EQ(Name(acc, Id(c.control)), c.name);
  }

  // In screen coordinates: the client origin plus the control's place.
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  LONG l = 0, t = 0, w = 0, h = 0;
  ASSERT_EQ(acc->accLocation(&l, &t, &w, &h, ui::LongVariant(Id(按钮1))), S_OK);
  EXPECT_EQ((std::vector<LONG>{l, t, w, h}), (std::vector<LONG>{origin.x + 256, origin.y + 461, 136, 24}));
  // The button under its point; past the window an empty VARIANT, whatever the caller's held.
  for (auto [x, y, answer, vt, child] : {std::tuple{261, 466, S_OK, VT_I4, Id(按钮1)},
                                         {5000, 466, S_FALSE, VT_EMPTY, 0}}) {
    VARIANT hit{};
    hit.vt = VT_I4;
    hit.lVal = 7;
    EXPECT_EQ(acc->accHitTest(origin.x + x, origin.y + y, &hit), answer) << x;
    EXPECT_EQ(hit.vt, vt) << x;
    EXPECT_TRUE(vt != VT_I4 || hit.lVal == child) << x;
  }

  // States: checked, unavailable, invisible.
  main->SetChecked(单选框3, true);
  EXPECT_TRUE(State(acc, Id(单选框3)) & STATE_SYSTEM_CHECKED);
  main->SetDisabled(超级按钮1, true);
  EXPECT_TRUE(State(acc, Id(超级按钮1)) & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_TRUE(State(acc, Id(编辑框8)) & STATE_SYSTEM_INVISIBLE);

  // A spin control is an object of its own with its two arrows.
  IDispatch* spinDispatch = nullptr;
  ASSERT_EQ(acc->get_accChild(ui::LongVariant(Id(调节器1)), &spinDispatch), S_OK);
  IAccessible* spin = nullptr;
  ASSERT_EQ(spinDispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&spin)), S_OK);
  spinDispatch->Release();
  EXPECT_EQ(Role(spin, CHILDID_SELF), ROLE_SYSTEM_SPINBUTTON);
  EXPECT_EQ(Name(spin, 1), "增加");
  EXPECT_EQ(Name(spin, 2), "减少");
  ASSERT_EQ(spin->accDoDefaultAction(ui::LongVariant(2)), S_OK);
  EXPECT_TRUE(PumpUntil([&] { return main->Get(编辑框1).caption == "17"; }));
  spin->Release();
}

TEST_F(AccessibilityTest, DefaultActionOfTheCommandButtonSchedulesTheTask) {
  ASSERT_EQ(acc->accDoDefaultAction(ui::LongVariant(Id(单选框3))), S_OK);
  ASSERT_EQ(acc->accDoDefaultAction(ui::LongVariant(Id(按钮1))), S_OK);
  // Posted, not run inside the call: a handler may show a message box.
  EXPECT_TRUE(PumpUntil([&] { return main->Get(按钮1).caption == "取消任务"; }));
  EXPECT_TRUE(main->Get(单选框3).checked);
  EXPECT_EQ(main->Get(任务时钟).interval, 1000);
  EXPECT_EQ(Name(acc, Id(分组框3)), "任务成功执行");
  EXPECT_EQ(power.fired, 0);
  // Static text has no default action.
  EXPECT_EQ(acc->accDoDefaultAction(ui::LongVariant(Id(标签2))), DISP_E_MEMBERNOTFOUND);
  // Once the window is gone, what a client holds is disconnected.
  program.desktop.Close(*main);
  EXPECT_EQ(Role(acc, Id(按钮1)), -1);
}

struct Heard { DWORD event; LONG object, child; };
std::vector<Heard>* gHeard = nullptr;
HWND gHeardWindow = nullptr;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  if (gHeard && hwnd == gHeardWindow) gHeard->push_back({event, object, child});
}

TEST_F(AccessibilityTest, ChangesAreAnnouncedToAnOutOfContextListener) {
  std::vector<Heard> heard;
  gHeard = &heard;
  gHeardWindow = hwnd;
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &OnWinEvent,
                                       GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  auto hears = [&](DWORD event, ui::ControlName control) {
    return PumpUntil([&] {
      for (const Heard& h : heard) {
        if (h.event == event && h.object == OBJID_CLIENT && h.child == Id(control)) return true;
      }
      return false;
    }, 3000);
  };

  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  SendMessageW(hwnd, WM_KEYDOWN, VK_TAB, 0);  // to the hour field: the edit's own focus
  HWND hour = GetFocus();
  ASSERT_NE(hour, hwnd);
  // The platform was told the keyboard is in use: its cues show now.
  EXPECT_EQ(SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0);
  EXPECT_TRUE(main->FocusCue());
  // Keys typed into the edit reach the keyboard layer: Up steps it as its spin does.
  SendMessageW(hour, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(testing_win::TextOf(hour), L"19");
  for (int i = 0; i < 3; ++i) SendMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);  // past the fields onto the options
  EXPECT_EQ(GetFocus(), hwnd);
  EXPECT_TRUE(hears(EVENT_OBJECT_FOCUS, 单选框1));
  SendMessageW(hwnd, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_TRUE(hears(EVENT_OBJECT_STATECHANGE, 单选框2));
  EXPECT_TRUE(hears(EVENT_OBJECT_FOCUS, 单选框2));
  SendMessageW(hwnd, WM_KEYDOWN, VK_TAB, 0);
  SendMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0);  // the command button
  EXPECT_EQ(main->Get(按钮1).caption, "取消任务");
  EXPECT_TRUE(hears(EVENT_OBJECT_NAMECHANGE, 分组框3));
  EXPECT_TRUE(hears(EVENT_OBJECT_NAMECHANGE, 按钮1));
  SendMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0);  // cancelled
  EXPECT_EQ(main->Get(分组框3).caption, "任务取消成功");
  main->SetVisible(编辑框8, true);
  EXPECT_TRUE(hears(EVENT_OBJECT_SHOW, 编辑框8));
  main->SetVisible(编辑框8, false);
  EXPECT_TRUE(hears(EVENT_OBJECT_HIDE, 编辑框8));
  UnhookWinEvent(hook);
  gHeard = nullptr;

  // Alt+F4, here from the hour field, hides the window as its X does.
  SendMessageW(hour, WM_SYSKEYDOWN, VK_F4, 1 << 29);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_FALSE(main->IsClosed());
}

}  // namespace

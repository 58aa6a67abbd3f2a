// The keyboard on the drawn windows: the focus order and what it skips, and
// keys reaching the handlers a click reaches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/native/fakes.h"
#include "ui/behaviour/input.h"
#include "ui/behaviour/keyboard.h"
#include "ui/main_window/main_window_form.h"
#include "ui/main_window/main_window_names.h"
#include "ui/secondary_windows/exit_confirm_names.h"
#include "ui/secondary_windows/secondary_forms.h"

namespace {

using namespace ui::main_window;
namespace ec = ui::exit_confirm;
using ui::Key;
using ui::KeyPress;

struct KeyboardTest : ::testing::Test, fakes::TestProgram {
  ui::Window& main = Main();

  ui::KeyOutcome Press(ui::Window& w, Key key, bool shift = false, bool alt = false) {
    return ui::PressKey(program.desktop, w, KeyPress{key, shift, alt});
  }
  std::string FocusedName(const ui::Window& w) {
    return w.Focused() == ui::kNoControl ? "" : w.At(w.Focused()).name;
  }
  // The names the focus visits with n presses of Tab (or Shift+Tab).
  std::string Walk(ui::Window& w, int n, bool back = false) {
    std::string seen;
    for (int i = 0; i < n; ++i) {
      Press(w, Key::kTab, back);
      seen += (i ? " " : "") + FocusedName(w);
    }
    return seen;
  }
  void FocusOn(ui::ControlName name) { main.SetFocused(main.Find(name)); }
};

TEST_F(KeyboardTest, TabVisitsTheFormsStopsInReadingOrderAndWraps) {
  // The four options are one stop, landing on the first while none is checked.
  const char order[] = "编辑框1 编辑框2 编辑框3 单选框1 按钮1 超级按钮1 透明标签4 透明标签17";
  EXPECT_EQ(Walk(main, 8), order);
  EXPECT_EQ(Walk(main, 8), order);  // and round again
  EXPECT_TRUE(main.FocusCue());     // the keyboard was used: the cue shows
  ui::Window fresh(ui::MainWindowForm());
  EXPECT_EQ(Walk(fresh, 8, true), "透明标签17 透明标签4 超级按钮1 按钮1 单选框1 编辑框3 编辑框2 编辑框1");
  ui::Window& exit = program.desktop.Load(ui::ExitConfirmWindowForm(), nullptr);
  EXPECT_EQ(Walk(exit, 3), "按钮1 按钮2 按钮1");
}

TEST_F(KeyboardTest, TabSkipsHiddenAndDisabledControlsAndEntersAGroupAtItsCheckedOption) {
  main.SetDisabled(编辑框2, true);
  main.SetVisible(超级按钮1, false);
  main.SetChecked(单选框3, true);
  FocusOn(编辑框1);
  EXPECT_EQ(Walk(main, 4), "编辑框3 单选框3 按钮1 透明标签4");
  // Hidden with the focus on it (the disk-check button once done): Tab goes on from there.
  main.SetVisible(超级按钮1, true);
  FocusOn(超级按钮1);
  main.SetVisible(超级按钮1, false);
  EXPECT_EQ(Walk(main, 1, true), "按钮1");
}

TEST_F(KeyboardTest, SpaceAndEnterRunTheClickHandler) {
  main.SetChecked(单选框2, true);
  FocusOn(按钮1);
  Press(main, Key::kSpace);
  EXPECT_EQ(main.Get(按钮1).caption, "取消任务");  // scheduled, as a click does
  Press(main, Key::kEnter);
  EXPECT_EQ(main.Get(分组框3).caption, "任务取消成功");
  // A label bound to a press: the update link opens VersionWindow.
  FocusOn(透明标签4);
  Press(main, Key::kEnter);
  EXPECT_NE(program.desktop.Find(ui::WindowName{"VersionWindow"}), nullptr);
  // Space in a time field is typing, not ours: nor does its caret move to a selection.
  FocusOn(编辑框1);
  const ui::KeyOutcome typed = Press(main, Key::kSpace);
  EXPECT_FALSE(typed.handled);
  EXPECT_FALSE(typed.focusMoved);
}

TEST_F(KeyboardTest, ArrowsMoveAndCheckInTheOptionGroupThroughTheSelectionRule) {
  FocusOn(单选框1);
  Press(main, Key::kRight);
  Press(main, Key::kDown);
  EXPECT_EQ(FocusedName(main), "单选框3");
  EXPECT_TRUE(main.Get(单选框3).checked);
  EXPECT_EQ(main.Get(单选框3).textColor, ui::kGreen);  // the selection rule ran
  EXPECT_FALSE(main.Get(单选框2).checked);
  for (int i = 0; i < 3; ++i) Press(main, Key::kLeft);  // round the start to the last
  EXPECT_EQ(FocusedName(main), "单选框4");
  // 单选框1 lies in another container: only the rule unchecks it.
  EXPECT_TRUE(main.Get(单选框4).checked);
  EXPECT_FALSE(main.Get(单选框1).checked);
}

// Up and Down step a time field as its spin arrows do: same bounds, no leading zeros.
TEST_F(KeyboardTest, UpAndDownStepATimeFieldThroughItsSpinRule) {
  struct Case {
    ui::ControlName field;
    const char* start;
    Key key;
    int presses;
    const char* after;
  } cases[] = {
      {编辑框1, "22", Key::kUp, 3, "23"},
      {编辑框1, "1", Key::kDown, 3, "0"},
      {编辑框2, "58", Key::kUp, 2, "59"},
      {编辑框3, "00", Key::kUp, 1, "1"},
      {编辑框2, "75", Key::kUp, 1, "75"},
      {编辑框2, "75", Key::kDown, 1, "74"},
  };
  for (const Case& c : cases) {
    main.SetCaption(c.field, c.start);
    FocusOn(c.field);
    for (int i = 0; i < c.presses; ++i) EXPECT_TRUE(Press(main, c.key).handled);
    EXPECT_EQ(main.Get(c.field).caption, c.after) << c.field.text << " from " << c.start;
  }
  // Left and Right stay the field's own caret keys.
  EXPECT_FALSE(Press(main, Key::kLeft).handled);
}

TEST_F(KeyboardTest, AltF4HidesMainWindowAsItsXAndDoesNothingOnTheExitConfirmation) {
  Press(main, Key::kF4, false, true);
  EXPECT_FALSE(main.IsVisible());
  EXPECT_FALSE(main.IsClosed());
  ui::Window& exit = program.desktop.Load(ui::ExitConfirmWindowForm(), nullptr);
  EXPECT_TRUE(Press(exit, Key::kF4, false, true).handled);  // taken from the platform too
  EXPECT_TRUE(exit.IsVisible());
  EXPECT_FALSE(exit.IsClosed());
}

TEST_F(KeyboardTest, MenuKeyPopsUpTheTrayMenuAndItsExitItemOpensTheConfirmation) {
  backend.menuChoice = 4;  // 退出本软件
  Press(main, Key::kF10, true);
  ASSERT_NE(program.desktop.Find(ec::ExitConfirmWindow), nullptr);
  ui::Window& exit = *program.desktop.Find(ec::ExitConfirmWindow);
  // Leave it by the keyboard: the second stop is 取消返回.
  Press(exit, Key::kTab);
  Press(exit, Key::kTab);
  Press(exit, Key::kSpace);
  EXPECT_TRUE(exit.IsClosed());
  EXPECT_FALSE(main.IsClosed());
}

TEST_F(KeyboardTest, TheFocusRectangleShowsOnlyWithTheCueAndOnlyOnDrawnControls) {
  FocusOn(按钮1);
  EXPECT_TRUE(ui::FocusRect(main).IsEmpty());  // the mouse was used so far
  main.SetFocusCue(true);
  ui::Rect button = main.VisibleRect(main.Find(按钮1));
  EXPECT_EQ(ui::FocusRect(main), (ui::Rect{button.left + 3, button.top + 3, button.width - 6, button.height - 6}));
  FocusOn(编辑框1);
  EXPECT_TRUE(ui::FocusRect(main).IsEmpty());  // the edit shows its own caret
  // A click on a stop takes the focus there too, the cue staying hidden.
  main.SetFocusCue(false);
  ui::Rect r = main.VisibleRect(main.Find(单选框3));
  ui::MouseDown(main, {r.left + 5, r.top + 5});
  ui::MouseUp(main, {r.left + 5, r.top + 5});
  EXPECT_EQ(FocusedName(main), "单选框3");
  EXPECT_FALSE(main.FocusCue());
}

}  // namespace

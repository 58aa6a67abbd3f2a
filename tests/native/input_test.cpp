// Pointer input: presses, clicks, spin arrows, radio grouping, the cursor, and
// a control's press against a window drag.
#include <gtest/gtest.h>

#include "ui/behaviour/input.h"
#include "ui/main_window/main_window_form.h"
#include "ui/main_window/main_window_names.h"
#include "ui/secondary_windows/secondary_forms.h"

namespace {

using namespace ui::main_window;

using ui::EventKind;
using ui::Point;
using ui::Window;

Point Centre(const Window& w, const char* name) {
  ui::Rect r = w.VisibleRect(w.Find(name));
  return {r.left + r.width / 2, r.top + r.height / 2};
}

TEST(Input, ClickNeedsPressAndReleaseOverTheSameControl) {
  Window w(ui::MainWindowForm());
  Point button = Centre(w, "按钮1");
  auto down = ui::MouseDown(w, button);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].kind, EventKind::kPress);
  auto up = ui::MouseUp(w, button);
  ASSERT_EQ(up.size(), 1u);
  EXPECT_EQ(up[0].kind, EventKind::kClick);
  EXPECT_EQ(w.At(up[0].control).name, "按钮1");
  // Released elsewhere: no click, and the pressed look is gone.
  ui::MouseDown(w, button);
  EXPECT_TRUE(ui::MouseUp(w, {5, 300}).empty());
  EXPECT_EQ(w.Pressed(), ui::kNoControl);
}

TEST(Input, SpinArrowsByHalf) {
  Window w(ui::MainWindowForm());
  ui::Rect r = w.AbsoluteRect(w.Find("调节器1"));
  struct Case {
    int y;
    int arrow;
  } cases[] = {{r.top, 1}, {r.top + r.height / 2 - 1, 1}, {r.top + r.height / 2, -1}, {r.Bottom() - 1, -1}};
  for (const Case& c : cases) {
    auto events = ui::MouseDown(w, {r.left + 5, c.y});
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].kind, EventKind::kArrow);
    EXPECT_EQ(events[1].arg, c.arrow) << "y=" << c.y;
    ui::MouseUp(w, {r.left + 5, c.y});
  }
}

TEST(Input, RadioGroupingFollowsTheParentOnly) {
  Window w(ui::MainWindowForm());
  auto click = [&](const char* name) {
    ui::MouseDown(w, Centre(w, name));
    return ui::MouseUp(w, Centre(w, name));
  };
  click("单选框2");
  click("单选框1");
  // 单选框1 sits on the window, the others on the tab page: the platform's
  // grouping leaves 单选框2 checked; the selection rule is the handler's job.
  EXPECT_TRUE(w.Get(单选框1).checked);
  EXPECT_TRUE(w.Get(单选框2).checked);
  click("单选框4");
  EXPECT_FALSE(w.Get(单选框2).checked);
  EXPECT_TRUE(w.Get(单选框4).checked);
  EXPECT_TRUE(w.Get(单选框1).checked);
}

TEST(Input, DisabledAndHiddenControlsGetNoInput) {
  Window w(ui::MainWindowForm());
  w.SetDisabled(按钮1, true);
  Point button = Centre(w, "按钮1");
  EXPECT_TRUE(ui::MouseDown(w, button).empty());
  EXPECT_TRUE(ui::MouseUp(w, button).empty());
  EXPECT_TRUE(ui::TakesPress(w, button));  // swallowed, not a drag
  // The hidden 超级按钮2 lies under 超级按钮1: only the shown one answers.
  auto events = ui::MouseDown(w, Centre(w, "超级按钮1"));
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(w.At(events[0].control).name, "超级按钮1");
}

// A press on a passive area drags the window; the hand shows where the forms say.
TEST(Input, PassiveAreasDragTheWindowAndShowNoHand) {
  Window main(ui::MainWindowForm());
  struct Case {
    Point p;
    bool takes;
    ui::Cursor cursor;
  } cases[] = {
      {{300, 60}, false, ui::Cursor::kDefault},                   // header picture
      {Centre(main, "透明标签6"), false, ui::Cursor::kDefault},  // title text: no binding
      {Centre(main, "透明标签1"), true, ui::Cursor::kHand},      // "X"
      {Centre(main, "透明标签4"), true, ui::Cursor::kHand},      // "检查更新"
      {Centre(main, "透明标签17"), true, ui::Cursor::kHand},
      {Centre(main, "按钮1"), true, ui::Cursor::kHand},
      {Centre(main, "编辑框1"), true, ui::Cursor::kDefault},     // typing
      {Centre(main, "调节器2"), true, ui::Cursor::kHand},
      {Centre(main, "透明标签8"), false, ui::Cursor::kDefault},  // description text
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ui::TakesPress(main, c.p), c.takes) << c.p.x << "," << c.p.y;
    EXPECT_EQ(ui::CursorAt(main, c.p), c.cursor) << c.p.x << "," << c.p.y;
  }
  Window notice(ui::TaskDoneWindowForm());
  // Its title label is bound to a press with no effect: consumed, no drag.
  EXPECT_TRUE(ui::TakesPress(notice, Centre(notice, "透明标签6")));
}

TEST(Input, HoverFollowsThePointer) {
  Window w(ui::MainWindowForm());
  ui::MouseMove(w, Centre(w, "超级按钮1"));
  EXPECT_EQ(w.At(w.Hovered()).name, "超级按钮1");
  ui::MouseLeave(w);
  EXPECT_EQ(w.Hovered(), ui::kNoControl);
}

}  // namespace

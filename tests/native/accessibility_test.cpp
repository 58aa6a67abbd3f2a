// The accessible description of the windows: controls, order, roles, names,
// states, and default actions that reach the click handlers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/native/fakes.h"
#include "ui/behaviour/accessibility.h"
#include "ui/main_window/main_window_form.h"
#include "ui/main_window/main_window_names.h"
#include "ui/secondary_windows/exit_confirm_names.h"

namespace {

using namespace ui::main_window;
using ui::AccessibleId;
using ui::Role;

struct Line {
  Role role;
  std::string name;
  unsigned states;
  friend bool operator==(const Line&, const Line&) = default;
};

std::ostream& operator<<(std::ostream& os, const Line& l) {
  return os << static_cast<int>(l.role) << " " << l.name << " " << l.states;
}

std::vector<Line> Tree(const ui::Window& w) {
  std::vector<Line> out;
  for (ui::ControlId id : ui::AccessibleControls(w)) {
    auto info = ui::Describe(w, {id, 0});
    out.push_back({info->role, info->name, info->states});
  }
  return out;
}

constexpr unsigned kFocusable = ui::kStateFocusable;

TEST(Accessibility, MainWindowPresentsItsVisibleControlsInReadingOrder) {
  ui::Window w(ui::MainWindowForm());
  std::vector<Line> expected = {
      {Role::kStaticText, "QuondaHalvix2.1", 0},
      {Role::kStaticText, "时刻保护您的计算机安全", 0},
      {Role::kStaticText, "这是一款全新的软件，他可以按照用户设定的时间进行全自动关机等功能", 0},
      {Role::kGrouping, "QuondaHalvix定时系统", 0},
      {Role::kStaticText, "几时：", 0},
      {Role::kText, "几时", kFocusable},
      {Role::kSpinButton, "几时", 0},
      {Role::kStaticText, "几分：", 0},
      {Role::kText, "几分", kFocusable},
      {Role::kSpinButton, "几分", 0},
      {Role::kStaticText, "几秒：", 0},
      {Role::kText, "几秒", kFocusable},
      {Role::kSpinButton, "几秒", 0},
      {Role::kRadioButton, "关闭电脑", kFocusable},
      {Role::kRadioButton, "重启电脑", kFocusable},
      {Role::kRadioButton, "注销电脑", kFocusable},
      {Role::kRadioButton, "休眠模式", kFocusable},
      {Role::kPushButton, "QuondaHalvix执行命令", kFocusable},
      {Role::kStaticText, "硬盘检测", 0},
      {Role::kProgressBar, "硬盘检测进度", 0},
      {Role::kPushButton, "开始检测", kFocusable},
      // The hidden report box, its icon and warning, and 超级按钮2 are left out.
      {Role::kPushButton, "检查更新", 0},  // 图形按钮6: no caption, the form's name
      {Role::kLink, "检查更新", kFocusable | ui::kStateLinked},
      {Role::kPushButton, "-", 0},
      {Role::kPushButton, "X", 0},
      {Role::kGraphic, "任务动画", 0},
      {Role::kLink, "QuondaHalvix官网", kFocusable | ui::kStateLinked},
      {Role::kGraphic, "连接状态", 0},
      {Role::kStaticText, "已成功连接到Quonda云服务器中心...", 0},
      {Role::kStaticText, "", 0},  // the clock, empty until start-up fills it
  };
  EXPECT_EQ(Tree(w), expected);

  // The spin's arrows are its parts, placed on its halves.
  ui::ControlId spin = w.Find(调节器1);
  auto up = ui::Describe(w, {spin, 1});
  auto down = ui::Describe(w, {spin, -1});
  EXPECT_EQ(up->name, "增加");
  EXPECT_EQ(down->name, "减少");
  EXPECT_EQ(up->rect.Union(down->rect), w.VisibleRect(spin));
  EXPECT_EQ(ui::ElementAt(w, {down->rect.left + 2, down->rect.top + 2}), (AccessibleId{spin, -1}));
  // The bare page under the controls is presented by nothing.
  EXPECT_EQ(w.At(w.HitTest({620, 360})).name, "选择夹1");
  EXPECT_EQ(ui::ElementAt(w, {620, 360}), AccessibleId{});
}

TEST(Accessibility, StatesFollowTheModel) {
  ui::Window w(ui::MainWindowForm());
  ui::ControlId report = w.Find(编辑框8);
  // Hidden: still described, as invisible, for a listener that asks late.
  EXPECT_EQ(ui::Describe(w, {report, 0})->states,
            ui::kStateInvisible | ui::kStateUnavailable | ui::kStateReadOnly);
  w.SetVisible(report, true);
  w.SetCaption(report, "硬盘当前温度:35摄氏度");
  auto shown = ui::Describe(w, {report, 0});
  EXPECT_EQ(shown->value, "硬盘当前温度:35摄氏度");
  EXPECT_FALSE(shown->states & ui::kStateInvisible);

  ui::ControlId option = w.Find(单选框3);
  w.SetChecked(option, true);
  w.SetFocused(option);
  EXPECT_EQ(ui::Describe(w, {option, 0})->states,
            kFocusable | ui::kStateFocused | ui::kStateChecked);
  // Not presented: timers and backgrounds.
  EXPECT_FALSE(ui::Describe(w, {w.Find(时钟1), 0}));
  EXPECT_FALSE(ui::Describe(w, {w.Find(图片框3), 0}));
}

struct DefaultActionTest : ::testing::Test, fakes::TestProgram {
  ui::Window& main = Main();
  void Do(ui::ControlName name, int part = 0) {
    program.desktop.Deliver(ui::DefaultAction(main, {main.Find(name), part}));
  }
};

TEST_F(DefaultActionTest, RunsTheHandlersAClickRuns) {
  Do(单选框3);
  EXPECT_TRUE(main.Get(单选框3).checked);
  EXPECT_EQ(main.Get(单选框3).textColor, ui::kGreen);
  Do(按钮1);
  EXPECT_EQ(main.Get(按钮1).caption, "取消任务");
  Do(调节器2, 1);
  EXPECT_EQ(main.Get(编辑框2).caption, "31");
  Do(调节器2, -1);
  Do(调节器2, -1);
  EXPECT_EQ(main.Get(编辑框2).caption, "29");
  // Unavailable: the disk-check button once it started the check.
  Do(超级按钮1);
  EXPECT_TRUE(ui::DefaultAction(main, {main.Find(超级按钮1), 0}).empty());
}

}  // namespace

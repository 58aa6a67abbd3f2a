// The four forms as data: every name unique, every parent and wiring source
// real, and the texts, states and places that other code relies on.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ui/main_window/main_window_form.h"
#include "ui/secondary_windows/secondary_forms.h"
#include "ui/window.h"
#include "ui/main_window/main_window_names.h"
#include "ui/secondary_windows/exit_confirm_names.h"
#include "ui/secondary_windows/task_done_names.h"
#include "ui/secondary_windows/version_names.h"

namespace {

using namespace ui::main_window;
namespace ec = ui::exit_confirm;
namespace td = ui::task_done;
namespace ver = ui::version;

const ui::FormSpec* const kForms[] = {&ui::MainWindowForm(), &ui::ExitConfirmWindowForm(),
                                      &ui::TaskDoneWindowForm(), &ui::VersionWindowForm()};

TEST(Forms, NamesParentsAndWiringAreConsistent) {
  for (const ui::FormSpec* form : kForms) {
    SCOPED_TRACE(std::string(form->name));
    std::set<std::string_view> names;
    for (const auto& c : form->controls) {
      EXPECT_TRUE(names.insert(c.name).second) << "duplicate " << c.name;
    }
    for (const auto& c : form->controls) {
      if (!c.parent.empty()) {
        EXPECT_TRUE(names.count(c.parent)) << c.name << " in " << c.parent;
      }
    }
    std::set<std::string_view> items(form->menuItems.begin(), form->menuItems.end());
    for (const auto& w : form->wiring) {
      if (w.event == ui::EventKind::kItemChosen) {
        EXPECT_TRUE(items.count(w.source)) << w.source;
      } else if (!w.source.empty()) {
        EXPECT_TRUE(names.count(w.source)) << w.source;
      }
    }
  }
}

TEST(Forms, WindowsHaveTheirSizesAndColours) {
  struct Row {
    const ui::FormSpec* form;
    ui::Size size;
    ui::Color background;
  } rows[] = {
      {kForms[0], {867, 524}, ui::kWhite},
      {kForms[1], {536, 278}, ui::Rgb(192, 192, 192)},
      {kForms[2], {384, 205}, ui::kWhite},
      {kForms[3], {378, 232}, ui::kGrey},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(r.form->clientSize, r.size) << r.form->name;
    EXPECT_EQ(r.form->background, r.background) << r.form->name;
    EXPECT_NE(r.form->className, "#32768");  // the system's menu class is not ours to take
  }
  EXPECT_EQ(kForms[0]->caption, "QuondaHalvix");
  EXPECT_TRUE(kForms[0]->taskbarButton);
  EXPECT_FALSE(kForms[1]->taskbarButton || kForms[2]->taskbarButton || kForms[3]->taskbarButton);
}

TEST(Forms, TrayMenuHasItsFiveItemsInOrder) {
  const ui::FormSpec& main = ui::MainWindowForm();
  EXPECT_EQ(main.menuCaption, "菜单");
  std::vector<std::string_view> items(main.menuItems.begin(), main.menuItems.end());
  EXPECT_EQ(items, (std::vector<std::string_view>{"官方网站", "显示主界面", "关于本软件",
                                                  "用户意见反馈", "退出本软件"}));
}

TEST(Forms, MainWindowStartsIdle) {
  ui::Window w(ui::MainWindowForm());
  EXPECT_EQ(w.Get(编辑框1).caption, "18");
  EXPECT_EQ(w.Get(编辑框2).caption, "30");
  EXPECT_EQ(w.Get(编辑框3).caption, "00");
  EXPECT_EQ(w.Get(按钮1).caption, "QuondaHalvix执行命令");
  for (ui::ControlName radio : {单选框1, 单选框2, 单选框3, 单选框4}) {
    EXPECT_FALSE(w.Get(radio).checked) << radio.text;
  }
  struct Timer {
    ui::ControlName name;
    int interval;
  } timers[] = {{时钟1, 1000}, {时钟2, 1000}, {任务时钟, 0}, {时钟3, 0}, {时钟4, 0}};
  for (const Timer& t : timers) EXPECT_EQ(w.Get(t.name).interval, t.interval) << t.name.text;
  EXPECT_FALSE(w.Get(图片框5).animating);
  EXPECT_TRUE(w.Get(图片框6).animating);
  // Exactly one of the two disk-check buttons shows.
  EXPECT_NE(w.Get(超级按钮1).visible, w.Get(超级按钮2).visible);
  EXPECT_TRUE(w.Get(编辑框8).disabled && !w.Get(编辑框8).visible);
  // 单选框1 is not a sibling of the other three options.
  EXPECT_NE(w.At(w.Find("单选框1")).parent, w.At(w.Find("单选框2")).parent);
}

TEST(Forms, TheFourOptionsStandInOneRow) {
  ui::Window w(ui::MainWindowForm());
  auto centreY = [&](const char* n) {
    ui::Rect r = w.AbsoluteRect(w.Find(n));
    return r.top * 2 + r.height;  // twice the centre, to stay in integers
  };
  for (const char* n : {"单选框2", "单选框3", "单选框4"}) {
    EXPECT_LE(std::abs(centreY("单选框1") - centreY(n)), 2) << n;
  }
}

TEST(Forms, SecondaryWindowsStartAsLaidOut) {
  ui::Window notice(ui::TaskDoneWindowForm());
  EXPECT_EQ(notice.Get(透明标签3).caption, "等待...");
  EXPECT_EQ(notice.Get(时钟1).interval, 15000);
  EXPECT_TRUE(ui::TaskDoneWindowForm().topmost);
  ui::Window version(ui::VersionWindowForm());
  const ui::Control& view = version.Get(ver::超文本浏览框1);
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(view.disabled);
  EXPECT_FALSE(version.Get(图片框4).animating);
  ui::Window exit(ui::ExitConfirmWindowForm());
  EXPECT_EQ(exit.Get(按钮1).caption, "确认退出");
  EXPECT_EQ(exit.Get(ec::按钮2).caption, "取消返回");
}

}  // namespace

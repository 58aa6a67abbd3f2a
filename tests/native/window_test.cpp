// The control tree: geometry, clipping, hit-testing, the run-time setters and
// the DPI conversion.
#include <gtest/gtest.h>

#include <string>

#include "tests/native/fakes.h"
#include "ui/main_window/main_window_form.h"
#include "ui/main_window/main_window_names.h"
#include "ui/model/scale.h"
#include "ui/model/window.h"
#include "ui/secondary_windows/secondary_forms.h"
#include "ui/secondary_windows/version_names.h"

namespace {

using namespace ui::main_window;
namespace ver = ui::version;

using ui::Rect;
using ui::Window;

// Where each control lies and what shows, cut by its parents and the 867x524 client.
TEST(WindowGeometry, ControlsLieWhereTheirParentsPutThemAndShowWithinThem) {
  Window w(ui::MainWindowForm());
  struct Row {
    const char* name;
    Rect absolute, visible;
  } rows[] = {
      {"编辑框1", {149, 405, 28, 16}, {149, 405, 28, 16}},      // group box inside the tab page
      {"编辑框2", {314, 405, 30, 16}, {314, 405, 30, 16}},      // tab page: the hour field's row
      {"单选框2", {264, 436, 74, 24}, {264, 436, 74, 24}},      // page origin is the tab's own
      {"透明标签1", {848, 0, 32, 24}, {848, 0, 19, 24}},        // in the right header piece
      {"标签1", {648, 504, 231, 16}, {648, 504, 219, 16}},      // status bar
      {"图片框5", {672, 328, 200, 176}, {672, 328, 195, 176}},  // right-hand column
      {"透明标签3", {224, 8, 120, 24}, {}},                     // past the 168-wide left piece
      {"选择夹1", {0, 136, 872, 368}, {0, 136, 867, 368}},
      {"图片框3", {0, 496, 872, 32}, {0, 496, 867, 28}},
      {"图片框2", {-16, 0, 168, 152}, {0, 0, 152, 152}},        // a negative left edge
      {"透明标签10", {200, 360, 280, 24}, {}},                  // hidden
  };
  for (const Row& r : rows) {
    const Rect visible = w.VisibleRect(w.Find(r.name));
    EXPECT_EQ(w.AbsoluteRect(w.Find(r.name)), r.absolute) << r.name;
    EXPECT_EQ(visible.IsEmpty() ? Rect{} : visible, r.visible) << r.name;
  }
}

TEST(WindowGeometry, VersionPageShowsOnlyThroughItsSlot) {
  Window w(ui::VersionWindowForm());
  ui::ControlName masks[] = {ver::图片框6, ver::图片框7, ver::图片框8, ver::图片框9};
  w.SetVisible(ver::超文本浏览框1, true);
  for (ui::ControlName m : masks) w.SetVisible(m, true);
  Rect view = w.VisibleRect(w.Find("超文本浏览框1"));
  EXPECT_EQ(view, (Rect{104, 120, 176, 64}));
  // Points of the view not under any mask are exactly the 144x24 slot.
  int uncovered = 0;
  Rect bounds;
  for (int y = view.top; y < view.Bottom(); ++y) {
    for (int x = view.left; x < view.Right(); ++x) {
      bool covered = false;
      for (ui::ControlName m : masks) covered = covered || w.VisibleRect(w.Find(m)).Contains({x, y});
      if (!covered) {
        ++uncovered;
        bounds = bounds.Union({x, y, 1, 1});
      }
    }
  }
  EXPECT_EQ(uncovered, 144 * 24);
  EXPECT_EQ(bounds, (Rect{112, 136, 144, 24}));
}

TEST(WindowHitTest, FrontmostShownControlWins) {
  Window w(ui::MainWindowForm());
  // 超级按钮1 and 超级按钮2 share a rectangle; only the shown one is hit.
  ui::Point check{520, 260};
  EXPECT_EQ(w.At(w.HitTest(check)).name, "超级按钮1");
  w.SetVisible(超级按钮1, false);
  w.SetVisible(超级按钮2, true);
  EXPECT_EQ(w.At(w.HitTest(check)).name, "超级按钮2");
  // 图形按钮4 lies in front of the report box over its left 48 pixels.
  w.SetVisible(编辑框8, true);
  w.SetVisible(图形按钮4, true);
  EXPECT_EQ(w.At(w.HitTest({183, 340})).name, "图形按钮4");
  EXPECT_EQ(w.At(w.HitTest({184, 340})).name, "编辑框8");
  // The emblem over the header is in front of the header pieces.
  EXPECT_EQ(w.At(w.HitTest({460, 80})).name, "图形按钮5");
  // Outside the client area nothing is hit, even where a child overflows.
  EXPECT_EQ(w.HitTest({870, 10}), ui::kNoControl);
}

struct WindowProperties : ::testing::Test {
  fakes::FakeBackend backend;
  Window w{ui::MainWindowForm()};
  WindowProperties() { w.SetObserver(&backend); }
};

TEST_F(WindowProperties, SettersRepaintOnlyWhatChanged) {
  ui::ControlId button = w.Find("按钮1");
  w.SetCaption(button, "QuondaHalvix执行命令");  // unchanged: nothing to do
  EXPECT_TRUE(backend.invalidated.empty());
  w.SetCaption(button, "取消任务");
  EXPECT_EQ(backend.invalidated, std::vector<Rect>{w.VisibleRect(button)});
  w.SetCaption(透明标签3, "x");  // a control that cannot show asks for no repaint
  EXPECT_EQ(backend.invalidated.size(), 1u);
  // Moved, it leaves its old place and takes its new one; to where it is, nothing.
  const Rect was = w.VisibleRect(button);
  w.SetBounds(按钮1, {10, 20, 30, 40});
  w.SetBounds(按钮1, {10, 20, 30, 40});
  EXPECT_EQ(backend.invalidated, (std::vector<Rect>{was, was, w.VisibleRect(button)}));
  // Under the pointer or held down, only faces that show it are drawn again:
  // a spin's arrows do, a label does not.
  backend.invalidated.clear();
  w.SetHovered(w.Find("透明标签8"), 0);
  w.SetPressed(w.Find("透明标签8"), 0);
  EXPECT_TRUE(backend.invalidated.empty());
  w.SetHovered(w.Find("调节器1"), 1);
  w.SetPressed(w.Find("调节器1"), 2);
  EXPECT_EQ(backend.invalidated, std::vector<Rect>(2, w.VisibleRect(w.Find("调节器1"))));
}

TEST_F(WindowProperties, TimersAndValuesStayInRange) {
  w.SetInterval(时钟4, -5);  // already 0: no change reported
  EXPECT_EQ(w.Get(时钟4).interval, 0);
  w.SetInterval(按钮1, 10);  // not a timer
  EXPECT_TRUE(backend.Calls("changed").empty());
  w.SetInterval(时钟4, 10);
  ASSERT_EQ(backend.Calls("changed").size(), 1u);
  EXPECT_EQ(backend.Calls("changed")[0].window, "MainWindow.时钟4");
  w.SetPosition(进度条1, 250);
  EXPECT_EQ(w.Get(进度条1).position, 100);
  w.SetPosition(进度条1, -3);
  EXPECT_EQ(w.Get(进度条1).position, 0);
  // Unknown ids are ignored rather than crashing.
  w.SetCaption(ui::ControlId{9999}, "x");
  w.SetVisible(ui::ControlId{9999}, true);
  EXPECT_EQ(w.Find("没有这个控件"), ui::kNoControl);
  // A name the window lacks is a programming error: test builds stop on it.
  EXPECT_DEATH(w.SetCaption(ui::ControlName{"没有这个控件"}, "x"), "unknown name");
  EXPECT_DEATH((void)w.Get(ver::超文本浏览框1), "unknown name");
}

TEST_F(WindowProperties, HidingAParentHidesWhatLiesInIt) {
  w.SetVisible(分组框3, false);
  auto changed = backend.Calls("changed");
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].window, "MainWindow.分组框3");
  EXPECT_EQ(changed[0].arg, static_cast<int>(ui::Change::kVisibility));
  EXPECT_FALSE(w.IsShown(w.Find("编辑框1")));
  w.SetVisible(分组框3, true);
  EXPECT_TRUE(w.IsShown(w.Find("编辑框1")));
}

TEST_F(WindowProperties, OverLongAndEmptyCaptionsAreKept) {
  w.SetCaption(按钮1, std::string(100000, 'x'));
  EXPECT_EQ(w.Get(按钮1).caption.size(), 100000u);
  w.SetCaption(按钮1, "");
  EXPECT_EQ(w.Get(按钮1).caption, "");
}

TEST(WindowCovering, NativePartsAreCutByWhatLiesInFront) {
  Window w(ui::MainWindowForm());
  ui::ControlId report = w.Find("编辑框8");
  w.SetVisible(report, true);
  EXPECT_TRUE(w.CoveringRects(report).empty());
  w.SetVisible(图形按钮4, true);
  auto cover = w.CoveringRects(report);
  ASSERT_EQ(cover.size(), 1u);
  EXPECT_EQ(cover[0], (Rect{136, 328, 48, 32}));  // the left 48 pixels, full height
  // Nothing lies over the time fields.
  for (const char* edit : {"编辑框1", "编辑框2", "编辑框3"}) {
    EXPECT_TRUE(w.CoveringRects(w.Find(edit)).empty()) << edit;
  }
}

// A malformed form (parents naming each other) must not hang or crash.
const ui::ControlSpec kCycle[] = {
    {.name = "a", .kind = ui::Kind::kPictureBox, .parent = "b", .rect = {0, 0, 10, 10}},
    {.name = "b", .kind = ui::Kind::kPictureBox, .parent = "a", .rect = {0, 0, 10, 10}},
    {.name = "c", .kind = ui::Kind::kLabel, .parent = "c", .rect = {0, 0, 10, 10}, .caption = "x"},
};
const ui::FormSpec kCycleForm{.name = "Cycle", .clientSize = {20, 20}, .controls = kCycle};

TEST(WindowCovering, CyclicParentsAreHarmless) {
  Window w(kCycleForm);
  EXPECT_EQ(w.At(w.HitTest({5, 5})).name, "c");  // a self-parent hangs on the window
  w.SetVisible(w.Find("a"), false);
  EXPECT_FALSE(w.IsShown(w.Find("a")));
  EXPECT_TRUE(w.CoveringRects(w.Find("a")).empty());
}

// The one conversion to a monitor's DPI: at 125 % and 175 % edges round so
// neighbours meet, a click lands where drawn, and a place survives the trip.
TEST(WindowScale, EdgesRoundSoNeighboursMeetAndClicksLandWhereDrawn) {
  for (int dpi : {96, 120, 144, 168, 192}) {
    const ui::Scale s(dpi);
    for (int x = -300; x <= 300; ++x) {
      const ui::Rect left{x - 3, 0, 3, 1}, right{x, 0, 5, 1};
      EXPECT_EQ(s.ToDevice(left).Right(), s.ToDevice(right).left) << dpi << " " << x;
      EXPECT_GE(s.ToDevice(right).width, 5) << dpi << " " << x;
      EXPECT_EQ(s.ToModel(s.ToDevice(x)), x) << dpi << " " << x;
      const int d = s.ToDevice(x);
      for (int in = d; in < s.ToDevice(x + 1); ++in) EXPECT_EQ(s.PixelAt(in), x) << dpi;
    }
    const ui::Rect dirty{7, -5, 3, 11};
    const ui::Rect covered = s.ToDevice(s.Covering(dirty));
    EXPECT_EQ(covered.Intersect(dirty), dirty) << dpi;
  }
  EXPECT_EQ(ui::Scale(120).ToDevice(ui::Rect{1, 2, 3, 4}), (ui::Rect{1, 3, 4, 5}));
  EXPECT_EQ(ui::Scale(144).ToDevice(ui::Size{867, 524}), (ui::Size{1301, 786}));
  EXPECT_EQ(ui::Scale(0).Dpi(), 96);
  EXPECT_EQ(ui::Scale(168).Percent(), 175);
}

}  // namespace

// The native parts on their own, in a plain parent window.
#include "ui/win32/native_parts_win.h"

#include <gtest/gtest.h>

#include <string>

#include <ole2.h>

#include "tests/win/win_test.h"
#include "ui/model/form.h"
#include "ui/win_base/scoped_win.h"

namespace {

using ui::Kind;

const ui::ControlSpec kControls[] = {
    // In front of the middle of the edit box.
    {.name = "标签1", .kind = Kind::kLabel, .rect = {70, 20, 20, 30}},
    {.name = "分组框1", .kind = Kind::kGroupBox, .rect = {10, 10, 100, 60}},
    // Runs past the right edge of its group box.
    {.name = "编辑框1", .kind = Kind::kEditBox, .parent = "分组框1", .rect = {40, 10, 100, 20},
     .caption = "18"},
};

const ui::FormSpec kForm{
    .name = "PartsWindow",
    .className = "QuondaHalvixPartsTest",
    .clientSize = {200, 100},
    .controls = kControls,
};

// The parent stays hidden (showing one under Xvfb costs seconds): the part's own WS_VISIBLE counts.
bool Shown(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

// A form's native parts in a parent of a system class (no registration of the test's own).
struct PartsIn {
  explicit PartsIn(const ui::FormSpec& form) : model{form} {
    parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 200, 100, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    parts.Create(parent, GetModuleHandleW(nullptr), fonts, {});
    edit = FindWindowExW(parent, nullptr, L"Edit", nullptr);
  }
  ~PartsIn() {
    parts.BeforeParentDestroyed();
    DestroyWindow(parent);
  }
  ui::Window model;
  ui::FontCache fonts;
  ui::NativeParts parts{model};
  HWND parent = nullptr, edit = nullptr;
};

struct NativePartsTest : ::testing::Test, PartsIn {
  NativePartsTest() : PartsIn(kForm) {}
  void SetUp() override { ASSERT_NE(edit, nullptr); }
};

TEST_F(NativePartsTest, EditIsPlacedAndCutToWhatShowsOfItsControl) {
  EXPECT_EQ(testing_win::RectIn(edit), (RECT{50, 20, 150, 40}));
  ui::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(edit, region.Get()), ERROR);
  // Points in the edit's own coordinates.
  const struct { int x, y; bool shows; const char* why; } cases[] = {
      {5, 5, true, "left of the label"},
      {25, 5, false, "under the label stacked in front"},
      {45, 15, true, "right of the label"},
      {65, 5, false, "past the group box's edge"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(PtInRegion(region.Get(), c.x, c.y) != FALSE, c.shows);
  }
}

TEST_F(NativePartsTest, FollowsTheControlsVisibilityAndEnabledState) {
  EXPECT_TRUE(Shown(edit));
  EXPECT_TRUE(IsWindowEnabled(edit));
  model.SetDisabled(ui::ControlName{"分组框1"}, true);  // disabled through its ancestor
  model.SetVisible(ui::ControlName{"标签1"}, false);
  parts.Layout();
  EXPECT_FALSE(IsWindowEnabled(edit));
  ui::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(edit, region.Get()), ERROR);
  EXPECT_TRUE(PtInRegion(region.Get(), 25, 5));  // the label no longer covers it
  model.SetVisible(ui::ControlName{"分组框1"}, false);
  parts.Layout();
  EXPECT_FALSE(Shown(edit));
}

TEST_F(NativePartsTest, WrittenTextShowsAndTypedTextIsStored) {
  EXPECT_EQ(testing_win::TextOf(edit), L"18");
  ui::ControlId id = model.Find("编辑框1");
  model.SetCaption(id, "23");
  parts.Sync(id);
  EXPECT_EQ(testing_win::TextOf(edit), L"23");
  WPARAM change = MAKEWPARAM(GetDlgCtrlID(edit), EN_CHANGE);
  SetWindowTextW(edit, L"7");
  EXPECT_TRUE(parts.OnCommand(change, reinterpret_cast<LPARAM>(edit)));
  EXPECT_EQ(model.At(id).caption, "7");
  EXPECT_FALSE(parts.OnCommand(MAKEWPARAM(1, EN_CHANGE), 0));  // not one of ours
}

// The disk report: its result icon covers the box's left end, an HTML view beside.
const ui::ControlSpec kReportControls[] = {
    {.name = "图形按钮4", .kind = Kind::kGraphicButton, .rect = {0, 0, 72, 72}},
    {.name = "编辑框8", .kind = Kind::kEditBox, .rect = {24, 24, 200, 32}},
    {.name = "超文本浏览框1", .kind = Kind::kHtmlView, .rect = {0, 80, 176, 20}, .disabled = true},
};
const ui::FormSpec kReportForm{
    .name = "ReportWindow",
    .className = "QuondaHalvixPartsTest",
    .clientSize = {240, 100},
    .controls = kReportControls,
};

TEST(NativeParts, EditStartsClearOfTheIconInFrontAndTheViewLoadsOnce) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));  // the HTML view is an OLE control
  {
    PartsIn report(kReportForm);
    auto& [model, fonts, parts, parent, edit] = report;
    ASSERT_NE(edit, nullptr);
    // The part starts where the icon in front stops: its text does not begin hidden.
    EXPECT_EQ(testing_win::RectIn(edit), (RECT{72, 24, 224, 56}));
    ui::ControlId view = model.Find("超文本浏览框1");
    EXPECT_EQ(parts.Navigations(view), 0);  // no address yet: nothing loaded
    model.SetCaption(view, "http://quondahalvix.invalid/page");
    parts.Sync(view);
    EXPECT_EQ(parts.Navigations(view), 1);
    // Shown, hidden, enabled, disabled: never loaded again (though nothing loads under Wine).
    for (int round = 0; round < 3; ++round) {
      model.SetVisible(view, true);
      parts.Layout();
      model.SetDisabled(view, false);
      parts.Sync(view);
      model.SetDisabled(view, true);
      parts.Sync(view);
      model.SetVisible(view, false);
      parts.Layout();
    }
    EXPECT_EQ(parts.Navigations(view), 1);
    // Hidden with the keyboard inside it, the view hands the focus back.
    model.SetVisible(view, true);
    model.SetDisabled(view, false);
    parts.Sync(view);
    parts.Layout();
    const HWND host = FindWindowExW(parent, nullptr, L"QuondaHalvixWebViewHost", nullptr);
    ASSERT_NE(host, nullptr);
    SetFocus(GetWindow(host, GW_CHILD) ? GetWindow(host, GW_CHILD) : host);
    ASSERT_TRUE(GetFocus() == host || IsChild(host, GetFocus()));
    model.SetVisible(view, false);
    parts.Layout();
    EXPECT_TRUE(GetFocus() != host && !IsChild(host, GetFocus()));
  }
  OleUninitialize();
}

}  // namespace

// The native parts on their own, in a plain parent window: an edit part is
// cut to what shows of its control (inside its ancestors, minus what the form
// stacks in front), follows the control's visibility and enabled state, shows
// a handler's text, and hands typing back to the model.
#include "ui/win32/native_parts_win.h"

#include <gtest/gtest.h>

#include <string>

#include <ole2.h>

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

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND MakeParent() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{sizeof(wc)};
  wc.lpfnWndProc = &ParentProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"QuondaHalvixPartsTestParent";
  RegisterClassExW(&wc);  // fails harmlessly when a test before registered it
  return CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                         200, 100, nullptr, nullptr, instance, nullptr);
}

// The parent stays hidden (showing a window under Xvfb costs seconds), so
// what counts is the part's own WS_VISIBLE.
bool Shown(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

std::wstring TextOf(HWND hwnd) {
  wchar_t text[64] = {};
  GetWindowTextW(hwnd, text, 64);
  return text;
}

struct NativePartsTest : ::testing::Test {
  void SetUp() override {
    parent = MakeParent();
    ASSERT_NE(parent, nullptr);
    parts.Create(parent, GetModuleHandleW(nullptr), fonts, {});
    edit = FindWindowExW(parent, nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
  }
  void TearDown() override {
    parts.BeforeParentDestroyed();
    DestroyWindow(parent);
  }
  ui::Window model{kForm};
  ui::FontCache fonts;
  ui::NativeParts parts{model};
  HWND parent = nullptr;
  HWND edit = nullptr;
};

TEST_F(NativePartsTest, EditIsPlacedAndCutToWhatShowsOfItsControl) {
  RECT rc;
  GetWindowRect(edit, &rc);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  EXPECT_EQ(rc.left, 50);
  EXPECT_EQ(rc.top, 20);
  EXPECT_EQ(rc.right - rc.left, 100);
  ui::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(edit, region.Get()), ERROR);
  // Points in the edit's own coordinates.
  struct Case {
    int x, y;
    bool shows;
    const char* why;
  } cases[] = {
      {5, 5, true, "left of the label"},
      {25, 5, false, "under the label stacked in front"},
      {45, 15, true, "right of the label"},
      {65, 5, false, "past the group box's edge"},
  };
  for (const Case& c : cases) {
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
  EXPECT_EQ(TextOf(edit), L"18");
  ui::ControlId id = model.Find("编辑框1");
  model.SetCaption(id, "23");
  parts.Sync(id);
  EXPECT_EQ(TextOf(edit), L"23");
  WPARAM change = MAKEWPARAM(GetDlgCtrlID(edit), EN_CHANGE);
  SetWindowTextW(edit, L"7");
  EXPECT_TRUE(parts.OnCommand(change, reinterpret_cast<LPARAM>(edit)));
  EXPECT_EQ(model.At(id).caption, "7");
  EXPECT_FALSE(parts.OnCommand(MAKEWPARAM(1, EN_CHANGE), 0));  // not one of ours
}

// The disk report as laid out: its result icon covers the left end of the box
// over its whole height, and an HTML view beside it.
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
  HWND parent = MakeParent();
  ASSERT_NE(parent, nullptr);
  ui::Window model{kReportForm};
  ui::FontCache fonts;
  ui::NativeParts parts{model};
  parts.Create(parent, GetModuleHandleW(nullptr), fonts, {});
  HWND edit = FindWindowExW(parent, nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  // The part starts where the icon in front of its left end stops, so its
  // text does not begin hidden under the icon.
  RECT placed;
  GetWindowRect(edit, &placed);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.left, 72);
  EXPECT_EQ(placed.right, 224);
  EXPECT_EQ(placed.top, 24);

  ui::ControlId view = model.Find("超文本浏览框1");
  EXPECT_EQ(parts.Navigations(view), 0);  // no address yet: nothing loaded
  model.SetCaption(view, "http://quondahalvix.invalid/page");
  parts.Sync(view);
  EXPECT_EQ(parts.Navigations(view), 1);
  // Showing, hiding, enabling and disabling never load the page again, though
  // the view reports another address (nothing loads under Wine).
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
  parts.BeforeParentDestroyed();
  DestroyWindow(parent);
  OleUninitialize();
}

}  // namespace

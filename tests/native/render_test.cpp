// Painting through a recording painter: stacking, clipping, pictures at their
// own size, state images, texts and colours as the forms give them.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/native/fakes.h"
#include "ui/behaviour/input.h"
#include "ui/behaviour/render.h"
#include "ui/main_window/main_window_form.h"
#include "ui/main_window/main_window_names.h"
#include "ui/secondary_windows/secondary_forms.h"
#include "ui/secondary_windows/version_names.h"

namespace {

using namespace ui::main_window;
namespace ver = ui::version;
using assets::Asset;
using fakes::FakePainter;
using ui::Rect;
using ui::Window;

FakePainter Paint(const Window& w, Rect dirty) {
  FakePainter painter;
  fakes::FakeImages images;
  ui::PaintWindow(w, painter, images, dirty);
  EXPECT_TRUE(painter.clips.empty()) << "every clip pushed is popped";
  return painter;
}

// A text as drawn: colour, height, weight, face and wrapping; "-" if not drawn.
std::string Look(const FakePainter& p, const std::string& text) {
  const FakePainter::Op* op = p.Text(text);
  if (!op) return "-";
  return fakes::Hex(op->color) + " " + std::to_string(op->font.heightPx) +
         (op->font.bold ? " bold" : "") + (op->layout.wrap ? " wrap" : "") +
         (op->font.face.empty() ? "" : " " + op->font.face);
}

TEST(Render, BackToFrontWithinTheClip) {
  Window w(ui::MainWindowForm());
  FakePainter p = Paint(w, w.ClientRect());
  const auto* emblem = p.Image(Asset::kHeaderEmblem);
  const auto* right = p.Image(Asset::kHeaderRight);
  const auto* left = p.Image(Asset::kHeaderLeft);
  ASSERT_TRUE(emblem && right && left);
  // Right piece first, then the left piece over it, then the emblem on top.
  EXPECT_LT(right, left);
  EXPECT_LT(left, emblem);
  // Pictures sit at their own size at the box's corner, cut by the clip.
  EXPECT_EQ(left->rect, (Rect{-16, 0, 752, 152}));
  EXPECT_EQ(left->clip, (Rect{0, 0, 152, 152}));
  EXPECT_EQ(emblem->rect, (Rect{396, 20, 128, 128}));  // centred in its 120x120 button
  EXPECT_EQ(p.Image(Asset::kResultIcon), nullptr);      // hidden
  for (const auto& op : p.ops) EXPECT_FALSE(op.clip.IsEmpty()) << op.what << " " << op.text;
}

// "几时：" is wider than its 16-pixel-high label: wrapped, its second line was
// cut away and the caption read "几".
TEST(Render, TextsCarryTheirFontsColoursAndWrapping) {
  Window w(ui::MainWindowForm());
  FakePainter p = Paint(w, w.ClientRect());
  struct Case {
    const char* text;
    const char* look;
  } cases[] = {
      {"QuondaHalvix定时系统", "ff8000 12 bold"},
      {"检查更新", "606060 12 bold wrap 宋体"},
      {"已成功连接到Quonda云服务器中心...", "008000 0 wrap"},
      {"时刻保护您的计算机安全", "ff8000 35 bold"},
      {"几时：", "000000 0"},
      {"这是一款全新的软件，他可以按照用户设定的时间进行全自动关机等功能", "606060 12 bold wrap"},
      {"QuondaHalvix2.1", "ffffff 12 bold"},
      {"QuondaHalvix2.0", "-"},                                      // beyond its parent
      {"硬盘30-50度为正常，70度以上高温硬盘具有危险性！", "-"},  // hidden
  };
  for (const Case& c : cases) EXPECT_EQ(Look(p, c.text), c.look) << c.text;
}

TEST(Render, ImageButtonShowsTheStateImage) {
  Window w(ui::MainWindowForm());
  Rect face = w.AbsoluteRect(w.Find("超级按钮1"));
  EXPECT_EQ(Paint(w, face).Image(Asset::kCheckUp)->rect, face);  // drawn as the whole face
  ui::MouseDown(w, {face.left + 3, face.top + 3});
  FakePainter pressed = Paint(w, face);
  EXPECT_NE(pressed.Image(Asset::kCheckDown), nullptr);
  EXPECT_EQ(pressed.Image(Asset::kCheckUp), nullptr);
}

TEST(Render, OnlyTheDirtyAreaIsPainted) {
  Window w(ui::MainWindowForm());
  Rect label = w.VisibleRect(w.Find("标签1"));
  w.SetCaption(标签1, "本地时间：2026年12月8日 18:00:00");
  FakePainter p = Paint(w, label);
  EXPECT_NE(p.Text("本地时间：2026年12月8日 18:00:00"), nullptr);
  EXPECT_EQ(p.Text("QuondaHalvix执行命令"), nullptr);
  for (const auto& op : p.ops) {
    EXPECT_EQ(op.clip.Intersect(label), op.clip) << op.what;
  }
}

TEST(Render, CheckedRadioAndDisabledText) {
  Window w(ui::MainWindowForm());
  w.SetChecked(单选框3, true);
  w.SetTextColor(单选框3, ui::kGreen);
  FakePainter p = Paint(w, w.ClientRect());
  EXPECT_EQ(Look(p, "注销电脑"), "008000 0");
  // One indicator per option, checked only where the selection put it.
  std::string radios;
  for (const auto& op : p.ops) {
    if (op.what != "part" || op.part != ui::Part::kRadio) continue;
    radios += op.checked ? "x" : "-";
    if (op.checked) {
      EXPECT_TRUE(w.AbsoluteRect(w.Find("单选框3")).Contains({op.rect.left, op.rect.top}));
    }
  }
  EXPECT_EQ(radios, "-x--");
  // The status line is disabled in its form yet shows its own colours: in
  // the grey disabled look the lookup's green and red would never be seen.
  Window version(ui::VersionWindowForm());
  EXPECT_EQ(Look(Paint(version, version.ClientRect()), "等待检测最新版本信息"),
            "000000 12 bold 宋体");
  version.SetCaption(ver::透明标签3, "网络异常！无法获取版本信息");
  version.SetTextColor(ver::透明标签3, ui::kRed);
  version.SetDisabled(ver::按钮1, true);
  FakePainter red = Paint(version, version.ClientRect());
  EXPECT_EQ(Look(red, "网络异常！无法获取版本信息"), "ff0000 12 bold 宋体");
  EXPECT_EQ(Look(red, "检测最新版本"), "a0a0a0 0 wrap");  // a disabled button still looks disabled
}

// Each spin arrow shows its own hover and press, on the halves the input takes.
TEST(Render, OnlyTheArrowUnderThePointerIsHotOrPressed) {
  using ui::PartState;
  const auto arrows = [](Window& w) {
    std::pair<PartState, PartState> states{};
    for (const auto& op : Paint(w, w.AbsoluteRect(w.Find("调节器1"))).ops) {
      if (op.what == "part" && op.part == ui::Part::kSpinUp) states.first = op.state;
      if (op.what == "part" && op.part == ui::Part::kSpinDown) states.second = op.state;
    }
    return states;
  };
  Window w(ui::MainWindowForm());
  w.SetHovered(w.Find("调节器1"), 1);
  EXPECT_EQ(arrows(w), std::pair(PartState::kHot, PartState::kNormal));
  w.SetPressed(w.Find("调节器1"), -1);
  EXPECT_EQ(arrows(w), std::pair(PartState::kHot, PartState::kPressed));
}

TEST(Render, ExitWindowBandCoversTheTop) {
  Window w(ui::ExitConfirmWindowForm());
  FakePainter p = Paint(w, w.ClientRect());
  auto band = std::find_if(p.ops.begin(), p.ops.end(), [](const auto& op) {
    return op.what == "fill" && op.color == ui::kRed;
  });
  ASSERT_NE(band, p.ops.end());
  EXPECT_EQ(band->clip, (Rect{0, 0, 536, 192}));
  EXPECT_EQ(p.Text("X"), nullptr);  // its close mark lies outside the window
}

TEST(Render, TextWidthEstimateCountsCharactersNotBytes) {
  ui::Font f{12, true, ""};
  EXPECT_EQ(ui::EstimateTextWidth("硬盘", f), 24);
  EXPECT_LT(ui::EstimateTextWidth("ab", f), 24);
  EXPECT_EQ(ui::EstimateTextWidth("", f), 0);
  EXPECT_GT(ui::EstimateTextWidth(std::string("\xff\xfe", 2), f), 0);  // not UTF-8: no crash
}

// A new frame repaints only its picture's pixels, the whole box where something lies over it.
TEST(Render, AFrameAreaIsThePictureWhereNothingLiesOverIt) {
  using ui::Kind;
  const ui::ControlSpec controls[] = {
      {.name = "标签1", .kind = Kind::kLabel, .rect = {150, 0, 20, 20}, .caption = "x"},
      {.name = "图片框1", .kind = Kind::kPictureBox, .rect = {0, 0, 60, 60}},
      {.name = "图片框2", .kind = Kind::kPictureBox, .rect = {130, 0, 60, 60}},
      {.name = "分组框1", .kind = Kind::kGroupBox, .rect = {0, 100, 50, 50}},
      {.name = "图片框3", .kind = Kind::kPictureBox, .parent = "分组框1", .rect = {20, 0, 60, 40}},
      {.name = "图片框4", .kind = Kind::kPictureBox, .rect = {200, 0, 40, 40}, .visible = false},
      {.name = "图片框5", .kind = Kind::kPictureBox, .rect = {250, 0, 40, 40}},
      {.name = "标签2", .kind = Kind::kLabel, .parent = "图片框5", .rect = {30, 30, 5, 5}},
  };
  const ui::FormSpec form{.name = "FrameWindow", .clientSize = {300, 200}, .controls = controls};
  Window w(form);
  const auto area = [&](const char* box, ui::Size picture) {
    return ui::FrameArea(w, w.Find(box), picture);
  };
  EXPECT_EQ(area("图片框1", {50, 50}), (Rect{0, 0, 50, 50}));
  EXPECT_EQ(area("图片框1", {80, 80}), (Rect{0, 0, 60, 60}));  // cut to the box
  EXPECT_EQ(area("图片框2", {50, 50}), Rect{});                // the label lies over it
  EXPECT_EQ(area("图片框2", {10, 10}), (Rect{130, 0, 10, 10}));  // not over this part
  EXPECT_EQ(area("图片框3", {60, 40}), (Rect{20, 100, 30, 40}));  // cut by its group box
  EXPECT_EQ(area("图片框4", {40, 40}), Rect{});                 // hidden
  EXPECT_EQ(area("图片框5", {40, 40}), Rect{});                 // a control inside it
  EXPECT_EQ(area("图片框5", {20, 20}), (Rect{250, 0, 20, 20}));
  EXPECT_EQ(area("标签1", {10, 10}), Rect{});                   // not a picture box
  EXPECT_EQ(ui::FrameArea(w, 99, {10, 10}), Rect{});
}

}  // namespace

// Recording fakes; see fakes.h.
#include "tests/native/fakes.h"

#include "assets/asset_sizes.h"
#include "ui/main_window/main_window_form.h"
#include "ui/main_window/main_window_names.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace fakes {

using ui::Rect;

void FakeBackend::Create(ui::Window& w, ui::Window* owner) {
  calls.push_back({"create", std::string(w.Name()), 0, w.ScreenRect()});
  ownerOf.push_back(std::string(w.Name()) + "<-" + (owner ? std::string(owner->Name()) : ""));
}
void FakeBackend::Destroy(ui::Window& w) { calls.push_back({"destroy", std::string(w.Name()), 0, {}}); }
void FakeBackend::Release(ui::Window& w) {
  // The model must still be whole here: the desktop frees it only afterwards.
  calls.push_back({"release", std::string(w.Name()), w.IsClosed() ? 1 : 0, {}});
}
void FakeBackend::Show(ui::Window& w, bool visible) {
  calls.push_back({visible ? "show" : "hide", std::string(w.Name()), 0, {}});
}
void FakeBackend::SetDisplayState(ui::Window& w, ui::DisplayState s) {
  calls.push_back({"state", std::string(w.Name()), static_cast<int>(s), {}});
}
void FakeBackend::Move(ui::Window& w, Rect r) { calls.push_back({"move", std::string(w.Name()), 0, r}); }
int FakeBackend::PopupMenu(ui::Window& owner, const std::vector<std::string_view>& items) {
  calls.push_back({"menu", std::string(owner.Name()), 0, {}});
  lastMenu = items;
  return menuChoice;
}
int FakeBackend::ShowMessageBox(std::string_view text, int flags, std::string_view title,
                            ui::Window* owner) {
  boxes.push_back({std::string(text), std::string(title), flags, owner != nullptr});
  calls.push_back({"messagebox", "", flags, {}});
  return 1;
}
void FakeBackend::Focus(ui::Window& w) { calls.push_back({"focus", std::string(w.Name()), 0, {}}); }
void FakeBackend::ApplyVisualStyle(int code) { calls.push_back({"style", "", code, {}}); }
void FakeBackend::Raise(ui::Window& w) { calls.push_back({"raise", std::string(w.Name()), 0, {}}); }
void FakeBackend::Invalidate(ui::Window&, Rect r) { invalidated.push_back(r); }
void FakeBackend::ControlChanged(ui::Window& w, ui::ControlId id, ui::Change change) {
  std::string control = id == ui::kNoControl ? std::string() : w.At(id).name;
  calls.push_back({"changed", std::string(w.Name()) + "." + control,
                   static_cast<int>(change), {}});
}

std::vector<FakeBackend::Call> FakeBackend::Calls(const std::string& op) const {
  std::vector<Call> out;
  std::copy_if(calls.begin(), calls.end(), std::back_inserter(out),
               [&](const Call& c) { return c.op == op; });
  return out;
}

std::vector<std::string> FakeBackend::Ops() const {
  std::vector<std::string> out;
  for (const Call& c : calls) {
    if (c.op != "changed") out.push_back(c.op + (c.window.empty() ? "" : " " + c.window));
  }
  return out;
}

void FakePainter::PushClip(Rect r) {
  Rect current = clips.empty() ? r : clips.back().Intersect(r);
  clips.push_back(current);
  maxDepth = std::max(maxDepth, static_cast<int>(clips.size()));
}
void FakePainter::PopClip() {
  if (!clips.empty()) clips.pop_back();
}
void FakePainter::Add(const char* what, Rect r, ui::Color c) {
  Op op;
  op.what = what;
  op.rect = r;
  op.color = c;
  op.clip = clips.empty() ? Rect{} : clips.back();
  ops.push_back(op);
}
void FakePainter::Line(ui::Point a, ui::Point b, ui::Color c) {
  Add("line", {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x) + 1,
               std::abs(b.y - a.y) + 1}, c);
}
void FakePainter::DrawPart(ui::Part part, ui::PartState state, bool checked, Rect r) {
  Add("part", r, {});
  ops.back().part = part;
  ops.back().state = state;
  ops.back().checked = checked;
}
void FakePainter::DrawImage(assets::Asset image, int frame, Rect dest) {
  Add("image", dest, {});
  ops.back().image = image;
  ops.back().frame = frame;
}
void FakePainter::DrawGreyedImage(assets::Asset image, int frame, Rect dest) {
  DrawImage(image, frame, dest);
  ops.back().what = "greyed image";
}
void FakePainter::PaintText(std::string_view utf8, const ui::Font& font, ui::Color c, Rect r,
                           ui::TextLayout layout) {
  Add("text", r, c);
  ops.back().text = std::string(utf8);
  ops.back().font = font;
  ops.back().layout = layout;
}
const FakePainter::Op* FakePainter::Text(const std::string& s) const {
  for (const Op& op : ops) {
    if (op.what == "text" && op.text == s) return &op;
  }
  return nullptr;
}
const FakePainter::Op* FakePainter::Image(assets::Asset a) const {
  for (const Op& op : ops) {
    if (op.what == "image" && op.image == a) return &op;
  }
  return nullptr;
}

ui::Size FakeImages::ImageSize(assets::Asset image) {
  const assets::AssetSize* size = assets::SizeOf(image);
  return size ? ui::Size{size->width, size->height} : ui::Size{0, 0};
}
int FakeImages::FrameCount(assets::Asset image) {
  return image == assets::Asset::kLinkAnim ? 4 : 1;
}
int FakeImages::FrameDelayMs(assets::Asset image, int) {
  return image == assets::Asset::kLinkAnim ? 100 : 0;
}

void FakeTray::AddIcon(ui::Window& owner, std::string_view tip) {
  icons.push_back(std::string(owner.Name()) + "|" + std::string(tip));
  added = true;
}

void FakeTray::Notify(std::string_view title, std::string_view text, int iconKind) {
  if (added) notices.push_back({std::string(title), std::string(text), iconKind});
}

void FakeTray::RemoveIcon() {
  ++removed;
  added = false;
}

TestProgram::TestProgram()
    : program(backend, app::Services{clock, tray, processes, network, web, power, smart}) {}
ui::Window& TestProgram::Main() { return program.desktop.Load(ui::MainWindowForm(), nullptr); }
void TestProgram::Send(ui::Window& w, std::string_view control, ui::EventKind kind, int arg) {
  program.desktop.Deliver(ui::Event{&w, w.Find(control), kind, arg});
}

std::string TaskFace(const ui::Window& m) {
  using namespace ui::main_window;
  const ui::Control& group = m.Get(分组框3);
  char colour[8];
  std::snprintf(colour, sizeof colour, "%02x%02x%02x", group.textColor.r, group.textColor.g,
                group.textColor.b);
  return m.Get(按钮1).caption + "|" + group.caption + " " + colour + "|" +
         std::to_string(m.Get(任务时钟).interval) + " " + std::to_string(m.Get(时钟4).interval) +
         (m.Get(图片框5).animating ? "|plays" : "|still");
}

}  // namespace fakes

// Recording fakes; see fakes.h.
#include "tests/native/fakes.h"

#include "assets/asset_sizes.h"
#include "ui/main_window/main_window_form.h"
#include "ui/main_window/main_window_names.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace fakes {

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

std::string Hex(ui::Color c) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02x%02x%02x", c.r, c.g, c.b);
  return hex;
}

std::string TaskFace(const ui::Window& m) {
  using namespace ui::main_window;
  const ui::Control& group = m.Get(分组框3);
  return m.Get(按钮1).caption + "|" + group.caption + " " + Hex(group.textColor) + "|" +
         std::to_string(m.Get(任务时钟).interval) + " " + std::to_string(m.Get(时钟4).interval) +
         (m.Get(图片框5).animating ? "|plays" : "|still");
}

}  // namespace fakes

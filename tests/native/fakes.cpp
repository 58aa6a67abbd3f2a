// Recording fakes; see fakes.h.
#include "tests/native/fakes.h"

#include <iconv.h>

#include <algorithm>
#include <cstring>
#include <cstdlib>
#include <iterator>

namespace fakes {

using ui::Rect;

void FakeBackend::Create(ui::Window& w, ui::Window* owner) {
  calls.push_back({"create", std::string(w.Name()), 0, {}});
  ownerOf.push_back(std::string(w.Name()) + "<-" + (owner ? std::string(owner->Name()) : ""));
}
void FakeBackend::Destroy(ui::Window& w) { calls.push_back({"destroy", std::string(w.Name()), 0, {}}); }
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
  calls.push_back({"changed", std::string(w.Name()) + "." + w.At(id).name,
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
void FakePainter::FillTriangle(ui::Point a, ui::Point b, ui::Point c, ui::Color color) {
  int l = std::min({a.x, b.x, c.x}), t = std::min({a.y, b.y, c.y});
  Add("triangle", {l, t, std::max({a.x, b.x, c.x}) - l, std::max({a.y, b.y, c.y}) - t}, color);
}
void FakePainter::DrawImage(assets::Asset image, int frame, Rect dest) {
  Add("image", dest, {});
  ops.back().image = image;
  ops.back().frame = frame;
}
void FakePainter::PaintText(std::string_view utf8, const ui::Font& font, ui::Color c, Rect r,
                           ui::TextLayout) {
  Add("text", r, c);
  ops.back().text = std::string(utf8);
  ops.back().font = font;
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
  using assets::Asset;
  switch (image) {
    case Asset::kNone: return {0, 0};
    case Asset::kAppIcon: return {24, 24};
    case Asset::kHeaderLeft: return {752, 152};
    case Asset::kHeaderRight: return {750, 149};
    case Asset::kHeaderEmblem: return {128, 128};
    case Asset::kHeaderDecor: return {109, 116};
    case Asset::kUpdateIcon: return {16, 16};
    case Asset::kResultIcon: return {72, 72};
    case Asset::kProductEmblem: return {96, 96};
    case Asset::kCheckUp:
    case Asset::kCheckDown: return {137, 41};
    case Asset::kGlobeAnim:
    case Asset::kVersionAnim: return {100, 100};
    case Asset::kTaskAnim: return {200, 200};
    case Asset::kLinkAnim: return {18, 18};
    case Asset::kNoticeHeader: return {521, 94};
    case Asset::kNoticeAnim: return {70, 70};
    case Asset::kWarningEmblem: return {128, 128};
    default: return {32, 32};
  }
}
int FakeImages::FrameCount(assets::Asset image) {
  return image == assets::Asset::kLinkAnim ? 4 : 1;
}
int FakeImages::FrameDelayMs(assets::Asset image, int) {
  return image == assets::Asset::kLinkAnim ? 100 : 0;
}

app::TrayIdentity FakePlatform::AddTrayIcon(ui::Window& owner, std::string_view tip) {
  icons.push_back(std::string(owner.Name()) + "|" + std::string(tip));
  return {504, 0x1234, 1};
}

void FakePlatform::NotifyTray(const app::TrayRecord& r, std::string_view title,
                              std::string_view text) {
  notices.push_back({std::string(r.szInfoTitle, strnlen(r.szInfoTitle, sizeof r.szInfoTitle)),
                     std::string(r.szInfo, strnlen(r.szInfo, sizeof r.szInfo)),
                     std::string(title), std::string(text), r.uFlags, r.dwInfoFlags, r.cbSize});
}

std::string FakePlatform::ToGbk(std::string_view utf8) {
  iconv_t cd = iconv_open("GBK", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string in(utf8), out(utf8.size() * 2 + 4, '\0');
  char* src = in.data();
  char* dst = out.data();
  size_t srcLeft = in.size(), dstLeft = out.size();
  iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  out.resize(out.size() - dstLeft);
  return out;
}

}  // namespace fakes

// The Win32 backend's painting path: a window's dirty rectangle rendered
// from the model into a back buffer and copied to the screen, on WM_PAINT or
// at once (an animation frame, what a timer's tick changed), and the single
// copy that an animation frame is when nothing lies over its picture; and the
// messages that ask for painting, or for new theme parts to paint with.
#include <algorithm>
#include <utility>

#include "ui/behaviour/keyboard.h"
#include "ui/behaviour/render.h"
#include "ui/win32/backend_win.h"
#include "ui/win32/window_host_win.h"

namespace ui {
namespace {

// Back buffers up to this many pixels are kept between paints: a 256x256
// buffer, a quarter of a megabyte, where the whole main window's would be
// almost two.
constexpr long long kKeptBufferPixels = 256 * 256;

}  // namespace

BackBuffer::BackBuffer(BackBuffer&& other) noexcept
    : dc_(std::move(other.dc_)),
      bitmap_(std::move(other.bitmap_)),
      selection_(std::move(other.selection_)),
      size_(std::exchange(other.size_, {})) {}

BackBuffer& BackBuffer::operator=(BackBuffer&& other) noexcept {
  if (this != &other) {
    Reset();  // in the one safe order, before anything is taken over
    dc_ = std::move(other.dc_);
    bitmap_ = std::move(other.bitmap_);
    selection_ = std::move(other.selection_);
    size_ = std::exchange(other.size_, {});
  }
  return *this;
}

HDC BackBuffer::Get(HDC screen, Size size) {
  if (dc_ && size.width <= size_.width && size.height <= size_.height) return dc_.Get();
  if (dc_) {
    // Grown to hold both, unless that makes it more than is worth keeping.
    const Size both{std::max(size.width, size_.width), std::max(size.height, size_.height)};
    if (static_cast<long long>(both.width) * both.height <= kKeptBufferPixels) size = both;
  }
  Reset();
  UniqueMemoryDc dc(CreateCompatibleDC(screen));
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen, size.width, size.height));
  if (!dc || !bitmap) return nullptr;
  SelectedObject selection(dc.Get(), bitmap.Get());
  if (!selection) return nullptr;
  dc_ = std::move(dc);
  bitmap_ = std::move(bitmap);
  selection_ = std::move(selection);
  size_ = size;
  return dc_.Get();
}

void BackBuffer::Reset() {
  selection_.Restore();
  bitmap_.Reset();
  dc_.Reset();
  size_ = {};
}

bool Win32Backend::DrawFrame(WindowHost& host, ControlId id, Rect dirty) {
  // An animation frame is drawn now, sparing the update region, WM_PAINT and
  // BeginPaint their trips to the window server; the window's own DC costs
  // nothing to get.
  HDC screen = GetDC(host.hwnd);
  if (!screen) return false;
  const Window& model = *host.model;
  const Control& box = model.At(id);
  const DrawableFrame* frame = images_.Frame(box.picture, box.frame, host.scale);
  const Rect modelArea =
      frame && frame->opaque ? FrameArea(model, id, images_.ImageSize(box.picture)) : Rect{};
  const Rect area = host.scale.ToDevice(modelArea);
  const Rect at = host.scale.ToDevice(model.AbsoluteRect(id));
  // Where the picture's edges round outwards, it is more than the frame.
  const bool inFrame = frame && area.Right() - at.left <= frame->size.width &&
                       area.Bottom() - at.top <= frame->size.height;
  if (!framesDc_) framesDc_.Reset(CreateCompatibleDC(screen));
  if (!area.IsEmpty() && inFrame && FocusRect(model).Intersect(modelArea).IsEmpty() && framesDc_) {
    // Only the opaque picture changed and nothing lies over it: one copy.
    SelectedObject picture(framesDc_.Get(), frame->bitmap);
    BitBlt(screen, area.left, area.top, area.width, area.height, framesDc_.Get(),
           area.left - at.left, area.top - at.top, SRCCOPY);
  } else {
    Render(host, screen, host.scale.ToDevice(dirty.Intersect(model.ClientRect())));
  }
  ReleaseDC(host.hwnd, screen);
  return true;
}

bool Win32Backend::PaintNow(WindowHost& host, Rect dirty) {
  HDC screen = GetDC(host.hwnd);
  if (!screen) return false;
  Render(host, screen, host.scale.ToDevice(dirty.Intersect(host.model->ClientRect())));
  ReleaseDC(host.hwnd, screen);
  return true;
}

void Win32Backend::Paint(WindowHost& host) {
  PAINTSTRUCT ps;
  HDC screen = BeginPaint(host.hwnd, &ps);
  Render(host, screen,
         {ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
          ps.rcPaint.bottom - ps.rcPaint.top});
  EndPaint(host.hwnd, &ps);
}

void Win32Backend::Render(WindowHost& host, HDC screen, Rect dirty) {
  if (dirty.IsEmpty()) return;
  // Wholly off the screen (the task notice parked below it) nothing is seen:
  // its pictures are not decoded for nothing.
  if (!host.Shows()) {
    host.unpainted = true;
    return;
  }
  const Size size{dirty.width, dirty.height};
  BackBuffer oneOff;
  const bool keep = static_cast<long long>(size.width) * size.height <= kKeptBufferPixels;
  HDC buffer = (keep ? host.buffer : oneOff).Get(screen, size);
  if (!buffer) return;
  {
    GdiPainter painter(buffer, {dirty.left, dirty.top}, images_, fonts_, parts_, host.scale);
    PaintWindow(*host.model, painter, images_, host.scale.Covering(dirty));
  }
  if (Rect focus = host.scale.ToDevice(FocusRect(*host.model)); !focus.Intersect(dirty).IsEmpty()) {
    RECT rc = ToRect(focus.Offset(-dirty.left, -dirty.top));
    DrawFocusRect(buffer, &rc);
  }
  BitBlt(screen, dirty.left, dirty.top, dirty.width, dirty.height, buffer, 0, 0, SRCCOPY);
}

Win32Backend::Handled Win32Backend::OnPaintMessage(WindowHost& host, UINT message, WPARAM,
                                                   LPARAM) {
  HWND hwnd = host.hwnd;
  switch (message) {
    case WM_PAINT:
      Paint(host);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // everything is painted from the back buffer
    case WM_THEMECHANGED:
      // Sent to every top-level window; the parts are shared, and each
      // window draws its own again with the new ones.
      parts_.Reset();
      InvalidateRect(hwnd, nullptr, FALSE);
      break;
  }
  return std::nullopt;
}

}  // namespace ui

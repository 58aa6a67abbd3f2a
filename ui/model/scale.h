// One window's scale: the DPI of the monitor it is on over 96. The forms, the
// model and everything portable stay in 96-DPI pixels; the Win32 side
// converts at its edges with this, and only with this. Edges are converted,
// not sizes: a rectangle [left, right) becomes [S(left), S(right)), so parts
// that meet at 96 DPI meet at every scale, without a gap or an overlap.
#pragma once

#include <algorithm>

#include "ui/model/geometry.h"

namespace ui {

class Scale {
 public:
  static constexpr int kBaseDpi = 96;
  // 100 % to 500 %, what the platform offers; anything else (a failed query's
  // 0) is taken as the nearest of them.
  static constexpr int kMaxDpi = 480;

  constexpr Scale() = default;
  constexpr explicit Scale(int dpi) : dpi_(std::clamp(dpi, kBaseDpi, kMaxDpi)) {}

  constexpr int Dpi() const { return dpi_; }
  constexpr bool IsIdentity() const { return dpi_ == kBaseDpi; }
  // Percent of the 96-DPI size, for what takes a zoom.
  constexpr int Percent() const { return (dpi_ * 100 + kBaseDpi / 2) / kBaseDpi; }

  // A coordinate to device pixels, rounded to the nearest, halves up.
  constexpr int ToDevice(int v) const {
    return static_cast<int>(FloorDiv(static_cast<long long>(v) * dpi_ + kBaseDpi / 2, kBaseDpi));
  }
  constexpr Point ToDevice(Point p) const { return {ToDevice(p.x), ToDevice(p.y)}; }
  // A size measured from an origin: a window's, a picture's, a font's.
  constexpr Size ToDevice(Size s) const { return {ToDevice(s.width), ToDevice(s.height)}; }
  constexpr Rect ToDevice(Rect r) const {
    return Edges(r, [this](int v) { return ToDevice(v); });
  }

  // The 96-DPI pixel that holds device pixel `d`: where a click lands.
  constexpr int PixelAt(int d) const {
    return static_cast<int>(FloorDiv(static_cast<long long>(d) * kBaseDpi + kBaseDpi / 2 - 1, dpi_));
  }
  constexpr Point PixelAt(Point p) const { return {PixelAt(p.x), PixelAt(p.y)}; }
  // The smallest 96-DPI rectangle whose device pixels cover `device`.
  constexpr Rect Covering(Rect device) const {
    if (device.IsEmpty()) return {PixelAt(device.left), PixelAt(device.top), 0, 0};
    const int left = PixelAt(device.left);
    const int top = PixelAt(device.top);
    return {left, top, PixelAt(device.Right() - 1) + 1 - left,
            PixelAt(device.Bottom() - 1) + 1 - top};
  }
  // A device position back to 96-DPI units, nearest first: a window's place
  // survives the trip there and back unchanged.
  constexpr int ToModel(int d) const {
    return static_cast<int>(FloorDiv(static_cast<long long>(d) * kBaseDpi + dpi_ / 2, dpi_));
  }
  constexpr Point ToModel(Point p) const { return {ToModel(p.x), ToModel(p.y)}; }
  constexpr Size ToModel(Size s) const { return {ToModel(s.width), ToModel(s.height)}; }
  constexpr Rect ToModel(Rect r) const {
    return Edges(r, [this](int d) { return ToModel(d); });
  }

  friend constexpr bool operator==(Scale a, Scale b) { return a.dpi_ == b.dpi_; }

 private:
  // Each edge converted on its own.
  template <typename Convert>
  static constexpr Rect Edges(Rect r, Convert convert) {
    const int left = convert(r.left);
    const int top = convert(r.top);
    return {left, top, convert(r.Right()) - left, convert(r.Bottom()) - top};
  }
  static constexpr long long FloorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
  }

  int dpi_ = kBaseDpi;
};

}  // namespace ui

// Pixel geometry and colours shared by the control model, the painter and the
// Win32 backend. Rectangles are half-open: [left, left+width) x [top, top+height).
#pragma once

#include <algorithm>
#include <cstdint>

namespace ui {

struct Point {
  int x = 0;
  int y = 0;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(Size a, Size b) { return a.width == b.width && a.height == b.height; }
  constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  constexpr int Right() const { return left + width; }
  constexpr int Bottom() const { return top + height; }
  constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
  bool Contains(Point p) const {
    return p.x >= left && p.x < Right() && p.y >= top && p.y < Bottom();
  }
  Rect Offset(int dx, int dy) const { return {left + dx, top + dy, width, height}; }
  Rect Intersect(const Rect& o) const {
    int l = std::max(left, o.left);
    int t = std::max(top, o.top);
    int r = std::min(Right(), o.Right());
    int b = std::min(Bottom(), o.Bottom());
    if (r <= l || b <= t) return {l, t, 0, 0};
    return {l, t, r - l, b - t};
  }
  // Smallest rectangle holding both; an empty side is ignored.
  Rect Union(const Rect& o) const {
    if (IsEmpty()) return o;
    if (o.IsEmpty()) return *this;
    int l = std::min(left, o.left);
    int t = std::min(top, o.top);
    return {l, t, std::max(Right(), o.Right()) - l, std::max(Bottom(), o.Bottom()) - t};
  }
  friend bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
  }
};

struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(Color a, Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
  friend bool operator!=(Color a, Color b) { return !(a == b); }
};

constexpr Color Rgb(int r, int g, int b) {
  return Color{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
               static_cast<std::uint8_t>(b)};
}

// The status colours every window uses.
inline constexpr Color kWhite = Rgb(255, 255, 255);
inline constexpr Color kBlack = Rgb(0, 0, 0);
inline constexpr Color kGreen = Rgb(0, 128, 0);
inline constexpr Color kRed = Rgb(255, 0, 0);
inline constexpr Color kOrange = Rgb(255, 128, 0);
inline constexpr Color kGrey = Rgb(96, 96, 96);

}  // namespace ui

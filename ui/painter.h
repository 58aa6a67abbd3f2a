// The drawing surface the control renderer paints through, and the image
// catalogue it measures pictures with. Both are small on purpose: the Win32
// backend implements them with GDI+, tests implement them by recording calls.
// All coordinates are client pixels of the window being painted.
#pragma once

#include <string>
#include <string_view>

#include "assets/assets.h"
#include "ui/geometry.h"

namespace ui {

struct Font {
  int heightPx = 0;    // character height; 0 means the default size (12 px)
  bool bold = false;   // weight 700 when set, 400 otherwise
  std::string face;    // UTF-8 face name; empty means the default face
  friend bool operator==(const Font& a, const Font& b) {
    return a.heightPx == b.heightPx && a.bold == b.bold && a.face == b.face;
  }
};

inline constexpr int kDefaultFontHeight = 12;

enum class HAlign { kLeft, kCenter };

struct TextLayout {
  HAlign align = HAlign::kLeft;
  bool vcenter = true;  // centre the (possibly wrapped) block vertically
  bool wrap = true;     // break at the rectangle's width; otherwise one line
};

class Painter {
 public:
  virtual ~Painter() = default;
  // Clipping nests: each push intersects with the current clip.
  virtual void PushClip(Rect r) = 0;
  virtual void PopClip() = 0;
  virtual void FillRect(Rect r, Color c) = 0;
  virtual void FrameRect(Rect r, Color c) = 0;  // 1-pixel outline inside r
  virtual void Line(Point from, Point to, Color c) = 0;
  virtual void FillEllipse(Rect r, Color c) = 0;
  virtual void FrameEllipse(Rect r, Color c) = 0;
  virtual void FillTriangle(Point a, Point b, Point c, Color color) = 0;
  // Draws one frame of an image scaled to dest; unknown images draw nothing.
  virtual void DrawImage(assets::Asset image, int frame, Rect dest) = 0;
  virtual void PaintText(std::string_view utf8, const Font& font, Color c, Rect r,
                        TextLayout layout) = 0;
};

// What the renderer and the animation clock need to know about a picture.
class ImageCatalog {
 public:
  virtual ~ImageCatalog() = default;
  // {0, 0} for an image that is missing or cannot be decoded.
  virtual Size ImageSize(assets::Asset image) = 0;
  virtual int FrameCount(assets::Asset image) = 0;  // 1 for a still picture
  // Delay of one frame in milliseconds; 0 for a still picture.
  virtual int FrameDelayMs(assets::Asset image, int frame) = 0;
};

}  // namespace ui

// The drawing surface the control renderer paints through, and the image
// catalogue it measures pictures with. Both are small on purpose: the Win32
// backend implements them with GDI, GDI+ and the platform's own control parts,
// tests implement them by recording calls. All coordinates are client pixels
// of the window being painted.
#pragma once

#include <string>
#include <string_view>

#include "assets/assets.h"
#include "ui/model/geometry.h"

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

// The platform's own pieces of a control: a radio button's indicator and the
// two arrows of a spin control, drawn as the system draws them for its own
// controls (the visual style's parts, or the classic ones), so they follow the
// theme and high-contrast colours.
enum class Part { kRadio, kSpinUp, kSpinDown };

enum class PartState { kNormal, kHot, kPressed, kDisabled };

class Painter {
 public:
  virtual ~Painter() = default;
  // Clipping nests: each push intersects with the current clip.
  virtual void PushClip(Rect r) = 0;
  virtual void PopClip() = 0;
  virtual void FillRect(Rect r, Color c) = 0;
  virtual void FrameRect(Rect r, Color c) = 0;  // 1-pixel outline inside r
  // Along one axis: every pixel from one end to the other, both included.
  // A slanted line draws nothing.
  virtual void Line(Point from, Point to, Color c) = 0;
  // One part at r; `checked` matters for the radio indicator only.
  virtual void DrawPart(Part part, PartState state, bool checked, Rect r) = 0;
  // Draws one frame of an image scaled to dest; unknown images draw nothing.
  virtual void DrawImage(assets::Asset image, int frame, Rect dest) = 0;
  // The same, in the disabled look: greyed and faded towards white.
  virtual void DrawGreyedImage(assets::Asset image, int frame, Rect dest) = 0;
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
  // The picture stopped playing: only the frame it shows need stay decoded.
  virtual void Settle(assets::Asset) {}
};

}  // namespace ui

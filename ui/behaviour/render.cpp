// Drawing of each control kind in terms of the Painter's primitives.
#include "ui/behaviour/render.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace ui {

namespace {

constexpr Color kDisabledText = Rgb(160, 160, 160);
constexpr Color kFaceBorder = Rgb(173, 173, 173);
constexpr Color kFace = Rgb(225, 225, 225);
constexpr Color kFacePressed = Rgb(204, 228, 247);
constexpr Color kFaceHot = Rgb(229, 241, 251);
constexpr Color kFocusBorder = Rgb(0, 120, 215);
constexpr Color kFrame = Rgb(204, 204, 204);
// The report box's text: near black on white reads at about 16:1, where the
// disabled grey would be under 3:1.
constexpr Color kReportText = Rgb(32, 32, 32);
constexpr Color kProgressTrack = Rgb(230, 230, 230);
constexpr Color kProgressFill = Rgb(6, 176, 37);

int FontHeight(const Font& f) { return f.heightPx > 0 ? f.heightPx : kDefaultFontHeight; }

class ControlPainter {
 public:
  ControlPainter(const Window& w, Painter& p, ImageCatalog& images)
      : w_(w), p_(p), images_(images) {}

  void PaintTree(const std::vector<ControlId>& siblings, Rect dirty) {
    // Siblings are listed front to back: paint from the back.
    for (auto it = siblings.rbegin(); it != siblings.rend(); ++it) {
      ControlId id = *it;
      Rect clip = w_.VisibleRect(id).Intersect(dirty);
      if (clip.IsEmpty()) continue;
      p_.PushClip(clip);
      PaintOne(id);
      PaintTree(w_.At(id).children, clip);
      p_.PopClip();
    }
  }

 private:
  void PaintOne(ControlId id) {
    const Control& c = w_.At(id);
    Rect r = w_.AbsoluteRect(id);
    bool enabled = w_.IsEnabled(id);
    switch (c.kind) {
      case Kind::kTransparentLabel:
      case Kind::kLabel:
        // A caption wraps only where the label has room for a second line (a line
        // takes about 1.25 times the character height);
        // otherwise it stays on one line and is cut at the label's edge.
        // A disabled transparent label only takes no input: it keeps its own
        // colour, so a status line that is disabled in its form still shows
        // green or red.
        Text(c, r, enabled || c.kind == Kind::kTransparentLabel,
             {HAlign::kLeft, true, r.height >= FontHeight(c.font) * 5 / 2});
        break;
      case Kind::kPictureBox:
        if (c.background) p_.FillRect(r, *c.background);
        Picture(c.picture, c.frame, {r.left, r.top});
        break;
      case Kind::kGraphicButton: {
        int shift = w_.Pressed() == id ? 1 : 0;
        Size s = images_.ImageSize(c.picture);
        Picture(c.picture, 0,
                {r.left + (r.width - s.width) / 2 + shift, r.top + (r.height - s.height) / 2 + shift});
        break;
      }
      case Kind::kImageButton:
        ImageButton(id, c, r, enabled);
        break;
      case Kind::kButton:
        Button(id, c, r, enabled);
        break;
      case Kind::kRadioButton:
        Radio(id, c, r, enabled);
        break;
      case Kind::kGroupBox:
        GroupBox(c, r, enabled);
        break;
      case Kind::kSpin:
        Spin(id, r, enabled);
        break;
      case Kind::kProgressBar: {
        p_.FillRect(r, kProgressTrack);
        p_.FrameRect(r, kFaceBorder);
        int inner = std::max(0, r.width - 2);
        p_.FillRect({r.left + 1, r.top + 1, inner * c.position / 100, r.height - 2}, kProgressFill);
        break;
      }
      case Kind::kTab:
        // The single page carries no header; it is an opaque panel.
        p_.FillRect(r, w_.Form().background);
        break;
      case Kind::kEditBox:
        if (!IsNative(c)) Report(id, c, r);
        break;  // a native part draws itself
      case Kind::kHtmlView:
      case Kind::kTimer:
        break;  // the native view draws itself; timers are never seen
    }
  }

  void Text(const Control& c, Rect r, bool enabled, TextLayout layout) {
    if (c.caption.empty()) return;
    p_.PaintText(c.caption, c.font, enabled ? c.textColor : kDisabledText, r, layout);
  }

  // A picture at its own size with its top-left corner at `at`.
  void Picture(assets::Asset image, int frame, Point at) {
    if (image == assets::Asset::kNone) return;
    Size s = images_.ImageSize(image);
    if (s.width <= 0 || s.height <= 0) return;
    p_.DrawImage(image, frame, {at.x, at.y, s.width, s.height});
  }

  void ImageButton(ControlId id, const Control& c, Rect r, bool enabled) {
    int state = kImageNormal;
    if (enabled && w_.Pressed() == id) {
      state = kImagePressed;
    } else if (enabled && w_.Hovered() == id) {
      state = kImageHover;
    }
    assets::Asset image = c.stateImages[static_cast<size_t>(state)];
    if (image == assets::Asset::kNone) image = c.stateImages[kImageNormal];
    if (image == assets::Asset::kNone) return;
    // The state image is the whole face; a disabled button shows its normal
    // face greyed, so it no longer looks as if it would take a click.
    if (enabled) {
      p_.DrawImage(image, 0, r);
    } else {
      p_.DrawGreyedImage(image, 0, r);
    }
  }

  // The look of a control's platform part: hot under the pointer, pressed
  // while held; `arrow` picks one arrow of a spin control.
  PartState StateOf(ControlId id, bool enabled, int arrow = 0) const {
    if (!enabled) return PartState::kDisabled;
    if (w_.Pressed() == id && w_.PressedArrow() == arrow) return PartState::kPressed;
    if (w_.Hovered() == id && w_.HoveredArrow() == arrow) return PartState::kHot;
    return PartState::kNormal;
  }

  void Button(ControlId id, const Control& c, Rect r, bool enabled) {
    bool pressed = enabled && w_.Pressed() == id;
    bool hot = enabled && w_.Hovered() == id;
    p_.FillRect(r, pressed ? kFacePressed : hot ? kFaceHot : kFace);
    p_.FrameRect(r, pressed || hot ? kFocusBorder : kFaceBorder);
    Control face = c;
    face.textColor = kBlack;
    Rect textRect = pressed ? r.Offset(1, 1) : r;
    Text(face, textRect, enabled, {HAlign::kCenter, true, true});
  }

  void Radio(ControlId id, const Control& c, Rect r, bool enabled) {
    // The platform's indicator is 13 pixels square at 96 dots per inch.
    constexpr int kMark = 13;
    Rect mark{r.left, r.top + (r.height - kMark) / 2, kMark, kMark};
    p_.DrawPart(Part::kRadio, StateOf(id, enabled), c.checked, mark);
    Rect textRect{r.left + kMark + 4, r.top, r.width - kMark - 4, r.height};
    Text(c, textRect, enabled, {HAlign::kLeft, true, false});
  }

  void GroupBox(const Control& c, Rect r, bool enabled) {
    if (c.background) p_.FillRect(r, *c.background);
    int h = FontHeight(c.font);
    int lineY = c.caption.empty() ? r.top : r.top + h / 2;
    Rect frame{r.left, lineY, r.width, r.Bottom() - lineY};
    if (c.caption.empty()) {
      p_.FrameRect(frame, kFrame);
      return;
    }
    // The top line stops short of the caption, which sits on it.
    constexpr int kIndent = 8;
    int gapFrom = r.left + kIndent - 2;
    int gapTo = r.left + kIndent + EstimateTextWidth(c.caption, c.font) + 2;
    p_.Line({frame.left, lineY}, {frame.left, frame.Bottom() - 1}, kFrame);
    p_.Line({frame.Right() - 1, lineY}, {frame.Right() - 1, frame.Bottom() - 1}, kFrame);
    p_.Line({frame.left, frame.Bottom() - 1}, {frame.Right() - 1, frame.Bottom() - 1}, kFrame);
    p_.Line({frame.left, lineY}, {gapFrom, lineY}, kFrame);
    if (gapTo < frame.Right() - 1) p_.Line({gapTo, lineY}, {frame.Right() - 1, lineY}, kFrame);
    Text(c, {r.left + kIndent, r.top, gapTo - r.left - kIndent + 2, h + 2}, enabled,
         {HAlign::kLeft, false, false});
  }

  // The same halves the input takes: the upper one steps up.
  void Spin(ControlId id, Rect r, bool enabled) {
    int half = r.height / 2;
    p_.DrawPart(Part::kSpinUp, StateOf(id, enabled, 1), false, {r.left, r.top, r.width, half});
    p_.DrawPart(Part::kSpinDown, StateOf(id, enabled, -1), false,
                {r.left, r.top + half, r.width, r.height - half});
  }

  // The disk report: read-only lines in a white box, from where the result
  // icon in front of it ends, each line whole at the box's own font size and
  // the block centred in the box. Lines that do not fit under the others are
  // cut, as in a box without a scroll bar.
  void Report(ControlId id, const Control& c, Rect r) {
    p_.FillRect(r, kWhite);
    p_.FrameRect(r, kFaceBorder);
    std::vector<std::string_view> lines;
    for (std::string_view rest = c.caption; !rest.empty();) {
      size_t end = rest.find('\n');
      std::string_view line = rest.substr(0, end);
      rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lines.push_back(line);
    }
    constexpr int kPadding = 4;
    const int lineHeight = FontHeight(c.font) + 3;
    const Rect inside{r.left + 1, r.top + 1, r.width - 2, r.height - 2};
    const int shown = std::min(static_cast<int>(lines.size()), std::max(1, inside.height / lineHeight));
    const int left = r.left + w_.CoveredLeft(id) + kPadding;
    const int top = inside.top + (inside.height - shown * lineHeight) / 2;
    for (int i = 0; i < shown; ++i) {
      p_.PaintText(lines[static_cast<size_t>(i)], c.font, kReportText,
                   {left, top + i * lineHeight, inside.Right() - left, lineHeight},
                   {HAlign::kLeft, true, false});
    }
  }

  const Window& w_;
  Painter& p_;
  ImageCatalog& images_;
};

}  // namespace

int EstimateTextWidth(std::string_view utf8, const Font& font) {
  int h = FontHeight(font);
  int width = 0;
  for (size_t i = 0; i < utf8.size();) {
    auto lead = static_cast<unsigned char>(utf8[i]);
    size_t len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    // Latin letters take about half of a CJK character's square.
    width += len == 1 ? (h * 11 + 19) / 20 : h;
    i += len;
  }
  return width;
}

Rect FrameArea(const Window& window, ControlId id, Size pictureSize) {
  if (id < 0 || id >= window.ControlCount() || window.At(id).kind != Kind::kPictureBox) return {};
  const Rect box = window.AbsoluteRect(id);
  const Rect area =
      Rect{box.left, box.top, pictureSize.width, pictureSize.height}.Intersect(window.VisibleRect(id));
  if (area.IsEmpty()) return {};
  for (const Rect& over : window.CoveringRects(id)) {
    if (!over.Intersect(area).IsEmpty()) return {};
  }
  for (ControlId child : window.At(id).children) {
    if (!window.VisibleRect(child).Intersect(area).IsEmpty()) return {};
  }
  return area;
}

void PaintWindow(const Window& window, Painter& painter, ImageCatalog& images, Rect dirty) {
  Rect clip = dirty.Intersect(window.ClientRect());
  if (clip.IsEmpty()) return;
  painter.PushClip(clip);
  painter.FillRect(clip, window.Form().background);
  ControlPainter(window, painter, images).PaintTree(window.Roots(), clip);
  painter.PopClip();
}

}  // namespace ui

// GdiPainter: rectangles, lines, pictures at their own size and text through
// GDI; the platform's parts through the theme; scaled and greyed pictures
// through a GDI+ Graphics made for that one picture. The clip is always a
// single rectangle (clips only ever intersect rectangles), so it is kept as a
// stack of rectangles and selected into the DC whenever it changes; a
// Graphics made afterwards starts from the DC's clip, so it is bound by the
// same rectangle without being told.
#include "ui/win32/painter_win.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstddef>
#include <string>

#include "ui/win_base/text_win.h"

namespace ui {
namespace {

// Tried in order for captions with no face, or a face that is not installed.
// SimSun is the classic Chinese UI face and carries hand-tuned 12 px bitmaps;
// YaHei is on every Windows since 7; the WenQuanYi face with embedded bitmaps
// is what Linux machines running the program under Wine usually have.
constexpr const wchar_t* kDefaultFaces[] = {L"SimSun", L"Microsoft YaHei",
                                            L"WenQuanYi Zen Hei Sharp"};

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one match is enough
}

// Whether a font family of that exact name is installed. Enumeration lists
// real families only, so a name the font mapper would quietly replace with
// something else counts as missing.
bool FaceInstalled(const std::wstring& face) {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return false;
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  std::copy(face.begin(), face.end(), lf.lfFaceName);
  bool found = false;
  EnumFontFamiliesExW(dc.Get(), &lf, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}


RECT ToRect(Rect r) { return RECT{r.left, r.top, r.Right(), r.Bottom()}; }

Rect Normalised(Rect r) { return r.IsEmpty() ? Rect{r.left, r.top, 0, 0} : r; }

// GDI and GDI+ only keep coordinates exact well inside +-2^27, and
// left + width can overflow an int. Nothing that far out is visible, so
// rectangles and points are cut to a range where neither problem exists.
constexpr long long kCoordLimit = 1 << 24;

int BoundedCoord(long long v) {
  return static_cast<int>(std::clamp(v, -kCoordLimit, kCoordLimit));
}

}  // namespace

Rect GdiPainter::Device(Rect r) const {
  // Cut before scaling too, so no edge overflows on its way to the device.
  const int left = BoundedCoord(r.left);
  const int top = BoundedCoord(r.top);
  const int right = BoundedCoord(static_cast<long long>(r.left) + r.width);
  const int bottom = BoundedCoord(static_cast<long long>(r.top) + r.height);
  const Rect at = scale_.ToDevice(Rect{left, top, right - left, bottom - top});
  const int l = BoundedCoord(static_cast<long long>(at.left) - origin_.x);
  const int t = BoundedCoord(static_cast<long long>(at.top) - origin_.y);
  const int rr = BoundedCoord(static_cast<long long>(at.Right()) - origin_.x);
  const int b = BoundedCoord(static_cast<long long>(at.Bottom()) - origin_.y);
  return {l, t, std::max(rr - l, 0), std::max(b - t, 0)};
}

Font ScaledFont(Font font, Scale scale) {
  font.heightPx = scale.ToDevice(font.heightPx > 0 ? font.heightPx : kDefaultFontHeight);
  return font;
}

HFONT FontCache::Get(const Font& font) {
  for (const Entry& e : entries_) {
    if (e.font == font) return e.handle.Get();
  }
  LOGFONTW lf{};
  lf.lfHeight = -(font.heightPx > 0 ? font.heightPx : kDefaultFontHeight);
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = GB2312_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::wstring face = ResolveFace(font.face);
  // A name longer than LOGFONT holds is cut, not rejected; the zeroed LOGFONT
  // supplies the terminator.
  std::copy_n(face.begin(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1), lf.lfFaceName);
  UniqueFont handle(CreateFontIndirectW(&lf));
  if (!handle) return nullptr;
  HFONT result = handle.Get();
  entries_.push_back(Entry{font, std::move(handle)});
  return result;
}

std::wstring FontCache::ResolveFace(const std::string& utf8Face) {
  std::wstring requested = Widen(utf8Face);
  if (FaceInstalled(requested)) return requested;
  if (!defaultFace_) {
    defaultFace_.emplace();  // none installed: an empty name lets the mapper choose
    for (const wchar_t* candidate : kDefaultFaces) {
      if (FaceInstalled(candidate)) {
        defaultFace_ = candidate;
        break;
      }
    }
  }
  return defaultFace_->empty() ? requested : *defaultFace_;
}

GdiPainter::GdiPainter(HDC dc, Point origin, ImageStore& images, FontCache& fonts,
                       ThemeParts& parts, Scale scale)
    : dc_(dc), origin_(origin), scale_(scale), images_(images), fonts_(fonts), parts_(parts) {
  UniqueRegion clip(CreateRectRgn(0, 0, 0, 0));
  if (clip && GetClipRgn(dc_, clip.Get()) == 1) originalClip_ = std::move(clip);
}

GdiPainter::~GdiPainter() {
  pictureSelection_.Restore();  // the picture goes back out before the DC goes
  brushSelection_.Restore();
  SelectClipRgn(dc_, originalClip_.Get());  // a null region removes the clip again
}

void GdiPainter::PushClip(Rect r) {
  r = Normalised(Device(r));
  clips_.push_back(clips_.empty() ? r : Normalised(clips_.back().Intersect(r)));
  ApplyClip();
}

void GdiPainter::PopClip() {
  if (clips_.empty()) return;  // unbalanced pop: keep the painter usable
  clips_.pop_back();
  ApplyClip();
}

bool GdiPainter::ClipIsEmpty() const { return !clips_.empty() && clips_.back().IsEmpty(); }

void GdiPainter::ApplyClip() {
  if (clips_.empty()) {
    SelectClipRgn(dc_, originalClip_.Get());
    return;
  }
  const Rect top = clips_.back();
  UniqueRegion region(CreateRectRgn(top.left, top.top, top.Right(), top.Bottom()));
  if (!region) return;
  if (originalClip_) CombineRgn(region.Get(), region.Get(), originalClip_.Get(), RGN_AND);
  SelectClipRgn(dc_, region.Get());  // the DC keeps a copy
}

void GdiPainter::Fill(Rect r, Color c) {
  // The DC's own brush takes any colour without a brush being made.
  if (!brushSelection_) brushSelection_ = SelectedObject(dc_, GetStockObject(DC_BRUSH));
  SetDCBrushColor(dc_, RGB(c.r, c.g, c.b));
  PatBlt(dc_, r.left, r.top, r.width, r.height, PATCOPY);
}

void GdiPainter::FillRect(Rect r, Color c) {
  r = Device(r);
  if (r.IsEmpty() || ClipIsEmpty()) return;
  Fill(r, c);
}

void GdiPainter::FrameRect(Rect r, Color c) {
  if (r.IsEmpty() || ClipIsEmpty()) return;
  const int right = BoundedCoord(static_cast<long long>(r.left) + r.width);
  const int bottom = BoundedCoord(static_cast<long long>(r.top) + r.height);
  r.left = BoundedCoord(r.left);
  r.top = BoundedCoord(r.top);
  r = {r.left, r.top, right - r.left, bottom - r.top};
  if (r.width <= 2 || r.height <= 2) {
    FillRect(r, c);  // no inside left to keep
    return;
  }
  // The outline is a 96-DPI pixel wide: as wide as one at the scale.
  FillRect({r.left, r.top, r.width, 1}, c);
  FillRect({r.left, r.Bottom() - 1, r.width, 1}, c);
  FillRect({r.left, r.top + 1, 1, r.height - 2}, c);
  FillRect({r.Right() - 1, r.top + 1, 1, r.height - 2}, c);
}

void GdiPainter::Line(Point from, Point to, Color c) {
  if (ClipIsEmpty()) return;
  if (from.x != to.x && from.y != to.y) return;  // only along an axis
  // A 96-DPI pixel wide, as FrameRect's sides; the ends cut first, as far
  // out as anything is drawn.
  const int left = BoundedCoord(std::min(from.x, to.x));
  const int top = BoundedCoord(std::min(from.y, to.y));
  FillRect({left, top, BoundedCoord(std::max(from.x, to.x)) - left + 1,
            BoundedCoord(std::max(from.y, to.y)) - top + 1},
           c);
}

void GdiPainter::DrawPart(Part part, PartState state, bool checked, Rect r) {
  r = Device(r);
  if (r.IsEmpty() || ClipIsEmpty()) return;
  parts_.Draw(dc_, part, state, checked, ToRect(r), scale_);
}

void GdiPainter::DrawImage(assets::Asset image, int frame, Rect dest) {
  dest = Device(dest);
  if (dest.IsEmpty() || ClipIsEmpty()) return;
  const DrawableFrame* picture = images_.Frame(image, frame, scale_);
  if (picture == nullptr) return;
  if (!CopyPicture(*picture, dest)) DrawFiltered(*picture, dest, false);
}

bool GdiPainter::CopyPicture(const DrawableFrame& picture, Rect dest) {
  // A picture drawn at its size for the scale lands on an edge-rounded
  // rectangle that may be a pixel wider or taller than it: that pixel
  // repeats its last column or row, and each source pixel still lands on
  // exactly one destination pixel.
  const Size size = picture.size;
  const int dw = dest.width - size.width;
  const int dh = dest.height - size.height;
  if (dw < -1 || dw > 1 || dh < -1 || dh > 1) return false;
  if (!pictureDc_) pictureDc_.Reset(CreateCompatibleDC(dc_));
  if (!pictureDc_) return true;
  pictureSelection_.Restore();
  pictureSelection_ = SelectedObject(pictureDc_.Get(), picture.bitmap);
  const auto copy = [&](int x, int y, int w, int h, int fromX, int fromY) {
    if (w <= 0 || h <= 0) return;
    if (picture.opaque) {
      BitBlt(dc_, x, y, w, h, pictureDc_.Get(), fromX, fromY, SRCCOPY);
    } else {
      const BLENDFUNCTION over{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      AlphaBlend(dc_, x, y, w, h, pictureDc_.Get(), fromX, fromY, w, h, over);
    }
  };
  const int w = std::min(dest.width, size.width);
  const int h = std::min(dest.height, size.height);
  copy(dest.left, dest.top, w, h, 0, 0);
  if (dw > 0) copy(dest.left + w, dest.top, 1, h, size.width - 1, 0);
  if (dh > 0) copy(dest.left, dest.top + h, w, 1, 0, size.height - 1);
  if (dw > 0 && dh > 0) copy(dest.left + w, dest.top + h, 1, 1, size.width - 1, size.height - 1);
  return true;
}

void GdiPainter::DrawGreyedImage(assets::Asset image, int frame, Rect dest) {
  dest = Device(dest);
  if (dest.IsEmpty() || ClipIsEmpty()) return;
  if (const DrawableFrame* picture = images_.Frame(image, frame, scale_)) {
    DrawFiltered(*picture, dest, true);
  }
}

void GdiPainter::DrawFiltered(const DrawableFrame& picture, Rect dest, bool greyed) {
  const Size size = picture.size;
  // GDI+ reads the same pixels, wrapped rather than copied.
  Gdiplus::Bitmap bitmap(size.width, size.height, size.width * 4, PixelFormat32bppPARGB,
                         reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(picture.pixels)));
  if (bitmap.GetLastStatus() != Gdiplus::Ok) return;
  // The filter reads past the edges, and with the default wrap mode it reads
  // transparent pixels there and draws a faint seam around the picture.
  Gdiplus::ImageAttributes attributes;
  attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
  if (greyed) {
    // Each colour becomes its luminance, then halfway to white: the face
    // keeps its shape and reads as unavailable, as the platform's own
    // disabled pictures do.
    constexpr Gdiplus::REAL kR = 0.299f / 2, kG = 0.587f / 2, kB = 0.114f / 2, kLift = 0.5f;
    Gdiplus::ColorMatrix matrix = {{
        {kR, kR, kR, 0, 0},
        {kG, kG, kG, 0, 0},
        {kB, kB, kB, 0, 0},
        {0, 0, 0, 1, 0},
        {kLift, kLift, kLift, 0, 1},
    }};
    attributes.SetColorMatrix(&matrix);
  }
  // GDI's batched calls land before GDI+ reads the DC; the Graphics ends
  // with this picture, before GDI draws on the DC again.
  GdiFlush();
  Gdiplus::Graphics g(dc_);
  g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
  g.DrawImage(&bitmap, Gdiplus::Rect(dest.left, dest.top, dest.width, dest.height), 0, 0,
              size.width, size.height, Gdiplus::UnitPixel, &attributes);
}

int GdiPainter::LineWidth(const std::wstring& text, const Font& font) {
  SelectedObject selected(dc_, fonts_.Get(font));
  SIZE extent{};
  const int length = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
  return GetTextExtentPoint32W(dc_, text.data(), length, &extent) ? extent.cx : 0;
}

Font GdiPainter::FittingLine(const std::wstring& text, const Font& font, Font scaled, int designWidth,
                             int width) {
  // Glyph widths do not grow in step with the font (small sizes carry
  // hand-tuned bitmaps, larger ones are drawn from outlines), so a line can
  // come out a few pixels wider than its scaled label and lose its last
  // character at the edge, where at 100 % it kept it. The line is drawn a
  // pixel smaller until it runs past its label no further than it does at
  // 100 % (scaled), and never smaller than at 100 %.
  // Measured only for a line that does not fit: painting at most scales
  // pays one measure per caption.
  int over = LineWidth(text, scaled) - width;
  if (over <= 0) return scaled;
  Font design = font;
  design.heightPx = font.heightPx > 0 ? font.heightPx : kDefaultFontHeight;
  const int allowed = scale_.ToDevice(std::max(0, LineWidth(text, design) - designWidth));
  while (scaled.heightPx > design.heightPx && over > allowed) {
    --scaled.heightPx;
    over = LineWidth(text, scaled) - width;
  }
  return scaled;
}

void GdiPainter::PaintText(std::string_view utf8, const Font& font, Color c, Rect r,
                               TextLayout layout) {
  const int designWidth = r.width;
  r = Device(r);
  if (utf8.empty() || r.IsEmpty() || ClipIsEmpty()) return;
  // The text stays inside r: a caption wholly outside the clip costs nothing.
  if (!clips_.empty() && r.Intersect(clips_.back()).IsEmpty()) return;
  std::wstring text = Widen(utf8);
  if (text.empty()) return;
  const int length = text.size() > static_cast<std::size_t>(INT_MAX)
                         ? INT_MAX
                         : static_cast<int>(text.size());

  Font scaled = ScaledFont(font, scale_);
  if (!layout.wrap && !scale_.IsIdentity()) scaled = FittingLine(text, font, scaled, designWidth, r.width);
  // The font goes back out before the cache could ever delete it.
  SelectedObject selectedFont(dc_, fonts_.Get(scaled));
  const COLORREF oldColor = SetTextColor(dc_, RGB(c.r, c.g, c.b));
  const int oldMode = SetBkMode(dc_, TRANSPARENT);

  UINT flags = DT_NOPREFIX | (layout.align == HAlign::kCenter ? DT_CENTER : DT_LEFT);
  RECT box = ToRect(r);
  if (!layout.wrap) {
    flags |= DT_SINGLELINE | (layout.vcenter ? DT_VCENTER : DT_TOP);
  } else {
    flags |= DT_WORDBREAK;
    if (layout.vcenter) {
      // DT_VCENTER only works on single lines: measure the wrapped block and
      // move its top down. A block taller than r starts at the top instead, so
      // the first lines stay readable.
      RECT measured = box;
      DrawTextW(dc_, text.data(), length, &measured, flags | DT_CALCRECT);
      const int blockHeight = measured.bottom - measured.top;
      if (blockHeight < r.height) box.top += (r.height - blockHeight) / 2;
    }
  }
  // Without DT_NOCLIP DrawTextW clips to the box, whose bottom stays r's.
  DrawTextW(dc_, text.data(), length, &box, flags);

  SetBkMode(dc_, oldMode);
  SetTextColor(dc_, oldColor);
}

}  // namespace ui

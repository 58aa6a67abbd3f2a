// The Painter the windows use. GDI draws rectangles, lines, pictures at their
// own size (a copy, or a blend for pictures with transparency) and text (GDI
// uses a CJK font's embedded small-size bitmaps, so 12 px Chinese stays sharp
// where GDI+ text blurs it); the platform's theme or frame controls draw the
// radio indicator and the spin arrows; GDI+ draws only what needs filtering
// (scaled and greyed pictures). A GDI+ Graphics lives for one such drawing
// and no longer: while one exists on a DC nothing may draw on that DC through
// GDI, and a Graphics keeps the clip the DC had when it was made, so one made
// earlier in a paint would cut away every later control it was not made for.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/model/painter.h"
#include "ui/model/scale.h"
#include "ui/win32/image_store_win.h"
#include "ui/win32/theme_parts_win.h"
#include "ui/win_base/gdiplus_session_win.h"
#include "ui/win_base/scoped_win.h"

namespace ui {

// GDI fonts by ui::Font, created on first use and kept for the life of the
// cache, so painting does not create and destroy fonts on every frame. Owned by
// the window (or the program) and handed to each painter.
class FontCache {
 public:
  FontCache() = default;
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  // The font for `font`; nullptr only when GDI cannot create one at all. A
  // face that is not installed, or none, gets the first installed face of a
  // list of CJK faces rather than whatever the font mapper substitutes: under
  // Wine the mapper's pick draws 12 px Chinese with strokes missing.
  HFONT Get(const Font& font);

 private:
  std::wstring ResolveFace(const std::string& utf8Face);

  struct Entry {
    Font font;
    UniqueFont handle;
  };
  std::vector<Entry> entries_;
  std::optional<std::wstring> defaultFace_;  // looked up once, on first need
};

// The font that draws `font` at the scale: its height in device pixels.
Font ScaledFont(Font font, Scale scale);

// Paints on `dc` (normally a memory DC holding a back buffer, with no mapping
// mode or viewport offset), whose pixel (0, 0) stands for the device pixel
// `origin` of the window: a buffer that holds only the part being repainted.
// What it is asked to draw is in 96-DPI pixels and is drawn at `scale`:
// edges converted, text in a font of the scaled height, pictures in their
// drawing for the scale, the platform's parts at its DPI. The DC's
// own clip region at construction bounds everything; the DC's clip, font,
// colours and background mode are put back on destruction. `images`, `fonts`
// and `parts` must outlive the painter.
class GdiPainter final : public Painter {
 public:
  GdiPainter(HDC dc, ImageStore& images, FontCache& fonts, ThemeParts& parts)
      : GdiPainter(dc, {}, images, fonts, parts) {}
  GdiPainter(HDC dc, Point origin, ImageStore& images, FontCache& fonts, ThemeParts& parts,
             Scale scale = {});
  ~GdiPainter() override;
  GdiPainter(const GdiPainter&) = delete;
  GdiPainter& operator=(const GdiPainter&) = delete;

  void PushClip(Rect r) override;
  void PopClip() override;
  void FillRect(Rect r, Color c) override;
  void FrameRect(Rect r, Color c) override;
  void Line(Point from, Point to, Color c) override;
  void DrawPart(Part part, PartState state, bool checked, Rect r) override;
  void DrawImage(assets::Asset image, int frame, Rect dest) override;
  void DrawGreyedImage(assets::Asset image, int frame, Rect dest) override;
  void PaintText(std::string_view utf8, const Font& font, Color c, Rect r,
                 TextLayout layout) override;

 private:
  void ApplyClip();
  bool ClipIsEmpty() const;
  void Fill(Rect r, Color c);  // r already in device pixels
  // A picture through GDI+, filtered to dest (device pixels); greyed when
  // asked.
  void DrawFiltered(const DrawableFrame& picture, Rect dest, bool greyed);
  // Window coordinates to the DC's pixels, cut to where GDI stays exact.
  Rect Device(Rect r) const;
  // A picture at its own size at dest's corner; false when the two sizes
  // differ by more than the rounding of dest's edges.
  bool CopyPicture(const DrawableFrame& picture, Rect dest);
  // One line's width in device pixels, in font (already scaled).
  int LineWidth(const std::wstring& text, const Font& font);
  // The scaled font a single line is drawn in: shrunk where the line would
  // run further past width than it runs past designWidth at 100 %.
  Font FittingLine(const std::wstring& text, const Font& font, Font scaled, int designWidth, int width);

  HDC dc_;
  Point origin_;
  Scale scale_;
  ImageStore& images_;
  FontCache& fonts_;
  ThemeParts& parts_;
  UniqueMemoryDc pictureDc_;  // holds the picture being drawn; made on first need
  SelectedObject pictureSelection_;
  SelectedObject brushSelection_;  // the DC brush, selected on the first fill
  UniqueRegion originalClip_;    // the DC's clip on entry; null when it had none
  std::vector<Rect> clips_;   // each entry already intersected with the one below
};

}  // namespace ui

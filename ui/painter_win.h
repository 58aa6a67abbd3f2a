// The Painter the windows use. GDI draws rectangles, lines, pictures at their
// own size (a copy, or a blend for pictures with transparency) and text (GDI
// uses a CJK font's embedded small-size bitmaps, so 12 px Chinese stays sharp
// where GDI+ text blurs it); GDI+ draws only what needs anti-aliasing or
// filtering (round shapes, triangles, scaled pictures), and is started only
// when a paint needs it, so an animation frame costs a copy. Both draw
// through one clip rectangle that the painter sets on the DC and on the
// Graphics together, so neither can draw outside it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/gdiplus_session_win.h"
#include "ui/image_store_win.h"
#include "ui/painter.h"
#include "ui/scoped_win.h"

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

// Paints on `dc` (normally a memory DC holding a back buffer, with no mapping
// mode or viewport offset), whose pixel (0, 0) stands for the point `origin`
// of the window: a buffer that holds only the part being repainted. The DC's
// own clip region at construction bounds everything; the DC's clip, font,
// colours and background mode are put back on destruction. `images` and
// `fonts` must outlive the painter.
class GdiPainter final : public Painter {
 public:
  GdiPainter(HDC dc, ImageStore& images, FontCache& fonts) : GdiPainter(dc, {}, images, fonts) {}
  GdiPainter(HDC dc, Point origin, ImageStore& images, FontCache& fonts);
  ~GdiPainter() override;
  GdiPainter(const GdiPainter&) = delete;
  GdiPainter& operator=(const GdiPainter&) = delete;

  void PushClip(Rect r) override;
  void PopClip() override;
  void FillRect(Rect r, Color c) override;
  void FrameRect(Rect r, Color c) override;
  void Line(Point from, Point to, Color c) override;
  void FillEllipse(Rect r, Color c) override;
  void FrameEllipse(Rect r, Color c) override;
  void FillTriangle(Point a, Point b, Point c, Color color) override;
  void DrawImage(assets::Asset image, int frame, Rect dest) override;
  void PaintText(std::string_view utf8, const Font& font, Color c, Rect r,
                 TextLayout layout) override;

 private:
  void ApplyClip();
  void ApplyGraphicsClip();
  bool ClipIsEmpty() const;
  // GDI+ for the next drawing, created on first need.
  Gdiplus::Graphics& Graphics();
  // Lets what GDI+ still holds land before GDI draws on the same pixels.
  void FlushGraphics();
  void Fill(Rect r, Color c);  // r already in device pixels
  void FillDeviceEllipse(Rect r, Color c);
  // Window coordinates to the DC's pixels, cut to where GDI stays exact.
  Rect Device(Rect r) const;
  Point Device(Point p) const;

  HDC dc_;
  Point origin_;
  ImageStore& images_;
  FontCache& fonts_;
  std::optional<Gdiplus::Graphics> graphics_;
  UniqueMemoryDc pictureDc_;  // holds the picture being drawn; made on first need
  SelectedObject pictureSelection_;
  SelectedObject brushSelection_;  // the DC brush, selected on the first fill
  UniqueRegion originalClip_;    // the DC's clip on entry; null when it had none
  std::vector<Rect> clips_;   // each entry already intersected with the one below
};

}  // namespace ui

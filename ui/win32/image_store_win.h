// The program's pictures, ready for GDI to draw at a window's scale. Each
// picture is opened from the RCDATA resource whose id is its assets::Asset
// value (its 2x drawing: that id plus assets::kDoubleScaleOffset) when it is
// first asked about, and only what is needed is decoded, when it is first
// drawn. At 100 % the 1x drawing is drawn, at 200 % the 2x one; for a scale
// between, the 2x drawing is resampled once, as it is decoded, and kept for
// that scale.
// Pixels are 32-bit premultiplied BGRA in a DIB section, which GDI copies or
// blends without conversion; an animation keeps its frames as palette
// indices (a quarter of the size) and writes the one being drawn into its DIB
// section. Use from the UI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "assets/assets.h"
#include "ui/model/painter.h"
#include "ui/model/scale.h"
#include "ui/win_base/gdiplus_session_win.h"
#include "ui/win_base/scoped_win.h"

namespace ui {

// A frame as GDI draws it: top-down premultiplied BGRA, width * 4 bytes a row.
struct DrawableFrame {
  Size size;
  HBITMAP bitmap = nullptr;  // the DIB section holding `pixels`
  std::uint32_t* pixels = nullptr;
  bool opaque = true;  // every alpha is 255: a plain copy draws it
};

// One picture, decoded as far as it has been drawn: a still whole, an
// animation first its first frame alone and then, once another frame is
// wanted, every frame.
class Picture {
 public:
  // Reads the header and the frame delays of PNG, JPEG, GIF, ICO or BMP bytes,
  // which must outlive the picture; GDI+ must be running. Garbage or
  // truncated data gives a picture of size {0, 0} that draws nothing. Given
  // a `size` other than its own, every frame is resampled to it as it is
  // decoded, with a high-quality filter.
  explicit Picture(std::span<const std::byte> bytes, Size size = {});
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  Size GetSize() const { return size_; }
  int FrameCount() const { return frameCount_; }
  // An animation's frame delay (index taken modulo the count), 0 for a still.
  int DelayMs(int frame) const;
  // The frame, index taken modulo the count (negative too), decoded on first
  // need; nullptr when the picture or that frame cannot be decoded. The
  // frames share one DIB section: what is returned holds until the next call.
  const DrawableFrame* Frame(int frame);
  // Bytes held for pixels: the DIB section and the palette-index frames.
  std::size_t PixelBytes() const;
  // Lets the decoded pixels go; they are decoded again when next drawn.
  void Trim();
  // Keeps only the frame last drawn (in the DIB section); the others are
  // decoded again when one is wanted.
  void Settle();

 private:
  // An animation frame as at most 256 colours and one index per pixel; a
  // frame with more colours keeps its full pixels.
  struct StoredFrame {
    bool decoded = false;
    bool failed = false;
    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> indices;
    std::vector<std::uint32_t> full;
    bool opaque = true;
  };

  bool Open();
  void Close();
  // Decodes the frame into `pixels`, which must hold PixelCount() values.
  bool DecodeInto(int frame, std::span<std::uint32_t> pixels);
  std::size_t PixelCount() const {
    return static_cast<std::size_t>(size_.width) * static_cast<std::size_t>(size_.height);
  }
  void Store(int frame);  // decodes an animation frame into frames_
  bool EnsureDib();

  std::span<const std::byte> bytes_;
  Size size_;        // as drawn
  Size sourceSize_;  // as stored
  int frameCount_ = 1;
  std::vector<int> delaysMs_;  // one per frame for an animation, empty for a still
  // The decoder, open only while decoding.
  ComPtr<IStream> stream_;
  std::unique_ptr<Gdiplus::Bitmap> source_;
  std::vector<StoredFrame> frames_;  // an animation's; empty for a still
  UniqueBitmap dib_;
  DrawableFrame drawable_;
  int inDib_ = -1;  // the frame the DIB section holds, or -1
  bool stillFailed_ = false;
};

class ImageStore final : public ImageCatalog {
 public:
  // Pictures come from the RT_RCDATA resources of `module` (nullptr: the exe),
  // which must stay loaded while the store lives. With a failed GDI+ session
  // every picture is missing.
  ImageStore(const GdiplusSession& session, HMODULE module);
  ~ImageStore() override;
  ImageStore(const ImageStore&) = delete;
  ImageStore& operator=(const ImageStore&) = delete;

  // The 1x drawing's: the size the forms lay out.
  Size ImageSize(assets::Asset image) override;
  int FrameCount(assets::Asset image) override;
  int FrameDelayMs(assets::Asset image, int frame) override;
  // See Picture::Frame, at the scale's size (ImageSize converted);
  // nullptr for a missing picture.
  const DrawableFrame* Frame(assets::Asset image, int frame, Scale scale = {});
  // Bytes held for the pixels of every picture opened so far.
  std::size_t PixelBytes() const;
  // Lets the picture's decoded pixels go, at every scale, until it is next
  // drawn.
  void Trim(assets::Asset image);
  void Settle(assets::Asset image) override;
  // Lets go of everything kept for a scale no window has any more.
  void Forget(Scale scale);

 private:
  Picture& Get(assets::Asset image, Scale scale = {});

  bool gdiplusOk_;
  HMODULE module_;
  std::map<std::pair<assets::Asset, int>, std::unique_ptr<Picture>> cache_;  // by DPI
};

}  // namespace ui

// The program's pictures as GDI+ bitmaps. Each picture is read from the RCDATA
// resource whose id is its assets::Asset value, decoded on first use and kept:
// every frame is converted once to 32-bit premultiplied ARGB, the format GDI+
// blends fastest, so painting never decodes. Use from the UI thread only.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "assets/assets.h"
#include "ui/gdiplus_session_win.h"
#include "ui/painter.h"

namespace ui {

// One decoded picture. An undecodable one has size {0, 0} and no frames.
struct DecodedImage {
  Size size;
  std::vector<std::unique_ptr<Gdiplus::Bitmap>> frames;  // PixelFormat32bppPARGB
  std::vector<int> delaysMs;  // one per frame for an animation, empty for a still
};

// Decodes PNG, JPEG, GIF, ICO or BMP bytes; GDI+ must be running. Garbage or
// truncated data gives the empty result, never a crash.
DecodedImage DecodeImage(std::span<const std::byte> bytes);

class ImageStore final : public ImageCatalog {
 public:
  // Pictures come from the RT_RCDATA resources of `module` (nullptr: the exe),
  // which must stay loaded while the store lives. With a failed GDI+ session
  // every picture is missing.
  ImageStore(const GdiplusSession& session, HMODULE module);
  ImageStore(const ImageStore&) = delete;
  ImageStore& operator=(const ImageStore&) = delete;

  Size ImageSize(assets::Asset image) override;
  int FrameCount(assets::Asset image) override;
  int FrameDelayMs(assets::Asset image, int frame) override;

  // The frame to draw, index taken modulo the frame count (negative too);
  // nullptr for a missing picture. Owned by the store.
  Gdiplus::Bitmap* Frame(assets::Asset image, int frame);

 private:
  const DecodedImage& Get(assets::Asset image);

  bool gdiplusOk_;
  HMODULE module_;
  std::map<assets::Asset, DecodedImage> cache_;
};

}  // namespace ui

// Decoding of the embedded pictures with GDI+. The resource bytes are copied
// into a memory stream (GDI+ reads the stream lazily, so it must live as long
// as the source image), every frame is converted to premultiplied ARGB through
// LockBits, and then the stream and the source image are dropped.
#include "ui/image_store_win.h"

#include <shlwapi.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <utility>

#include "ui/scoped_win.h"

namespace ui {
namespace {

// Spelt out here rather than taken from the import libraries, which do not all
// carry the GDI+ frame dimension GUIDs.
constexpr GUID kFrameDimensionTime = {
    0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};

// Browsers show a GIF frame with no delay, or a zero one, for 100 ms.
constexpr int kDefaultFrameDelayMs = 100;

// Far beyond any artwork; keeps width * height * 4 well inside an int stride.
constexpr UINT kMaxSide = 16384;

// RT_RCDATA, spelt wide whatever UNICODE says.
const wchar_t* const kRcData = MAKEINTRESOURCEW(10);

std::span<const std::byte> ResourceBytes(HMODULE module, int id) {
  if (id <= 0 || id > 0xFFFF) return {};  // not representable as an integer resource id
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), kRcData);
  if (info == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, info);  // module-owned; never freed
  if (loaded == nullptr) return {};
  const void* data = LockResource(loaded);
  const DWORD size = SizeofResource(module, info);
  if (data == nullptr || size == 0) return {};
  return {static_cast<const std::byte*>(data), size};
}

// Per-frame delays of an animation in ms, or empty when the image has no time
// dimension or no delay property. An ICO lists each of its sizes as a frame of
// another dimension, which must not make it play as an animation.
std::vector<int> FrameDelays(Gdiplus::Bitmap& image, UINT& frameCount) {
  frameCount = 1;
  const UINT dimensionCount = image.GetFrameDimensionsCount();
  if (dimensionCount == 0 || dimensionCount > 16) return {};
  std::vector<GUID> dimensions(dimensionCount);
  if (image.GetFrameDimensionsList(dimensions.data(), dimensionCount) != Gdiplus::Ok) return {};
  bool hasTime = false;
  for (const GUID& d : dimensions) hasTime = hasTime || IsEqualGUID(d, kFrameDimensionTime);
  if (!hasTime) return {};

  const UINT frames = image.GetFrameCount(&kFrameDimensionTime);
  const UINT itemSize = image.GetPropertyItemSize(PropertyTagFrameDelay);
  if (frames < 2 || itemSize < sizeof(Gdiplus::PropertyItem)) return {};
  // PropertyItem points into the same buffer, after the header; the buffer must
  // be aligned for it, which operator new guarantees.
  std::vector<std::uint64_t> buffer((itemSize + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
  auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
  if (image.GetPropertyItem(PropertyTagFrameDelay, itemSize, item) != Gdiplus::Ok) return {};

  const auto* values = static_cast<const std::uint8_t*>(item->value);
  const std::size_t valueCount =
      item->type == PropertyTagTypeLong && item->value != nullptr ? item->length / 4 : 0;
  std::vector<int> delays(frames, kDefaultFrameDelayMs);
  for (std::size_t i = 0; i < delays.size() && i < valueCount; ++i) {
    std::uint32_t centiseconds = 0;
    std::memcpy(&centiseconds, values + i * 4, 4);
    // Clamp so a hostile delay cannot overflow the int milliseconds.
    if (centiseconds != 0) delays[i] = static_cast<int>(std::min<std::uint32_t>(centiseconds, 3600000) * 10);
  }
  frameCount = frames;
  return delays;
}

// Copies the active frame of `source` into a new premultiplied bitmap; GDI+
// converts from whatever the source format is (indexed, 24-bit, ARGB).
std::unique_ptr<Gdiplus::Bitmap> ToPremultiplied(Gdiplus::Bitmap& source, UINT width,
                                                 UINT height) {
  auto frame = std::make_unique<Gdiplus::Bitmap>(static_cast<INT>(width),
                                                 static_cast<INT>(height),
                                                 PixelFormat32bppPARGB);
  if (frame->GetLastStatus() != Gdiplus::Ok) return nullptr;
  Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  Gdiplus::BitmapData in{};
  if (source.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &in) !=
      Gdiplus::Ok) {
    return nullptr;
  }
  Gdiplus::BitmapData out{};
  const bool locked = frame->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB,
                                      &out) == Gdiplus::Ok;
  if (locked) {
    for (UINT y = 0; y < height; ++y) {
      std::memcpy(static_cast<std::byte*>(out.Scan0) + static_cast<std::ptrdiff_t>(y) * out.Stride,
                  static_cast<const std::byte*>(in.Scan0) + static_cast<std::ptrdiff_t>(y) * in.Stride,
                  static_cast<std::size_t>(width) * 4);
    }
    frame->UnlockBits(&out);
  }
  source.UnlockBits(&in);
  return locked ? std::move(frame) : nullptr;
}

int WrapFrame(int frame, std::size_t count) {
  const int n = static_cast<int>(count);
  const int i = frame % n;
  return i < 0 ? i + n : i;
}

}  // namespace

DecodedImage DecodeImage(std::span<const std::byte> bytes) {
  if (bytes.empty() || bytes.size() > UINT_MAX) return {};
  // SHCreateMemStream hands over its one reference: attached, not added to.
  ComPtr<IStream> stream;
  stream.Attach(SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()),
                                  static_cast<UINT>(bytes.size())));
  if (!stream) return {};
  Gdiplus::Bitmap source(stream.Get());
  if (source.GetLastStatus() != Gdiplus::Ok) return {};
  const UINT width = source.GetWidth();
  const UINT height = source.GetHeight();
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return {};

  UINT frameCount = 1;
  std::vector<int> delays = FrameDelays(source, frameCount);
  DecodedImage image;
  for (UINT i = 0; i < frameCount; ++i) {
    if (!delays.empty() && source.SelectActiveFrame(&kFrameDimensionTime, i) != Gdiplus::Ok) {
      return {};
    }
    std::unique_ptr<Gdiplus::Bitmap> frame = ToPremultiplied(source, width, height);
    if (!frame) return {};
    image.frames.push_back(std::move(frame));
  }
  image.size = {static_cast<int>(width), static_cast<int>(height)};
  image.delaysMs = std::move(delays);
  return image;
}

ImageStore::ImageStore(const GdiplusSession& session, HMODULE module)
    : gdiplusOk_(session.Ok()), module_(module) {}

const DecodedImage& ImageStore::Get(assets::Asset image) {
  auto found = cache_.find(image);
  if (found != cache_.end()) return found->second;
  DecodedImage decoded;
  // A failed decode is cached too, so a broken picture costs one attempt.
  if (gdiplusOk_) decoded = DecodeImage(ResourceBytes(module_, static_cast<int>(image)));
  return cache_.emplace(image, std::move(decoded)).first->second;
}

Size ImageStore::ImageSize(assets::Asset image) { return Get(image).size; }

int ImageStore::FrameCount(assets::Asset image) {
  const DecodedImage& decoded = Get(image);
  return decoded.frames.empty() ? 1 : static_cast<int>(decoded.frames.size());
}

int ImageStore::FrameDelayMs(assets::Asset image, int frame) {
  const DecodedImage& decoded = Get(image);
  if (decoded.delaysMs.empty()) return 0;
  return decoded.delaysMs[static_cast<std::size_t>(WrapFrame(frame, decoded.delaysMs.size()))];
}

Gdiplus::Bitmap* ImageStore::Frame(assets::Asset image, int frame) {
  const DecodedImage& decoded = Get(image);
  if (decoded.frames.empty()) return nullptr;
  return decoded.frames[static_cast<std::size_t>(WrapFrame(frame, decoded.frames.size()))].get();
}

}  // namespace ui

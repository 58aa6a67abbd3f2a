// Decoding of the embedded pictures with GDI+: the resource bytes are copied
// into a memory stream that a GDI+ decoder reads, frames are converted to
// premultiplied ARGB through LockBits, and the decoder and its stream go
// again at once (a GIF decoder holds every frame's raster).
#include "ui/win32/image_store_win.h"

#include <shlwapi.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "ui/win_base/scoped_win.h"

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

// GDI+ converts from whatever the source format is (indexed, 24-bit, ARGB)
// straight into `pixels`: no copy of the whole picture in between.
bool ReadPixels(Gdiplus::Bitmap& source, Size size, std::uint32_t* pixels) {
  Gdiplus::Rect all(0, 0, size.width, size.height);
  Gdiplus::BitmapData out{};
  out.Width = static_cast<UINT>(size.width);
  out.Height = static_cast<UINT>(size.height);
  out.Stride = size.width * 4;
  out.PixelFormat = PixelFormat32bppPARGB;
  out.Scan0 = pixels;
  if (source.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                      PixelFormat32bppPARGB, &out) != Gdiplus::Ok) {
    return false;
  }
  source.UnlockBits(&out);
  return true;
}

// One drawing brought to another size with the best filter GDI+ has, once.
bool Resample(const std::uint32_t* from, Size fromSize, std::uint32_t* to, Size toSize) {
  Gdiplus::Bitmap source(fromSize.width, fromSize.height, fromSize.width * 4,
                         PixelFormat32bppPARGB,
                         reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(from)));
  Gdiplus::Bitmap target(toSize.width, toSize.height, toSize.width * 4, PixelFormat32bppPARGB,
                         reinterpret_cast<BYTE*>(to));
  if (source.GetLastStatus() != Gdiplus::Ok || target.GetLastStatus() != Gdiplus::Ok) return false;
  Gdiplus::Graphics g(&target);
  // The filter reads past the edges: mirrored there, no seam of
  // transparency creeps in around an opaque picture.
  Gdiplus::ImageAttributes edges;
  edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
  g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
  g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
  return g.DrawImage(&source, Gdiplus::Rect(0, 0, toSize.width, toSize.height), 0, 0,
                     fromSize.width, fromSize.height, Gdiplus::UnitPixel, &edges) == Gdiplus::Ok;
}

int WrapFrame(int frame, int count) {
  const int i = frame % count;
  return i < 0 ? i + count : i;
}

bool AllOpaque(std::span<const std::uint32_t> pixels) {
  for (std::uint32_t p : pixels) {
    if ((p >> 24) != 0xFF) return false;
  }
  return true;
}

}  // namespace

Picture::Picture(std::span<const std::byte> bytes, Size size) : bytes_(bytes) {
  if (!Open()) return;
  const UINT width = source_->GetWidth();
  const UINT height = source_->GetHeight();
  const bool sized = size.IsEmpty() || (size.width <= static_cast<int>(kMaxSide) &&
                                        size.height <= static_cast<int>(kMaxSide));
  if (width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && sized) {
    UINT frames = 1;
    delaysMs_ = FrameDelays(*source_, frames);
    sourceSize_ = {static_cast<int>(width), static_cast<int>(height)};
    size_ = size.IsEmpty() ? sourceSize_ : size;
    frameCount_ = static_cast<int>(frames);
    if (!delaysMs_.empty()) frames_.resize(frames);
  }
  Close();
}

Picture::~Picture() = default;

bool Picture::Open() {
  if (source_) return true;
  if (bytes_.empty() || bytes_.size() > UINT_MAX) return false;
  // SHCreateMemStream copies the bytes and hands over its one reference.
  // GDI+ reads the stream lazily, so it lives as long as the decoder does.
  stream_ = Adopt(SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes_.data()),
                                    static_cast<UINT>(bytes_.size())));
  if (!stream_) return false;
  source_ = std::make_unique<Gdiplus::Bitmap>(stream_.Get());
  if (source_->GetLastStatus() != Gdiplus::Ok) {
    Close();
    return false;
  }
  return true;
}

void Picture::Close() {
  source_.reset();
  stream_.Reset();
}

int Picture::DelayMs(int frame) const {
  if (delaysMs_.empty()) return 0;
  return delaysMs_[static_cast<std::size_t>(WrapFrame(frame, static_cast<int>(delaysMs_.size())))];
}

bool Picture::DecodeInto(int frame, std::span<std::uint32_t> pixels) {
  if (!source_ || pixels.size() != PixelCount()) return false;
  if (!delaysMs_.empty() &&
      source_->SelectActiveFrame(&kFrameDimensionTime, static_cast<UINT>(frame)) != Gdiplus::Ok) {
    return false;
  }
  if (sourceSize_ == size_) return ReadPixels(*source_, size_, pixels.data());
  std::vector<std::uint32_t> stored(static_cast<std::size_t>(sourceSize_.width) *
                                    static_cast<std::size_t>(sourceSize_.height));
  return ReadPixels(*source_, sourceSize_, stored.data()) &&
         Resample(stored.data(), sourceSize_, pixels.data(), size_);
}

void Picture::Store(int frame) {
  StoredFrame& stored = frames_[static_cast<std::size_t>(frame)];
  std::vector<std::uint32_t> pixels(PixelCount());
  if (!DecodeInto(frame, pixels)) {
    stored.failed = true;
    return;
  }
  stored.decoded = true;
  stored.opaque = AllOpaque(pixels);
  // Up to 256 colours become a palette and one byte a pixel.
  std::unordered_map<std::uint32_t, std::uint8_t> slots;
  stored.indices.resize(pixels.size());
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    auto [it, added] = slots.try_emplace(pixels[i], static_cast<std::uint8_t>(slots.size()));
    if (added && slots.size() > 256) {
      stored.indices = {};
      stored.full = std::move(pixels);
      return;
    }
    stored.indices[i] = it->second;
  }
  stored.palette.resize(slots.size());
  for (const auto& [colour, slot] : slots) stored.palette[slot] = colour;
}

bool Picture::EnsureDib() {
  if (dib_) return true;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size_.width;
  info.bmiHeader.biHeight = -size_.height;  // top-down, like the decoder's rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dib_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib_ || bits == nullptr) {
    dib_.Reset();
    return false;
  }
  drawable_ = {size_, dib_.Get(), static_cast<std::uint32_t*>(bits), true};
  return true;
}

const DrawableFrame* Picture::Frame(int frame) {
  if (size_.IsEmpty()) return nullptr;
  const std::size_t count = PixelCount();
  if (frames_.empty()) {  // a still: decoded once, straight into the DIB section
    if (inDib_ == 0) return &drawable_;
    const bool decoded = !stillFailed_ && Open() && EnsureDib() &&
                         DecodeInto(0, {drawable_.pixels, count});
    Close();
    if (!decoded) {
      stillFailed_ = true;
      dib_.Reset();
      drawable_ = {};
      return nullptr;
    }
    drawable_.opaque = AllOpaque({drawable_.pixels, count});
    inDib_ = 0;
    return &drawable_;
  }

  const int index = WrapFrame(frame, frameCount_);
  if (inDib_ == index) return &drawable_;
  StoredFrame& stored = frames_[static_cast<std::size_t>(index)];
  // The first frame alone while it is all that shows (a box that does not
  // play), kept in the DIB section only; once another is wanted, every frame,
  // so the decoder is opened once more and not at every frame.
  const bool firstOnly = index == 0 && !stored.decoded;
  if (!stored.decoded && !stored.failed) {
    if (Open()) {
      for (int i = 0; i < frameCount_; ++i) {
        StoredFrame& f = frames_[static_cast<std::size_t>(i)];
        if ((!firstOnly || i == 0) && !f.decoded && !f.failed) Store(i);
      }
    } else {
      stored.failed = true;
    }
    Close();
  }
  if (stored.failed || !EnsureDib()) return nullptr;
  if (!stored.full.empty()) {
    std::memcpy(drawable_.pixels, stored.full.data(), count * 4);
  } else {
    const std::uint32_t* palette = stored.palette.data();
    const std::uint8_t* in = stored.indices.data();
    for (std::size_t i = 0; i < count; ++i) drawable_.pixels[i] = palette[in[i]];
  }
  drawable_.opaque = stored.opaque;
  inDib_ = index;
  if (firstOnly) Settle();
  return &drawable_;
}

void Picture::Trim() {
  Settle();
  dib_.Reset();
  drawable_ = {};
  inDib_ = -1;
}

void Picture::Settle() {
  for (StoredFrame& f : frames_) {
    if (!f.failed) f = StoredFrame{};
  }
}

std::size_t Picture::PixelBytes() const {
  std::size_t bytes = dib_ ? static_cast<std::size_t>(size_.width) * size_.height * 4 : 0;
  for (const StoredFrame& f : frames_) {
    bytes += f.palette.size() * 4 + f.indices.size() + f.full.size() * 4;
  }
  return bytes;
}

ImageStore::ImageStore(const GdiplusSession& session, HMODULE module)
    : gdiplusOk_(session.Ok()), module_(module) {}

ImageStore::~ImageStore() = default;

Picture& ImageStore::Get(assets::Asset image, Scale scale) {
  const auto key = std::make_pair(image, scale.Dpi());
  auto found = cache_.find(key);
  if (found != cache_.end()) return *found->second;
  const auto bytes = [&](int id) {
    return gdiplusOk_ ? ResourceBytes(module_, id) : std::span<const std::byte>{};
  };
  const int id = static_cast<int>(image);
  std::unique_ptr<Picture> picture;
  if (scale.IsIdentity()) {
    picture = std::make_unique<Picture>(bytes(id));
  } else {
    // The 2x drawing, or the 1x one where a picture has none, brought to the
    // 1x size at this scale.
    const Size size = scale.ToDevice(Get(image).GetSize());
    std::span<const std::byte> drawing = bytes(id + assets::kDoubleScaleOffset);
    if (drawing.empty()) drawing = bytes(id);
    if (!size.IsEmpty()) picture = std::make_unique<Picture>(drawing, size);
  }
  // A picture that fails to open is kept too, so a broken one costs one attempt.
  if (!picture) picture = std::make_unique<Picture>(std::span<const std::byte>{});
  return *cache_.emplace(key, std::move(picture)).first->second;
}

Size ImageStore::ImageSize(assets::Asset image) { return Get(image).GetSize(); }

void ImageStore::Trim(assets::Asset image) {
  for (auto& [key, picture] : cache_) {
    if (key.first == image) picture->Trim();
  }
}

void ImageStore::Settle(assets::Asset image) {
  for (auto& [key, picture] : cache_) {
    if (key.first == image) picture->Settle();
  }
}

void ImageStore::Forget(Scale scale) {
  if (scale.IsIdentity()) return;  // the sizes the forms lay out come from these
  std::erase_if(cache_, [&](const auto& entry) { return entry.first.second == scale.Dpi(); });
}

int ImageStore::FrameCount(assets::Asset image) { return Get(image).FrameCount(); }

int ImageStore::FrameDelayMs(assets::Asset image, int frame) { return Get(image).DelayMs(frame); }

const DrawableFrame* ImageStore::Frame(assets::Asset image, int frame, Scale scale) {
  return Get(image, scale).Frame(frame);
}

std::size_t ImageStore::PixelBytes() const {
  std::size_t bytes = 0;
  for (const auto& [asset, picture] : cache_) bytes += picture->PixelBytes();
  return bytes;
}

}  // namespace ui

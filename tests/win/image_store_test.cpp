// ImageStore against the pictures embedded in this executable, and pictures from broken or hand-made bytes.
#include "assets/asset_sizes.h"
#include "ui/win32/image_store_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <set>
#include <vector>

namespace ui {
namespace {

using assets::Asset;

// Sizes as the asset table gives them.
using Expected = assets::AssetSize;
constexpr const auto& kExpected = assets::kAssetSizes;

class ImageStoreTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { session_ = std::make_unique<GdiplusSession>(); }
  static void TearDownTestSuite() { session_.reset(); }

  void SetUp() override { ASSERT_TRUE(session_->Ok()); }

  static std::unique_ptr<GdiplusSession> session_;
  ImageStore store_{*session_, GetModuleHandleW(nullptr)};  // its bitmaps go before GDI+ does
};

std::unique_ptr<GdiplusSession> ImageStoreTest::session_;

// A copy of one frame's pixels (the frames of an animation share theirs).
std::vector<std::uint32_t> Pixels(const DrawableFrame* frame) {
  if (frame == nullptr) return {};
  return {frame->pixels, frame->pixels + static_cast<std::size_t>(frame->size.width) * frame->size.height};
}

TEST_F(ImageStoreTest, TableCoversEveryAsset) {
  std::set<Asset> listed;
  for (const Expected& e : kExpected) listed.insert(e.asset);
  for (Asset a : assets::kAllAssets) {
    EXPECT_EQ(listed.count(a), 1u) << "asset " << static_cast<int>(a) << " has no expectation";
  }
  EXPECT_EQ(listed.size(), std::size(assets::kAllAssets));
}

// At 100 %, at 200 % (the 2x drawings) and between (resampled from them).
TEST_F(ImageStoreTest, EveryAssetDecodesAtItsDocumentedSizeAtEveryScale) {
  for (const Expected& e : kExpected) {
    for (const ui::Scale scale : {ui::Scale(96), ui::Scale(144), ui::Scale(192)}) {
      SCOPED_TRACE(static_cast<int>(e.asset) * 1000 + scale.Dpi());
      EXPECT_EQ(store_.ImageSize(e.asset), (Size{e.width, e.height}));
      const DrawableFrame* frame = store_.Frame(e.asset, 0, scale);
      ASSERT_NE(frame, nullptr);
      EXPECT_EQ(frame->size, scale.ToDevice(Size{e.width, e.height}));
      BITMAP dib{};
      ASSERT_EQ(GetObjectW(frame->bitmap, sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
      EXPECT_EQ(dib.bmBitsPixel, 32);
      EXPECT_EQ(dib.bmBits, frame->pixels);
      const auto pixels = Pixels(frame);  // premultiplied: no colour channel above its alpha
      EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t p) {
        return ((p >> 16) & 0xFF) <= p >> 24 && ((p >> 8) & 0xFF) <= p >> 24 && (p & 0xFF) <= p >> 24;
      }));
    }
  }
}

TEST_F(ImageStoreTest, OnlyWhatIsDrawnIsDecoded) {
  // Opening a picture answers its size, frames and delays without decoding.
  EXPECT_EQ(store_.FrameCount(Asset::kTaskAnim), 24);
  EXPECT_EQ(store_.ImageSize(Asset::kHeaderLeft), (Size{752, 152}));
  EXPECT_EQ(store_.PixelBytes(), 0u);
  // The first frame of an animation that does not play: its DIB section alone.
  ASSERT_NE(store_.Frame(Asset::kTaskAnim, 0), nullptr);
  EXPECT_EQ(store_.PixelBytes(), 200u * 200 * 4);
  // Another frame wanted: every frame, as indices, a quarter of their full pixels each.
  const std::vector<std::uint32_t> third = Pixels(store_.Frame(Asset::kTaskAnim, 3));
  EXPECT_GT(store_.PixelBytes(), 200u * 200 * 4 + 24 * 200 * 200);
  EXPECT_LT(store_.PixelBytes(), 200u * 200 * 4 + 24 * (200 * 200 + 256 * 4));
  // Stopped, the frame shown stays in the DIB section alone and draws the same.
  store_.Settle(Asset::kTaskAnim);
  EXPECT_EQ(store_.PixelBytes(), 200u * 200 * 4);
  EXPECT_EQ(Pixels(store_.Frame(Asset::kTaskAnim, 3)), third);
  // Trimmed, it holds nothing, and draws the same again.
  store_.Trim(Asset::kTaskAnim);
  EXPECT_EQ(store_.PixelBytes(), 0u);
  EXPECT_EQ(Pixels(store_.Frame(Asset::kTaskAnim, 3)), third);
}

// A still picture has one frame and no delay (an ICO lists sizes as frames); an animation several, each its own.
TEST_F(ImageStoreTest, StillPicturesHaveOneFrameAndAnimationsSeveralDistinctOnes) {
  for (const Expected& e : kExpected) {
    SCOPED_TRACE(static_cast<int>(e.asset));
    const int count = store_.FrameCount(e.asset);
    if (!e.animated) {
      EXPECT_EQ(count, 1);
      EXPECT_EQ(store_.FrameDelayMs(e.asset, 0), 0);
      continue;
    }
    EXPECT_GT(count, 1);
    // Without selecting each frame before copying it, every frame would be the first.
    std::vector<std::vector<std::uint32_t>> frames;
    for (int i = 0; i < count; ++i) {
      EXPECT_GT(store_.FrameDelayMs(e.asset, i), 0) << "frame " << i;
      frames.push_back(Pixels(store_.Frame(e.asset, i)));
    }
    EXPECT_NE(std::count(frames.begin(), frames.end(), frames[0]), count);
    // Shown again from the stored indices, each frame is what it was.
    for (int i = count - 1; i >= 0; --i) {
      EXPECT_EQ(Pixels(store_.Frame(e.asset, i)), frames[static_cast<std::size_t>(i)]) << i;
    }
  }
}

TEST_F(ImageStoreTest, FrameIndexWrapsAroundTheCountBothWays) {
  const int count = store_.FrameCount(Asset::kLinkAnim);
  ASSERT_GT(count, 1);
  const auto frame = [&](Asset a, int i) { return Pixels(store_.Frame(a, i)); };
  EXPECT_EQ(frame(Asset::kLinkAnim, count), frame(Asset::kLinkAnim, 0));
  EXPECT_EQ(frame(Asset::kLinkAnim, -1), frame(Asset::kLinkAnim, count - 1));
  EXPECT_NE(frame(Asset::kLinkAnim, 1), frame(Asset::kLinkAnim, 0));
  EXPECT_EQ(frame(Asset::kCheckUp, 7), frame(Asset::kCheckUp, 0));
  EXPECT_EQ(store_.FrameDelayMs(Asset::kLinkAnim, -1), store_.FrameDelayMs(Asset::kLinkAnim, count - 1));
}

TEST_F(ImageStoreTest, MissingResourceIsAnEmptyStillPicture) {
  // 0x10000 past a real id: cut to 16 bits it would name that picture.
  const Asset pastSixteenBits = static_cast<Asset>(0x10000 + static_cast<int>(Asset::kCheckUp));
  for (Asset a : {static_cast<Asset>(999), Asset::kNone, static_cast<Asset>(-5), static_cast<Asset>(70000),
                  pastSixteenBits}) {
    SCOPED_TRACE(static_cast<int>(a));
    EXPECT_EQ(store_.ImageSize(a), (Size{0, 0}));
    EXPECT_EQ(store_.FrameCount(a), 1);
    EXPECT_EQ(store_.FrameDelayMs(a, 0), 0);
    EXPECT_EQ(store_.Frame(a, 0), nullptr);
  }
}

TEST_F(ImageStoreTest, BrokenBytesDecodeToNothing) {
  const char garbage[] = "definitely not a picture, just some text bytes";
  const std::byte png[] = {std::byte{0x89}, std::byte{'P'}, std::byte{'N'}, std::byte{'G'},
                           std::byte{0x0D}, std::byte{0x0A}, std::byte{0x1A}, std::byte{0x0A}};
  const std::span<const std::byte> cases[] = {
      {},
      std::as_bytes(std::span(garbage)),
      png,  // a PNG signature with nothing after it
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Picture picture(cases[i]);
    EXPECT_EQ(picture.GetSize(), (Size{0, 0})) << i;
    EXPECT_EQ(picture.Frame(0), nullptr) << i;
    EXPECT_EQ(picture.DelayMs(0), 0) << i;
  }
}

// A 1x1 GIF of two colours, a frame per entry: the pixel's palette index and the delay in 1/100 s.
struct GifFrame { int index, delayCentiseconds; };
std::vector<std::byte> TinyGif(std::initializer_list<GifFrame> frames) {
  std::vector<unsigned char> b = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0,
                                  0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF};
  for (const GifFrame& f : frames) {
    const unsigned char delayLo = static_cast<unsigned char>(f.delayCentiseconds & 0xFF);
    const unsigned char delayHi = static_cast<unsigned char>(f.delayCentiseconds >> 8);
    // Graphic control extension, image descriptor, LZW clear / pixel / end in 3-bit codes.
    const unsigned char lzw = f.index == 0 ? 0x44 : 0x4C;
    b.insert(b.end(), {0x21, 0xF9, 4, 0, delayLo, delayHi, 0, 0,
                       0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0,
                       2, 2, lzw, 0x01, 0});
  }
  b.push_back(0x3B);
  std::vector<std::byte> out(b.size());
  std::memcpy(out.data(), b.data(), b.size());
  return out;
}

// Delays are in 1/100 s, 0 meaning 100 ms; a GIF of one frame is a still picture.
TEST_F(ImageStoreTest, GifDelaysAreCentisecondsAndOneFrameIsStill) {
  const std::vector<std::byte> gif = TinyGif({{0, 0}, {1, 25}, {0, 7}});
  Picture image(gif);
  EXPECT_EQ(image.GetSize(), (Size{1, 1}));
  ASSERT_EQ(image.FrameCount(), 3);
  EXPECT_EQ((std::vector<int>{image.DelayMs(0), image.DelayMs(1), image.DelayMs(2)}),
            (std::vector<int>{100, 250, 70}));
  EXPECT_NE(Pixels(image.Frame(0)), Pixels(image.Frame(1)));
  EXPECT_EQ(Pixels(image.Frame(0)), Pixels(image.Frame(2)));
  const std::vector<std::byte> still = TinyGif({{1, 50}});
  Picture one(still);
  EXPECT_EQ(one.GetSize(), (Size{1, 1}));
  EXPECT_EQ(one.FrameCount(), 1);
  EXPECT_EQ(one.DelayMs(0), 0);
  EXPECT_NE(one.Frame(0), nullptr);
}

TEST_F(ImageStoreTest, TruncatedPicturesGiveWholeFramesOrNone) {
  for (const Expected& e : kExpected) {
    HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(static_cast<int>(e.asset)), MAKEINTRESOURCEW(10));
    ASSERT_NE(info, nullptr);
    const auto* data = static_cast<const std::byte*>(LockResource(LoadResource(nullptr, info)));
    const std::size_t size = SizeofResource(nullptr, info);
    for (std::size_t cut : {std::size_t{16}, size / 2, size - 1}) {
      SCOPED_TRACE(::testing::Message() << static_cast<int>(e.asset) << " cut at " << cut);
      // Opened lazily, a cut picture may fail only at a frame: then whole or missing, never a crash.
      Picture image({data, cut});
      if (image.GetSize().IsEmpty()) {
        EXPECT_EQ(image.Frame(0), nullptr);
      } else {
        EXPECT_EQ(image.GetSize(), (Size{e.width, e.height}));
        for (int i = 0; i < image.FrameCount(); ++i) {
          if (const DrawableFrame* frame = image.Frame(i)) {
            EXPECT_EQ(frame->size, image.GetSize());
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace ui

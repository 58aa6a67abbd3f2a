// GdiPainter painting into a 32-bit DIB section, checked pixel by pixel:
// shapes cover exactly their rectangles, clips nest and never leak (for GDI
// text, the platform's parts and GDI+ pictures alike), pictures land 1:1, text
// is real CJK ink in the right place. Also the UTF-8 conversions the text path
// depends on.
#include "ui/win32/painter_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "ui/win_base/text_win.h"

namespace ui {
namespace {

using assets::Asset;

constexpr int kWidth = 240;
constexpr int kHeight = 160;
// Magenta appears in no artwork and no text colour, so any change shows.
constexpr Color kBackground = Rgb(255, 0, 255);

// The area of the surface that differs from the background.
struct Ink {
  bool any = false;
  Rect bounds;
};

class PainterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { session_ = std::make_unique<GdiplusSession>(); }
  static void TearDownTestSuite() { session_.reset(); }

  void SetUp() override {
    ASSERT_TRUE(session_->Ok());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dib_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib_, nullptr);
    pixels_ = static_cast<std::uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc_, nullptr);
    oldBitmap_ = SelectObject(dc_, dib_);
    Clear();
    images_ = std::make_unique<ImageStore>(*session_, GetModuleHandleW(nullptr));
    fonts_ = std::make_unique<FontCache>();
  }

  void TearDown() override {
    fonts_.reset();
    images_.reset();
    if (dc_ != nullptr) {
      SelectObject(dc_, oldBitmap_);
      DeleteDC(dc_);
    }
    if (dib_ != nullptr) DeleteObject(dib_);
  }

  void Clear() {
    const std::uint32_t bg = (kBackground.r << 16) | (kBackground.g << 8) | kBackground.b;
    std::fill(pixels_, pixels_ + kWidth * kHeight, bg);
  }

  // Runs `draw` on a painter that is destroyed before the pixels are read, as
  // a window's paint handler does before it blits.
  void Paint(const std::function<void(Painter&)>& draw) {
    {
      GdiPainter painter(dc_, *images_, *fonts_, parts_);
      draw(painter);
    }
    GdiFlush();
  }

  Color At(int x, int y) const {
    const std::uint32_t p = pixels_[y * kWidth + x];
    return Rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }

  bool IsDark(int x, int y) const {
    const Color c = At(x, y);
    return c.r < 128 && c.g < 128 && c.b < 128;
  }

  // Bounding box of every pixel that is not the background.
  Ink InkBounds() const {
    Ink ink;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if (At(x, y) != kBackground) {
          ink.bounds = ink.any ? ink.bounds.Union({x, y, 1, 1}) : Rect{x, y, 1, 1};
          ink.any = true;
        }
      }
    }
    return ink;
  }

  // Every pixel outside `area` is still the background.
  ::testing::AssertionResult UntouchedOutside(Rect area) const {
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if (!area.Contains({x, y}) && At(x, y) != kBackground) {
          return ::testing::AssertionFailure() << "pixel " << x << "," << y << " changed";
        }
      }
    }
    return ::testing::AssertionSuccess();
  }

  ::testing::AssertionResult Filled(Rect area, Color c) const {
    for (int y = area.top; y < area.Bottom(); ++y) {
      for (int x = area.left; x < area.Right(); ++x) {
        if (At(x, y) != c) {
          return ::testing::AssertionFailure() << "pixel " << x << "," << y << " not filled";
        }
      }
    }
    return ::testing::AssertionSuccess();
  }

  static std::unique_ptr<GdiplusSession> session_;
  HBITMAP dib_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  std::uint32_t* pixels_ = nullptr;
  std::unique_ptr<ImageStore> images_;
  std::unique_ptr<FontCache> fonts_;
  ThemeParts parts_;
};

std::unique_ptr<GdiplusSession> PainterTest::session_;

constexpr Rect kWhole{0, 0, kWidth, kHeight};
const std::string kCaption = "\xe7\xab\x8b\xe5\x8d\xb3\xe5\x85\xb3\xe6\x9c\xba";  // 立即关机

TEST_F(PainterTest, FillAndFrameCoverExactlyTheirPixels) {
  Paint([&](Painter& p) {
    p.FillRect({10, 20, 30, 15}, kGreen);
    p.FrameRect({60, 10, 20, 12}, kRed);
  });
  EXPECT_TRUE(Filled({10, 20, 30, 15}, kGreen));
  EXPECT_TRUE(Filled({60, 10, 20, 1}, kRed));
  EXPECT_TRUE(Filled({60, 21, 20, 1}, kRed));
  EXPECT_TRUE(Filled({60, 10, 1, 12}, kRed));
  EXPECT_TRUE(Filled({79, 10, 1, 12}, kRed));
  EXPECT_TRUE(Filled({61, 11, 18, 10}, kBackground));
  EXPECT_TRUE(Filled({60, 22, 20, 13}, kBackground));  // nothing below its bottom edge
  EXPECT_TRUE(UntouchedOutside(Rect{10, 20, 30, 15}.Union({60, 10, 20, 12})));
}

TEST_F(PainterTest, LineIsOnePixelWideBetweenItsEnds) {
  Paint([&](Painter& p) {
    p.Line({10, 50}, {40, 50}, kBlack);
    p.Line({60, 10}, {60, 40}, kBlack);
  });
  // Whether the last pixel is drawn differs between renderers; the rest not.
  EXPECT_TRUE(Filled({11, 50, 29, 1}, kBlack));
  EXPECT_TRUE(Filled({60, 11, 1, 29}, kBlack));
  EXPECT_TRUE(UntouchedOutside(Rect{10, 50, 31, 1}.Union({60, 10, 1, 31})));
  for (Rect beside : {Rect{10, 49, 31, 1}, {10, 51, 31, 1}, {41, 50, 19, 1}, {59, 10, 1, 31}, {61, 10, 1, 31},
                      {60, 41, 1, 9}}) {
    EXPECT_TRUE(Filled(beside, kBackground)) << beside.left << "," << beside.top;  // one pixel wide, no further
  }
}

TEST_F(PainterTest, NestedClipsIntersectAndPopRestoresTheOuterOne) {
  Paint([&](Painter& p) {
    p.PushClip({0, 0, 100, 100});
    p.PushClip({50, 50, 100, 100});
    p.FillRect(kWhole, kRed);
    p.PopClip();
    p.FillRect({0, 0, 40, 200}, kGreen);
    p.PopClip();
    p.PopClip();  // one too many: ignored
    p.FillRect({200, 150, 100, 100}, kBlack);
  });
  EXPECT_TRUE(Filled({50, 50, 50, 50}, kRed));
  EXPECT_TRUE(Filled({0, 0, 40, 100}, kGreen));
  EXPECT_TRUE(Filled({200, 150, 40, 10}, kBlack));
  EXPECT_TRUE(Filled({40, 0, 60, 50}, kBackground));
  EXPECT_TRUE(Filled({0, 100, 200, 60}, kBackground));
  EXPECT_TRUE(Filled({100, 0, 140, 150}, kBackground));
}

TEST_F(PainterTest, EveryPrimitiveStaysInsideTheClip) {
  // GDI text, the theme's parts and GDI+ pictures must all see the clip.
  const Rect clip{30, 20, 50, 40};
  std::string longCaption;
  for (int i = 0; i < 40; ++i) longCaption += kCaption;
  Paint([&](Painter& p) {
    p.PushClip(clip);
    p.FrameRect(kWhole, kBlack);
    p.DrawPart(Part::kRadio, PartState::kNormal, true, {0, 0, 120, 120});
    p.DrawPart(Part::kSpinDown, PartState::kPressed, false, {0, 0, 120, 120});
    p.DrawImage(Asset::kHeaderLeft, 0, {0, 0, 200, 100});
    p.DrawGreyedImage(Asset::kHeaderLeft, 0, {0, 0, 200, 100});
    p.FillRect(clip, kBackground);  // wipe, so only the text below is left
    p.PaintText(longCaption, Font{20, true, ""}, kBlack, kWhole, TextLayout{});
  });
  EXPECT_TRUE(InkBounds().any);
  EXPECT_TRUE(UntouchedOutside(clip));
}

TEST_F(PainterTest, NothingIsDrawnIntoAnEmptyClipOrAnEmptyRectangle) {
  Paint([&](Painter& p) {
    for (Rect r : {Rect{10, 10, 0, 20}, Rect{10, 10, 20, 0}, Rect{50, 50, -10, -10}}) {
      p.FillRect(r, kBlack);
      p.FrameRect(r, kBlack);
      p.DrawPart(Part::kRadio, PartState::kNormal, true, r);
      p.DrawImage(Asset::kCheckUp, 0, r);
      p.DrawGreyedImage(Asset::kCheckUp, 0, r);
      p.PaintText(kCaption, Font{}, kBlack, r, TextLayout{});
    }
    p.PushClip({0, 0, 20, 20});
    p.PushClip({30, 30, 20, 20});  // disjoint: nothing is left
    p.FillRect(kWhole, kBlack);
    p.Line({0, 5}, {kWidth, 5}, kBlack);
    p.DrawPart(Part::kSpinUp, PartState::kNormal, false, {0, 0, 20, 12});
    p.DrawImage(Asset::kCheckUp, 0, {0, 0, 137, 41});
    p.PaintText(kCaption, Font{}, kBlack, kWhole, TextLayout{});
  });
  EXPECT_FALSE(InkBounds().any);
}

TEST_F(PainterTest, CoordinatesNearTheIntLimitsAreCutNotOverflowed) {
  constexpr int kMax = std::numeric_limits<int>::max();
  constexpr int kMin = std::numeric_limits<int>::min();
  Paint([&](Painter& p) {
    p.PushClip({kMin, kMin, kMax, kMax});  // ends at -1: nothing visible
    p.FillRect(kWhole, kRed);
    p.PopClip();
    p.PushClip({0, 0, kMax, kMax});
    p.FillRect({kMax - 5, 0, 100, 10}, kRed);  // starts far right of the surface
    p.FillRect({10, 10, kMax, kMax}, kGreen);
    p.Line({kMin, 5}, {kMax, 5}, kBlack);
    p.DrawImage(Asset::kCheckUp, 0, {kMax - 1, kMax - 1, kMax, kMax});
    p.PaintText(kCaption, Font{}, kBlack, {kMax - 10, 0, kMax, kMax}, TextLayout{});
  });
  EXPECT_TRUE(Filled({10, 10, kWidth - 10, kHeight - 10}, kGreen));
  EXPECT_TRUE(Filled({0, 5, kWidth, 1}, kBlack));
  EXPECT_TRUE(UntouchedOutside(Rect{10, 10, kWidth, kHeight}.Union({0, 5, kWidth, 1})));
}

TEST_F(PainterTest, ImageAtItsOwnSizeIsCopiedPixelForPixel) {
  // An opaque JPEG, so blending cannot change any pixel.
  const Rect dest{30, 40, 137, 41};
  ASSERT_EQ(images_->ImageSize(Asset::kCheckUp), (Size{137, 41}));
  Paint([&](Painter& p) { p.DrawImage(Asset::kCheckUp, 0, dest); });

  const DrawableFrame* frame = images_->Frame(Asset::kCheckUp, 0);
  ASSERT_NE(frame, nullptr);
  int mismatches = 0;
  for (int y = 0; y < dest.height; ++y) {
    for (int x = 0; x < dest.width; ++x) {
      const std::uint32_t src = frame->pixels[y * dest.width + x];
      if (At(dest.left + x, dest.top + y) != Rgb((src >> 16) & 0xFF, (src >> 8) & 0xFF, src & 0xFF)) {
        ++mismatches;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_TRUE(UntouchedOutside(dest));

  // On a rectangle a pixel wider and taller, as edge rounding makes one,
  // the last column and row are repeated into it, the corner too.
  const auto source = [&](int x, int y) {
    const std::uint32_t src = frame->pixels[y * 137 + x];
    return Rgb((src >> 16) & 0xFF, (src >> 8) & 0xFF, src & 0xFF);
  };
  Paint([&](Painter& p) { p.DrawImage(Asset::kCheckUp, 0, {30, 40, 138, 42}); });
  frame = images_->Frame(Asset::kCheckUp, 0);
  ASSERT_NE(frame, nullptr);
  mismatches = 0;
  for (int y = 0; y < 41; ++y) mismatches += At(30 + 137, 40 + y) != source(136, y);
  for (int x = 0; x < 137; ++x) mismatches += At(30 + x, 40 + 41) != source(x, 40);
  mismatches += At(30 + 137, 40 + 41) != source(136, 40);
  EXPECT_EQ(mismatches, 0);
}

TEST_F(PainterTest, ScaledImageFillsItsDestinationOnly) {
  const Rect dest{10, 10, 60, 20};
  Paint([&](Painter& p) { p.DrawImage(Asset::kHeaderLeft, 0, dest); });
  EXPECT_TRUE(UntouchedOutside(dest));
  // Opaque picture: the scaled copy covers the destination. The outermost
  // row and column are left out of the check because Wine's scaled DrawImage
  // starts one pixel late there.
  const Rect inner{dest.left + 1, dest.top + 1, dest.width - 2, dest.height - 2};
  int background = 0;
  for (int y = inner.top; y < inner.Bottom(); ++y) {
    for (int x = inner.left; x < inner.Right(); ++x) background += At(x, y) == kBackground;
  }
  EXPECT_EQ(background, 0);
}

// A back buffer may hold only the part of the window being repainted: the
// painter then puts window point (x, y) at (x - origin.x, y - origin.y). Every
// primitive must land exactly where it would in a whole-window buffer (a
// scaled picture aside: GDI+'s filter under Wine starts at a position-
// dependent phase).
TEST_F(PainterTest, PaintingFromAnOriginMatchesTheWholeSurface) {
  const auto scene = [&](Painter& p) {
    p.PushClip({20, 10, 200, 140});
    p.FillRect({25, 15, 50, 30}, Rgb(10, 200, 30));
    p.FrameRect({80, 15, 40, 30}, kBlack);
    p.Line({20, 60}, {150, 60}, kBlack);
    p.DrawPart(Part::kRadio, PartState::kNormal, true, {130, 20, 13, 13});
    p.DrawPart(Part::kSpinDown, PartState::kHot, false, {170, 20, 20, 12});
    p.DrawImage(Asset::kResultIcon, 0, {100, 70, 72, 72});
    p.PaintText(kCaption, Font{}, kBlack, {20, 140, 200, 20}, {HAlign::kLeft, false, false});
    p.PopClip();
  };
  Paint(scene);
  const std::vector<std::uint32_t> whole(pixels_, pixels_ + kWidth * kHeight);

  // The same scene into the lower right part only, from its own origin.
  const Point origin{70, 50};
  Clear();
  {
    GdiPainter painter(dc_, origin, *images_, *fonts_, parts_);
    scene(painter);
  }
  GdiFlush();
  int mismatches = 0;
  for (int y = 0; y < kHeight - origin.y; ++y) {
    for (int x = 0; x < kWidth - origin.x; ++x) {
      mismatches += pixels_[y * kWidth + x] != whole[(y + origin.y) * kWidth + x + origin.x];
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST_F(PainterTest, UnknownImageDrawsNothing) {
  Paint([&](Painter& p) {
    p.DrawImage(Asset::kNone, 0, {0, 0, 50, 50});
    p.DrawImage(static_cast<Asset>(999), 3, {0, 0, 50, 50});
  });
  EXPECT_FALSE(InkBounds().any);
}

TEST_F(PainterTest, TextLayoutPlacesTheBlockInsideItsRectangle) {
  const Rect r{10, 10, 220, 140};
  struct Case {
    TextLayout layout;
    bool centredX;
    bool centredY;
  };
  const Case cases[] = {
      {{HAlign::kLeft, false, true}, false, false},
      {{HAlign::kCenter, true, true}, true, true},
      {{HAlign::kLeft, true, false}, false, true},
      {{HAlign::kCenter, false, false}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "centredX " << c.centredX << " centredY " << c.centredY
                                      << " wrap " << c.layout.wrap);
    Clear();
    Paint([&](Painter& p) { p.PaintText(kCaption, Font{16, false, ""}, kBlack, r, c.layout); });
    const Ink ink = InkBounds();
    ASSERT_TRUE(ink.any);
    EXPECT_TRUE(UntouchedOutside(r));
    const int midX = ink.bounds.left + ink.bounds.width / 2;
    const int midY = ink.bounds.top + ink.bounds.height / 2;
    if (c.centredX) {
      EXPECT_NEAR(midX, r.left + r.width / 2, 4);
    } else {
      EXPECT_LE(ink.bounds.left, r.left + 3);
    }
    if (c.centredY) {
      EXPECT_NEAR(midY, r.top + r.height / 2, 4);
    } else {
      EXPECT_LE(ink.bounds.top, r.top + 6);
    }
  }
}

TEST_F(PainterTest, WrappedBlockIsCentredAsAWhole) {
  // Narrow enough that the caption needs several lines.
  const Rect r{100, 10, 40, 140};
  Paint([&](Painter& p) {
    p.PaintText(kCaption + kCaption, Font{16, false, ""}, kBlack, r,
                TextLayout{HAlign::kLeft, true, true});
  });
  const Ink ink = InkBounds();
  ASSERT_TRUE(ink.any);
  EXPECT_GT(ink.bounds.height, 2 * 16);  // really wrapped
  EXPECT_NEAR(ink.bounds.top + ink.bounds.height / 2, r.top + r.height / 2, 6);
  EXPECT_TRUE(UntouchedOutside(r));
}

// A line that keeps its last character at 100 % keeps it at 150 %: glyphs
// grow unevenly with the font, and this label once lost its "！" there.
TEST_F(PainterTest, ALinesLastCharacterSurvivesTheScale) {
  const std::string line = "硬盘30-50度为正常，70度以上高温硬盘具有危险性";
  auto draw = [&](const std::string& last) {
    Clear();
    {  // the label's device span 0..420, seen from 200 on
      GdiPainter p(dc_, {200, 0}, *images_, *fonts_, parts_, Scale(144));
      p.PaintText(line + last, Font{}, kBlack, {0, 0, 280, 24}, TextLayout{HAlign::kLeft, true, false});
    }
    GdiFlush();
    EXPECT_LE(InkBounds().bounds.Right(), 220);
    return std::vector<std::uint32_t>(pixels_, pixels_ + kWidth * kHeight);
  };
  // Two last characters inked only in the middle of their cell: cut off,
  // both leave the same picture.
  EXPECT_NE(draw("！"), draw("丨"));
}

TEST_F(PainterTest, ChineseCharactersHaveRealGlyphs) {
  // With no CJK font every character is the same missing-glyph box.
  auto render = [&](const char* utf8) {
    Clear();
    Paint([&](Painter& p) {
      p.PaintText(utf8, Font{}, kBlack, {0, 0, 40, 40}, TextLayout{HAlign::kLeft, false, false});
    });
    std::vector<bool> dark;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) dark.push_back(IsDark(x, y));
    }
    return dark;
  };
  const auto guan = render("\xe5\x85\xb3");  // 关
  const auto ji = render("\xe6\x9c\xba");    // 机
  EXPECT_NE(std::count(guan.begin(), guan.end(), true), 0);
  EXPECT_NE(guan, ji);
}

TEST_F(PainterTest, OddCaptionsDoNotCrash) {
  const std::string huge(200000, 'W');
  const std::string broken = "\xff\xfe\xe5\x85";  // invalid and truncated UTF-8
  Paint([&](Painter& p) {
    p.PaintText(huge, Font{}, kBlack, {0, 0, 100, 20}, TextLayout{HAlign::kCenter, true, false});
    p.PaintText(huge, Font{}, kBlack, {0, 30, 100, 20}, TextLayout{HAlign::kLeft, true, true});
    p.PaintText(broken, Font{0, false, std::string(300, 'x')}, kBlack, {0, 60, 100, 20},
                TextLayout{});
  });
  EXPECT_TRUE(UntouchedOutside({0, 0, 100, 80}));
  Clear();
  Paint([&](Painter& p) { p.PaintText("", Font{}, kBlack, {0, 0, 100, 20}, TextLayout{}); });
  EXPECT_FALSE(InkBounds().any);
}

TEST_F(PainterTest, TheDcsOwnClipBoundsThePainterAndIsPutBack) {
  HRGN callerClip = CreateRectRgn(0, 0, 50, 50);
  SelectClipRgn(dc_, callerClip);
  HGDIOBJ fontBefore = GetCurrentObject(dc_, OBJ_FONT);
  Paint([&](Painter& p) {
    p.FillRect(kWhole, kGreen);
    p.PushClip({40, 40, 100, 100});
    p.PopClip();
    p.PushClip({60, 60, 40, 20});  // wholly outside the DC's clip
    p.FillRect(kWhole, kRed);
    p.PaintText(kCaption, Font{}, kBlack, {60, 60, 40, 20}, TextLayout{});
  });  // a clip deliberately left pushed
  EXPECT_TRUE(Filled({0, 0, 50, 50}, kGreen));
  EXPECT_TRUE(UntouchedOutside({0, 0, 50, 50}));
  HRGN now = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetClipRgn(dc_, now), 1);
  EXPECT_TRUE(EqualRgn(now, callerClip));
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_FONT), fontBefore);
  EXPECT_EQ(GetBkMode(dc_), OPAQUE);
  DeleteObject(now);
  DeleteObject(callerClip);
}

TEST(FontCacheTest, CreatesEachFontOnceWithTheRequestedMetrics) {
  FontCache cache;
  struct Case {
    Font font;
    LONG height;
    LONG weight;
  };
  const Case cases[] = {
      {Font{}, -12, FW_NORMAL},
      {Font{20, true, ""}, -20, FW_BOLD},
      {Font{14, false, "Tahoma"}, -14, FW_NORMAL},
      {Font{-3, false, ""}, -12, FW_NORMAL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    HFONT font = cache.Get(c.font);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(cache.Get(c.font), font);
    LOGFONTW lf{};
    ASSERT_EQ(GetObjectW(font, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
    EXPECT_EQ(lf.lfHeight, c.height);
    EXPECT_EQ(lf.lfWeight, c.weight);
    EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
  }
  EXPECT_NE(cache.Get(Font{}), cache.Get(Font{0, true, ""}));
}

TEST(FontCacheTest, DefaultAndMissingFacesBecomeAnInstalledFace) {
  // If the mapper had to substitute, the name in the LOGFONT and the face the
  // DC really uses differ.
  FontCache cache;
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  for (const Font& font : {Font{}, Font{12, false, "No Such Face 42"}}) {
    SCOPED_TRACE(font.face);
    HFONT handle = cache.Get(font);
    ASSERT_NE(handle, nullptr);
    LOGFONTW lf{};
    GetObjectW(handle, sizeof(lf), &lf);
    HGDIOBJ old = SelectObject(dc, handle);
    wchar_t used[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, used);
    SelectObject(dc, old);
    EXPECT_NE(lf.lfFaceName[0], L'\0');
    EXPECT_EQ(std::wstring(used), std::wstring(lf.lfFaceName));
  }
  DeleteDC(dc);
}

struct Conversion {
  std::string utf8;
  std::wstring wide;
};

TEST(TextConversionTest, WidenAndNarrowRoundTrip) {
  const Conversion cases[] = {
      {"", L""},
      {"abc", L"abc"},
      {"\xe5\x85\xb3\xe6\x9c\xba", L"\x5173\x673a"},
      {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
      {"\xf0\x9f\x98\x80", L"\xd83d\xde00"},  // outside the BMP: a surrogate pair
  };
  for (const Conversion& c : cases) {
    EXPECT_EQ(Widen(c.utf8), c.wide) << c.utf8;
    EXPECT_EQ(Narrow(c.wide), c.utf8) << c.utf8;
  }
}

TEST(TextConversionTest, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Widen("a\xff" "b"), L"a\xfffd" L"b");
  EXPECT_EQ(Widen("\xe5\x85"), L"\xfffd");
  EXPECT_EQ(Narrow(std::wstring(1, L'\xd800')), "\xef\xbf\xbd");
}

TEST(TextConversionTest, ToCodePageGivesGbkBytes) {
  EXPECT_EQ(ToCodePage("\xe7\xab\x8b\xe5\x8d\xb3\xe5\x85\xb3\xe6\x9c\xba", 936),
            "\xc1\xa2\xbc\xb4\xb9\xd8\xbb\xfa");
  EXPECT_EQ(ToCodePage("ok", 936), "ok");
  EXPECT_EQ(ToCodePage("", 936), "");
  EXPECT_EQ(ToCodePage("\xe2\x82\xac", 1252), "\x80");     // the euro sign
  EXPECT_EQ(ToCodePage("\xe0\xb8\x81", 1252), "?");        // Thai has no place in 1252
  EXPECT_EQ(ToCodePage("\xe5\x85\xb3", 65001), "\xe5\x85\xb3");
  EXPECT_EQ(ToCodePage("abc", 12345), "");                 // no such code page
}

}  // namespace
}  // namespace ui

// The single-owner types of ui/win_base/scoped_win.h: every handle freed once, "invalid" ones never.
#include "ui/win_base/scoped_win.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records every free; like kernel handles it has two values that mean "none".
struct CountingTraits {
  using Handle = int;
  static constexpr Handle kNone = 0;
  static bool IsValid(Handle h) { return h != 0 && h != -1; }
  static void Free(Handle h) { freed.push_back(h); }
  static inline std::vector<int> freed;
};
using Counted = ui::UniqueHandle<CountingTraits>;

struct ScopedTest : ::testing::Test {
  void SetUp() override { CountingTraits::freed.clear(); }
  const std::vector<int>& Freed() { return CountingTraits::freed; }
};

// A copyable owner, or a move that left the source owning too, frees twice.
TEST_F(ScopedTest, MovesLeaveTheSourceEmptyAndEachHandleIsFreedOnce) {
  {
    Counted a(7);
    Counted b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(a.Get(), 0);
    EXPECT_EQ(b.Get(), 7);
    Counted c(8);
    c = std::move(b);  // 8 goes now, 7 moves over
    EXPECT_EQ(Freed(), (std::vector<int>{8}));
    EXPECT_FALSE(b);
    Counted& self = c;
    c = std::move(self);  // self-move keeps the handle
    EXPECT_EQ(c.Get(), 7);
  }
  EXPECT_EQ(Freed(), (std::vector<int>{8, 7}));
}

TEST_F(ScopedTest, ResetFreesTheOldHandleOnceAndReleaseFreesNothing) {
  Counted h(1);
  h.Reset(2);
  h.Reset(2);  // the same handle again is not freed under the owner's feet
  EXPECT_EQ(Freed(), (std::vector<int>{1}));
  int* out = h.Out();  // a call writing through it must not overwrite 2 unfreed
  EXPECT_EQ(Freed(), (std::vector<int>{1, 2}));
  *out = 3;
  EXPECT_EQ(h.Release(), 3);
  h.Reset();
  EXPECT_EQ(Freed(), (std::vector<int>{1, 2}));
  // Neither "none" value is ever freed.
  { Counted none(-1); EXPECT_FALSE(none); }
  { Counted none(0); }
  EXPECT_EQ(Freed(), (std::vector<int>{1, 2}));
}

TEST_F(ScopedTest, RealHandlesAreClosedByTheirOwnerAndInvalidOnesNever) {
  HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(raw, nullptr);
  DWORD flags = 0;
  {
    ui::UniqueKernelHandle first(raw);
    ui::UniqueKernelHandle second(std::move(first));
    EXPECT_TRUE(GetHandleInformation(raw, &flags));
  }
  EXPECT_FALSE(GetHandleInformation(raw, &flags));

  // CreateFile fails with INVALID_HANDLE_VALUE, also the current process's pseudo-handle.
  ui::UniqueKernelHandle missing(CreateFileW(L"Z:\\no\\such\\dir\\file", GENERIC_READ, 0, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
  EXPECT_EQ(missing.Get(), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(missing);
  EXPECT_FALSE(ui::KernelHandleTraits::IsValid(nullptr));
  EXPECT_FALSE(ui::KernelHandleTraits::IsValid(GetCurrentProcess()));

  HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
  ui::UniqueBitmap owned(bitmap);
  EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
  owned.Reset();
  EXPECT_EQ(GetObjectType(bitmap), 0u);
}

// A bitmap still selected into a DC cannot be deleted: the guard puts the DC's own back.
TEST_F(ScopedTest, SelectedObjectPutsThePreviousObjectBack) {
  ui::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_BITMAP);
  ui::UniqueBitmap bitmap(CreateCompatibleBitmap(dc.Get(), 8, 8));
  ASSERT_TRUE(bitmap);
  {
    ui::SelectedObject outer;
    {
      ui::SelectedObject inner(dc.Get(), bitmap.Get());
      EXPECT_TRUE(inner);
      EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
      outer = std::move(inner);  // the moved-from guard restores nothing
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), original);
  EXPECT_FALSE(ui::SelectedObject(dc.Get(), nullptr));
}

TEST_F(ScopedTest, BstrAndVariantOwnWhatTheyHold) {
  ui::Bstr text(std::wstring_view(L"a\0b", 3));
  EXPECT_EQ(text.View(), std::wstring_view(L"a\0b", 3));
  ui::Bstr moved(std::move(text));
  EXPECT_EQ(text.Get(), nullptr);
  EXPECT_TRUE(text.View().empty());
  EXPECT_EQ(moved.View().size(), 3u);

  ui::Variant v;
  EXPECT_EQ(v.Type(), VT_EMPTY);
  v.Get()->vt = VT_BSTR;
  v.Get()->bstrVal = SysAllocString(L"held");
  ui::Variant other(std::move(v));
  EXPECT_EQ(v.Type(), VT_EMPTY);
  ASSERT_EQ(other.Type(), VT_BSTR);
  // Handed out again, the old string is freed and the slot is empty for the callee.
  EXPECT_EQ(other.Out()->vt, VT_EMPTY);
}

}  // namespace

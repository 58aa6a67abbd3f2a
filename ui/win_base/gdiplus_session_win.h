// Brings in the GDI+ headers the way every Win32 UI file needs them, and the
// scoped GDI+ start-up that must outlive every GDI+ object the program makes.
// The SDK's GDI+ headers call unqualified min/max, which NOMINMAX hides, so
// the std versions are made visible in their namespace before they are read.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus

#include <gdiplus.h>

namespace ui {

// Starts GDI+ for the lifetime of the object. Create it before any image store
// or painter and destroy it after them: a Gdiplus object freed after
// GdiplusShutdown crashes. A failed start-up leaves Ok() false and is not
// undone on destruction.
class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  ~GdiplusSession() {
    if (ok_) Gdiplus::GdiplusShutdown(token_);
  }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

  bool Ok() const { return ok_; }

 private:
  ULONG_PTR token_ = 0;
  bool ok_ = false;
};

}  // namespace ui

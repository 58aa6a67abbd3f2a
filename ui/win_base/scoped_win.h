// One owner for every Win32 resource the program makes: a move-only unique
// handle parameterised by how the kind is freed and which values mean "none",
// its aliases for the GDI objects, icons, memory DCs, menus and kernel handles
// in use, a guard that puts back whatever SelectObject replaced, and the two
// OLE automation value types (BSTR, VARIANT) with the same single-owner rule.
// A copyable wrapper with a destructor frees its handle twice; none of these
// can be copied, and a moved-from one owns nothing.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <oleauto.h>

#include <string_view>
#include <utility>

#include <wrl/client.h>

namespace ui {

using Microsoft::WRL::ComPtr;

// Takes over the one reference `owned` comes with (from `new`, or from a
// function that creates it). This SDK's ComPtr::Attach adds a reference of
// its own, where the documented one does not: an object attached fresh was
// never freed, and a picture's stream, made anew at each decode after a
// trim, leaked a copy of the picture's bytes every time.
template <typename T>
ComPtr<T> Adopt(T* owned) {
  ComPtr<T> held;
  *held.ReleaseAndGetAddressOf() = owned;
  return held;
}

// Traits name the handle type, the value that means "none", which values are
// invalid (more than one for kernel handles) and how a valid one is freed.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return Traits::IsValid(handle_); }

  // Gives the handle up without freeing it; this owns nothing afterwards.
  [[nodiscard]] Handle Release() { return std::exchange(handle_, Traits::kNone); }

  // Frees the handle owned so far (once) and takes `handle`.
  void Reset(Handle handle = Traits::kNone) {
    Handle old = std::exchange(handle_, handle);
    if (Traits::IsValid(old) && old != handle) Traits::Free(old);
  }

  // For a call that hands a new handle back through a pointer: what this
  // owned is freed first, so the call cannot overwrite a live handle.
  Handle* Out() {
    Reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::kNone;
};

// Handles that are "none" when null and freed by one call.
template <typename H, auto FreeFunction>
struct NullableHandleTraits {
  using Handle = H;
  static constexpr Handle kNone = nullptr;
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Free(Handle h) { FreeFunction(h); }
};

// GDI objects freed with DeleteObject; one alias per type keeps a region
// from being handed where a bitmap is wanted.
template <typename H>
using GdiObjectTraits = NullableHandleTraits<H, &DeleteObject>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;

// Icons from LoadImage or CreateIcon*; never one loaded with LR_SHARED,
// which the system owns.
using UniqueIcon = UniqueHandle<NullableHandleTraits<HICON, &DestroyIcon>>;
// DCs from CreateCompatibleDC or CreateDC (GetDC's are released, not deleted).
using UniqueMemoryDc = UniqueHandle<NullableHandleTraits<HDC, &DeleteDC>>;
// Menus not attached to a window (a window destroys its own menu bar).
using UniqueMenu = UniqueHandle<NullableHandleTraits<HMENU, &DestroyMenu>>;

// Kernel handles. Most creating calls fail with null, but CreateFile and
// CreateToolhelp32Snapshot fail with INVALID_HANDLE_VALUE: both mean "none",
// so neither is ever closed. (INVALID_HANDLE_VALUE is also the pseudo-handle
// of the current process, which must not be closed either.)
struct KernelHandleTraits {
  using Handle = HANDLE;
  static constexpr Handle kNone = nullptr;
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Free(Handle h) { CloseHandle(h); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// Selects a bitmap, font, brush or pen into a DC and selects the previous
// one back when it ends, so the DC never holds an object at the moment that
// object or the DC is deleted. Regions are not selected this way (SelectObject
// copies them; use SelectClipRgn). Move-only, so an owner such as a back
// buffer can keep a selection for its whole life. Declare it after the
// objects it selects: members and locals are destroyed in reverse order.
class SelectedObject {
 public:
  SelectedObject() = default;
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc) {
    HGDIOBJ previous = dc && object ? SelectObject(dc, object) : nullptr;
    if (previous != nullptr && previous != HGDI_ERROR) previous_ = previous;
  }
  ~SelectedObject() { Restore(); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  SelectedObject(SelectedObject&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {}
  SelectedObject& operator=(SelectedObject&& other) noexcept {
    if (this != &other) {
      Restore();
      dc_ = std::exchange(other.dc_, nullptr);
      previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
  }

  // Whether the selection took place (and will be undone).
  explicit operator bool() const { return previous_ != nullptr; }

  // Puts the previous object back now.
  void Restore() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
    previous_ = nullptr;
  }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// A BSTR with one owner. SysFreeString accepts null, and a null BSTR is the
// empty string to every automation call.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text)
      : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    if (this != &other) {
      SysFreeString(value_);
      value_ = std::exchange(other.value_, nullptr);
    }
    return *this;
  }

  BSTR Get() const { return value_; }
  // The text, embedded NULs included; empty for a null BSTR.
  std::wstring_view View() const { return {value_ ? value_ : L"", SysStringLen(value_)}; }
  // For a call that returns a BSTR through a pointer; frees the old value first.
  BSTR* Out() {
    SysFreeString(std::exchange(value_, nullptr));
    return &value_;
  }

 private:
  BSTR value_ = nullptr;
};

// A VARIANT with one owner: initialised empty, cleared (releasing a BSTR or
// interface it holds) when it ends. A VARIANT's bits may be moved; the source
// is left empty.
class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  Variant(Variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
  Variant& operator=(Variant&& other) noexcept {
    if (this != &other) {
      VariantClear(&value_);
      value_ = other.value_;
      VariantInit(&other.value_);
    }
    return *this;
  }

  VARIANT* Get() { return &value_; }
  const VARIANT& Value() const { return value_; }
  VARTYPE Type() const { return value_.vt; }
  // For a call that fills a VARIANT through a pointer: what it held is
  // released first, since the callee overwrites it without clearing.
  VARIANT* Out() {
    VariantClear(&value_);
    return &value_;
  }

 private:
  VARIANT value_;
};

}  // namespace ui

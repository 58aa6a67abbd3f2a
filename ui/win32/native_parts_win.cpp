// NativeParts: the edit controls and the HTML view of one window; see
// native_parts_win.h.
#include "ui/win32/native_parts_win.h"

#include <commctrl.h>

#include <algorithm>

#include <string>

#include "ui/win_base/messages_win.h"
#include "ui/win_base/scoped_win.h"
#include "ui/win_base/text_win.h"

namespace ui {
namespace {

// Child ids of the edit controls, keyed by control, so WM_COMMAND names the
// control whose text changed.
constexpr int kEditIdBase = 0x100;

RECT ToRect(Rect r) { return RECT{r.left, r.top, r.Right(), r.Bottom()}; }

std::wstring WindowText(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

// Only what the forms do not stack in front of the control, and only inside
// its ancestors, shows: the region does the clipping a child window cannot
// do by itself. Null when GDI has no region to give.
// `r` is where the part lies, in device pixels; what cuts it is converted
// edge by edge, so it meets what lies beside it.
UniqueRegion VisibleRegion(const Window& w, ControlId id, Rect r, Scale scale) {
  Rect local = scale.ToDevice(w.VisibleRect(id)).Offset(-r.left, -r.top);
  UniqueRegion region(CreateRectRgn(local.left, local.top, local.Right(), local.Bottom()));
  for (Rect cover : w.CoveringRects(id)) {
    if (!region) break;
    Rect c = scale.ToDevice(cover).Offset(-r.left, -r.top);
    UniqueRegion hole(CreateRectRgn(c.left, c.top, c.Right(), c.Bottom()));
    if (hole) CombineRgn(region.Get(), region.Get(), hole.Get(), RGN_DIFF);
  }
  return region;
}

// Keys typed into an edit part go to its window first, which takes the ones
// the keyboard layer uses (Tab, Up and Down in a time field, Alt+F4); the
// character a taken key would produce is dropped with it.
bool gSwallowChar = false;

LRESULT CALLBACK EditKeys(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                          DWORD_PTR) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      bool alt = message == WM_SYSKEYDOWN && (lParam & (1 << 29));  // bit 29: Alt was down
      LPARAM which = MAKELPARAM(static_cast<WORD>(id), alt ? 1 : 0);
      gSwallowChar = SendMessageW(GetParent(edit), kEditKeyMessage, wParam, which) != 0;
      if (gSwallowChar) return 0;
      break;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
      if (gSwallowChar) {
        gSwallowChar = false;
        return 0;
      }
      break;
    case WM_SETFOCUS:
      SendMessageW(GetParent(edit), kEditFocusMessage, static_cast<WPARAM>(id), 0);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, &EditKeys, id);
      break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void NativeParts::Create(HWND parent, HINSTANCE instance, FontCache& fonts, Scale scale) {
  scale_ = scale;
  for (ControlId id = 0; id < model_.ControlCount(); ++id) {
    const Control& c = model_.At(id);
    Rect r = scale_.ToDevice(model_.AbsoluteRect(id));
    if (c.kind == Kind::kEditBox && IsNative(c)) {
      const DWORD style = WS_CHILD | WS_BORDER | ES_AUTOHSCROLL;
      HWND edit = CreateWindowExW(0, L"EDIT", Widen(c.caption).c_str(), style, r.left, r.top,
                                  r.width, r.height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditIdBase + id)),
                                  instance, nullptr);
      if (!edit) continue;
      FitEdit(id, edit, fonts);
      SetWindowSubclass(edit, &EditKeys, static_cast<UINT_PTR>(id), 0);
      edits_[id] = edit;
    } else if (c.kind == Kind::kHtmlView) {
      // Created blank; the start address is the control's first address.
      if (auto view = WebView::Create(parent, ToRect(r), L"")) {
        view->SetZoom(scale_.Percent());
        views_[id] = std::move(view);
        Navigate(id, c.caption);
      }
    }
  }
  Layout();
}

void NativeParts::FitEdit(ControlId id, HWND edit, FontCache& fonts) {
  const int margin = scale_.ToDevice(1);
  SendMessageW(edit, WM_SETFONT,
               reinterpret_cast<WPARAM>(fonts.Get(ScaledFont(model_.At(id).font, scale_))), FALSE);
  SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
}

void NativeParts::Rescale(Scale scale, FontCache& fonts) {
  scale_ = scale;
  for (auto& [id, edit] : edits_) FitEdit(id, edit, fonts);
  for (auto& [id, view] : views_) view->SetZoom(scale_.Percent());
  Layout();
}

void NativeParts::Layout() {
  auto place = [&](ControlId id, HWND child) {
    Rect m = model_.AbsoluteRect(id);
    bool shown = !model_.VisibleRect(id).IsEmpty();
    if (shown) {
      if (edits_.count(id)) {
        // An edit box whose left end lies under a control in front over its
        // whole height starts where that control ends: its text then begins
        // in sight, and no part of it has to be cut away under the control.
        int covered = std::min(model_.CoveredLeft(id), m.width - 1);
        m.left += covered;
        m.width -= covered;
      }
      const Rect r = scale_.ToDevice(m);
      SetWindowPos(child, nullptr, r.left, r.top, r.width, r.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      // The window owns the region only once the call succeeds; until then
      // it is still ours to delete.
      UniqueRegion region = VisibleRegion(model_, id, r, scale_);
      if (region && SetWindowRgn(child, region.Get(), TRUE)) (void)region.Release();
    }
    EnableWindow(child, model_.IsEnabled(id));
    ShowWindow(child, shown ? SW_SHOWNA : SW_HIDE);
  };
  for (auto& [id, edit] : edits_) place(id, edit);
  for (auto& [id, view] : views_) {
    view->SetBounds(ToRect(scale_.ToDevice(model_.AbsoluteRect(id))));
    view->SetEnabled(model_.IsEnabled(id));
    if (HWND child = view->Window()) place(id, child);
    view->SetVisible(!model_.VisibleRect(id).IsEmpty());
  }
}

void NativeParts::Sync(ControlId id) {
  const Control& c = model_.At(id);
  if (auto it = edits_.find(id); it != edits_.end()) {
    std::wstring wanted = Widen(c.caption);
    if (WindowText(it->second) != wanted) {
      writingEdit_ = true;
      SetWindowTextW(it->second, wanted.c_str());
      writingEdit_ = false;
    }
  }
  if (views_.count(id)) Navigate(id, c.caption);
  Layout();
}

void NativeParts::Navigate(ControlId id, const std::string& address) {
  auto it = views_.find(id);
  if (it == views_.end() || address.empty() || navigated_[id] == address) return;
  navigated_[id] = address;
  ++navigations_[id];
  it->second->Navigate(Widen(address));
}

int NativeParts::Navigations(ControlId id) const {
  auto it = navigations_.find(id);
  return it == navigations_.end() ? 0 : it->second;
}

HWND NativeParts::EditHandle(ControlId id) const {
  auto it = edits_.find(id);
  return it == edits_.end() ? nullptr : it->second;
}

bool NativeParts::OnCommand(WPARAM wParam, LPARAM) {
  if (HIWORD(wParam) != EN_CHANGE || writingEdit_) return false;
  ControlId id = static_cast<ControlId>(LOWORD(wParam)) - kEditIdBase;
  auto it = edits_.find(id);
  if (it == edits_.end()) return false;
  model_.StoreTypedText(id, Narrow(WindowText(it->second)));
  return true;
}

LRESULT NativeParts::EditColors(WPARAM dc, LPARAM edit) {
  HDC hdc = reinterpret_cast<HDC>(dc);
  bool enabled = IsWindowEnabled(reinterpret_cast<HWND>(edit));
  SetTextColor(hdc, enabled ? RGB(0, 0, 0) : RGB(96, 96, 96));
  SetBkColor(hdc, RGB(255, 255, 255));
  return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

void NativeParts::BeforeParentDestroyed() {
  views_.clear();
  edits_.clear();
}

}  // namespace ui

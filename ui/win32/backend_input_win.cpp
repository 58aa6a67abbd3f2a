// The Win32 backend's pointer and keyboard: hit-testing and the cursor, the
// mouse and its capture, keys, focus and the edit parts, all turned into the
// model's input here and nowhere else.
#include <windowsx.h>

#include "ui/behaviour/desktop.h"
#include "ui/behaviour/input.h"
#include "ui/behaviour/keyboard.h"
#include "ui/win32/accessible_win.h"
#include "ui/win32/backend_win.h"
#include "ui/win32/window_host_win.h"
#include "ui/win_base/messages_win.h"

namespace ui {
namespace {

Point LParamPoint(const WindowHost& host, LPARAM lParam) {
  return host.scale.PixelAt(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

Key KeyOf(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_TAB: return Key::kTab;
    case VK_RETURN: return Key::kEnter;
    case VK_SPACE: return Key::kSpace;
    case VK_LEFT: return Key::kLeft;
    case VK_UP: return Key::kUp;
    case VK_RIGHT: return Key::kRight;
    case VK_DOWN: return Key::kDown;
    case VK_F4: return Key::kF4;
    case VK_F10: return Key::kF10;
    case VK_APPS: return Key::kMenu;
    case VK_MENU: return Key::kAlt;
    default: return Key::kOther;
  }
}

bool HoldsFocus(HWND hwnd) {
  HWND focus = GetFocus();
  return focus && (focus == hwnd || IsChild(hwnd, focus));
}

}  // namespace

Win32Backend::Handled Win32Backend::OnPointer(WindowHost& host, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  HWND hwnd = host.hwnd;
  Window& model = *host.model;
  switch (message) {
    case WM_NCHITTEST: {
      LRESULT hit = DefWindowProcW(hwnd, message, wParam, lParam);
      if (hit != HTCLIENT) return hit;
      // Where no control takes the press, the press drags the window.
      return TakesPress(model, ClientPoint(host, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
                 ? HTCLIENT
                 : HTCAPTION;
    }
    case WM_NCLBUTTONDBLCLK:
      return 0;  // a frameless window has nothing to maximise
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == hwnd) {
        POINT pt;
        GetCursorPos(&pt);
        bool hand = CursorAt(model, ClientPoint(host, pt)) == Cursor::kHand;
        SetCursor(LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW));
        return TRUE;
      }
      if (LOWORD(lParam) == HTCAPTION) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      if (!host.trackingLeave) {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd, 0};
        host.trackingLeave = TrackMouseEvent(&tme) != FALSE;
      }
      MouseMove(model, LParamPoint(host, lParam));
      return 0;
    case WM_MOUSELEAVE:
      host.trackingLeave = false;
      MouseLeave(model);
      return 0;
    case WM_NCMOUSEMOVE:
      MouseLeave(model);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetCapture(hwnd);
      Deliver(host, MouseDown(model, LParamPoint(host, lParam)));
      return 0;  // the host may be gone now
    case WM_LBUTTONUP: {
      // The click is decided before the capture goes: releasing it sends
      // WM_CAPTURECHANGED, which forgets the pressed control.
      std::vector<Event> events = MouseUp(model, LParamPoint(host, lParam));
      if (GetCapture() == hwnd) ReleaseCapture();
      Deliver(host, events);
      return 0;
    }
    case WM_CAPTURECHANGED:
      model.SetPressed(kNoControl);
      return 0;
  }
  return std::nullopt;
}

Win32Backend::Handled Win32Backend::OnKeyboard(WindowHost& host, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  HWND hwnd = host.hwnd;
  Window& model = *host.model;
  switch (message) {
    case WM_COMMAND:
      if (host.natives.OnCommand(wParam, lParam)) return 0;
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return NativeParts::EditColors(wParam, lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // Bit 29: the Alt key was down with it.
      if (OnKey(host, wParam, message == WM_SYSKEYDOWN && (lParam & (1 << 29)))) return 0;
      break;
    case kEditKeyMessage:
      model.SetFocused(static_cast<ControlId>(LOWORD(lParam)));
      return OnKey(host, wParam, HIWORD(lParam) != 0) ? 1 : 0;
    case kEditFocusMessage:
      model.SetFocused(static_cast<ControlId>(wParam));
      return 0;
    case WM_SETFOCUS:
      // Back in the window: the focus returns to the edit box that had it,
      // and a drawn control that has it is announced again.
      SyncFocus(host);
      AnnounceChange(hwnd, model, model.Focused(), Change::kFocus);
      return 0;
    case WM_UPDATEUISTATE:
      // The platform says whether focus cues show (Alt pressed, a keyboard
      // user); the cue is hidden until it says so.
      if (HIWORD(wParam) & UISF_HIDEFOCUS) {
        if (LOWORD(wParam) == UIS_CLEAR) model.SetFocusCue(true);
        if (LOWORD(wParam) == UIS_SET) model.SetFocusCue(false);
      }
      break;
  }
  return std::nullopt;
}

void Win32Backend::SyncFocus(WindowHost& host) {
  if (!HoldsFocus(host.hwnd)) return;  // never taken from another window
  ControlId id = host.model->Focused();
  HWND edit = id == kNoControl ? nullptr : host.natives.EditHandle(id);
  HWND wanted = edit ? edit : host.hwnd;
  if (GetFocus() != wanted) SetFocus(wanted);
}

bool Win32Backend::OnKey(WindowHost& host, WPARAM virtualKey, bool alt) {
  Window& model = *host.model;
  if (!desktop_ || model.IsClosed()) return false;
  KeyPress press{KeyOf(virtualKey), GetKeyState(VK_SHIFT) < 0, alt};
  if (press.key == Key::kOther) return false;
  HWND hwnd = host.hwnd;
  bool cueBefore = model.FocusCue();
  KeyOutcome out = PressKey(*desktop_, model, press);
  if (model.IsClosed() || !host.hwnd) return out.handled;
  // Tabbing into an edit box selects its text, so typing replaces it, as in
  // the platform's dialogs.
  if (out.focusMoved) {
    if (HWND edit = host.natives.EditHandle(model.Focused())) SendMessageW(edit, EM_SETSEL, 0, -1);
  }
  // The platform keeps its own note of the cues for the window's children.
  if (model.FocusCue() && !cueBefore) {
    SendMessageW(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  }
  return out.handled;
}

}  // namespace ui

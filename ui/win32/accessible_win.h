// The Win32 face of a window's accessible description (ui/behaviour/accessibility.h):
// an IAccessible answering WM_GETOBJECT for the client area, whose children
// are the presented controls, and the WinEvents that announce their changes.
// Child ids are control index + 1, stable while the window lives; a spin
// control is a child object of its own with its two arrows as children 1
// (up) and 2 (down). A default action is posted to the window and runs from
// its message loop, so a client never waits on a handler (or on a message
// box a handler shows).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <memory>

#include "ui/model/scale.h"
#include "ui/model/window.h"

namespace ui {

// What the objects handed out for one window refer to. The backend clears
// it when the window goes; objects that clients still hold then answer that
// they are disconnected.
struct AccessibleTarget {
  Window* model = nullptr;
  HWND hwnd = nullptr;
  Scale scale;  // the window's: locations are told in the screen's pixels
};

// The answer to WM_GETOBJECT with OBJID_CLIENT.
LRESULT AnswerGetObject(const std::shared_ptr<AccessibleTarget>& target, WPARAM wParam);
// Raises the WinEvent a listener must hear for the change, if any.
void AnnounceChange(HWND hwnd, const Window& model, ControlId id, Change change);
// The child id of a control in the window's object.
inline LONG ChildIdOf(ControlId id) { return static_cast<LONG>(id) + 1; }

// A VT_I4 variant: how MSAA names a child, a role or a state.
VARIANT LongVariant(LONG value);

}  // namespace ui

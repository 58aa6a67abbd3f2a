// The Win32 side of the control layer: one frameless top-level window per
// loaded form, painted by the program from the model (double-buffered), with
// real edit controls and the HTML view as the only child windows. Messages are
// turned into the model's input and timer events here and nowhere else.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ui/model/backend.h"
#include "ui/model/scale.h"
#include "ui/win32/image_store_win.h"
#include "ui/win32/painter_win.h"
#include "ui/win32/theme_parts_win.h"
#include "ui/win_base/gdiplus_session_win.h"
#include "ui/win_base/scoped_win.h"

namespace ui {

class Desktop;
struct WindowHost;
struct WindowReport;

class Win32Backend final : public Backend {
 public:
  Win32Backend(HINSTANCE instance, ImageStore& images);
  ~Win32Backend() override;
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  // Events and what the platform did to a window by itself go to this
  // desktop, and every message dispatch counts as running for it. Call once,
  // before loading windows.
  void Attach(Desktop& desktop) { desktop_ = &desktop; }
  // Destroying this window ends the message loop.
  void SetMainWindow(const Window* window) { main_ = window; }
  // A route runs for `message` when it reaches the main window and the
  // backend has no use of its own for it; a message id of 0 (a failed
  // registration) is ignored. Routes live as long as the backend.
  using MessageRoute = std::function<void(Window& mainWindow, WPARAM wParam, LPARAM lParam)>;
  void AddMessageRoute(UINT message, MessageRoute route);
  // The platform window of a loaded model, or nullptr.
  HWND Handle(const Window& window) const;

  void Create(Window& window, Window* owner) override;
  void Destroy(Window& window) override;
  void Release(Window& window) override;
  void Show(Window& window, bool visible) override;
  void SetDisplayState(Window& window, DisplayState state) override;
  void Move(Window& window, Rect screen) override;
  Size ScreenSize(const Window* window) override;
  Rect WorkArea(const Window& window) override;
  int PopupMenu(Window& owner, const std::vector<std::string_view>& items) override;
  int ShowMessageBox(std::string_view text, int flags, std::string_view title,
                 Window* owner) override;
  void Focus(Window& window) override;
  void ApplyVisualStyle(int code) override;
  void Raise(Window& window) override;
  void Invalidate(Window& window, Rect rect) override;
  void ControlChanged(Window& window, ControlId id, Change change) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Where each message goes: a family's handler, or the main window's routes.
  LRESULT Handle(WindowHost& host, UINT message, WPARAM wParam, LPARAM lParam);
  // A family's answer to a message; none: the default window procedure's.
  using Handled = std::optional<LRESULT>;
  Handled OnPaintMessage(WindowHost& host, UINT message, WPARAM wParam, LPARAM lParam);
  Handled OnPointer(WindowHost& host, UINT message, WPARAM wParam, LPARAM lParam);
  Handled OnKeyboard(WindowHost& host, UINT message, WPARAM wParam, LPARAM lParam);
  Handled OnPlacement(WindowHost& host, UINT message, WPARAM wParam, LPARAM lParam);
  Handled OnSystem(WindowHost& host, UINT message, WPARAM wParam, LPARAM lParam);
  void RegisterClassFor(const FormSpec& form);
  void Paint(WindowHost& host);
  // Paints the dirty rectangle of the window into its back buffer and copies
  // it to `screen`.
  void Render(WindowHost& host, HDC screen, Rect dirty);
  // Draws the new frame of a playing picture box at once; false when the
  // window has no DC to draw on.
  bool DrawFrame(WindowHost& host, ControlId id, Rect dirty);
  // Paints the rectangle now, on the window's own DC; false when there is none.
  bool PaintNow(WindowHost& host, Rect dirty);
  void Deliver(WindowHost& host, const std::vector<Event>& events);
  void Report(WindowHost& host, const WindowReport& report);
  void SyncTimer(WindowHost& host, ControlId id);
  // A hidden window's pictures are let go unless a window on show draws
  // them too; they are decoded again, in a few milliseconds, when it shows.
  void TrimPictures(const Window& hidden);
  // The keyboard: a key on the window or one of its edit parts; true when
  // the key was the keyboard layer's.
  bool OnKey(WindowHost& host, WPARAM virtualKey, bool alt);
  // Puts the system's focus where the model's is, while the window has it.
  void SyncFocus(WindowHost& host);
  WindowHost* HostOf(const Window& window) const;
  // The routes for a message to the main window; false when it has none.
  bool RunRoutes(Window& model, UINT message, WPARAM wParam, LPARAM lParam);
  // The window is now on a monitor of another DPI, or its DPI changed:
  // placed at `at` with the model's size at the new scale, its native parts
  // moved and refitted, and drawn again.
  void Rescale(WindowHost& host, Scale scale, Point at);
  // A display change told to any window: each window takes the scale its
  // monitor has now, and the main window's routes hear of it once, after
  // every window has had its own message.
  void OnDisplayChange(WindowHost& host, UINT message);
  void RefreshScales();

  HINSTANCE instance_;
  ImageStore& images_;
  FontCache fonts_;
  ThemeParts parts_;
  Desktop* desktop_ = nullptr;
  const Window* main_ = nullptr;
  std::unordered_map<const Window*, std::unique_ptr<WindowHost>> hosts_;
  std::vector<std::pair<UINT, MessageRoute>> routes_;
  Rect screen_;  // the virtual screen, refreshed on WM_DISPLAYCHANGE
  bool displayChangePosted_ = false;
  UniqueMemoryDc framesDc_;  // holds a frame while it is copied to a window
  UniqueIcon appIcon_;
  UniqueIcon appIconSmall_;
};

}  // namespace ui

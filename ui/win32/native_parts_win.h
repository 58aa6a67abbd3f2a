// The native parts of one loaded window: a real EDIT control for each edit
// box (typing, selection and the caret come from the system) and the HTML
// view, as children of the frameless window that paints everything else.
// Each part sits where the model lays its control out, shows only where the
// control is visible (a window region cuts away ancestors' edges and what the
// forms stack in front of it), follows the control's enabled state, text and
// address, and hands typed text back to the model without echoing it.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <memory>
#include <string>
#include <unordered_map>

#include "ui/html_view/web_view_win.h"
#include "ui/model/scale.h"
#include "ui/model/window.h"
#include "ui/win32/painter_win.h"

namespace ui {

class NativeParts {
 public:
  explicit NativeParts(Window& model) : model_(model) {}
  NativeParts(const NativeParts&) = delete;
  NativeParts& operator=(const NativeParts&) = delete;

  // Makes the parts of every edit box and HTML view inside `parent`, the
  // model's platform window, and lays them out at the window's scale.
  // `fonts` must outlive them.
  void Create(HWND parent, HINSTANCE instance, FontCache& fonts, Scale scale);
  // The window's scale changed: the parts are laid out, and the edits'
  // fonts and the page's zoom made, for the new one.
  void Rescale(Scale scale, FontCache& fonts);
  // Places, cuts, enables and shows or hides every part as the model now
  // has it.
  void Layout();
  // The control's text, address or enabled state changed.
  void Sync(ControlId id);
  // A WM_COMMAND the parent got: true when it was a user's edit in one of
  // the parts, whose text is then stored in the model.
  bool OnCommand(WPARAM wParam, LPARAM lParam);
  // The colours of an edit part (WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC).
  static LRESULT EditColors(WPARAM dc, LPARAM edit);
  // Before the parent is destroyed: the browser has to shut down while its
  // window still exists; the edits go with the parent.
  void BeforeParentDestroyed();
  // How often a view was sent to an address: once, for its start address.
  int Navigations(ControlId id) const;
  // The edit part of an edit box, or nullptr.
  HWND EditHandle(ControlId id) const;

 private:
  void Navigate(ControlId id, const std::string& address);
  void FitEdit(ControlId id, HWND edit, FontCache& fonts);

  Window& model_;
  Scale scale_;
  std::unordered_map<ControlId, HWND> edits_;
  std::unordered_map<ControlId, std::unique_ptr<WebView>> views_;
  // The address each view was sent to, and how often. A view is navigated
  // only when its control's address changes: the address the view reports
  // differs after a redirect, an error page or while a load is pending, and
  // comparing with that would reload the page whenever the view is shown or
  // enabled.
  std::unordered_map<ControlId, std::string> navigated_;
  std::unordered_map<ControlId, int> navigations_;
  bool writingEdit_ = false;  // our own SetWindowText, not the user typing
};

}  // namespace ui

// An embedded HTML view: the system WebBrowser control hosted in a child window
// of ours through a minimal hand-written OLE container (client site, in-place site
// and frame). The container window is what gets shown, hidden, enabled and moved;
// the control lives inside it, silenced so that it never raises a dialog of its own,
// and held to the one address it was sent to (web_view_events_win.h).
//
// Threading: every call, construction and destruction included, must happen on the
// thread that owns `parent`, and that thread must have called OleInitialize (a
// single-threaded apartment) and must run a message loop; without OLE, Create
// simply returns nullptr.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/win_base/scoped_win.h"

struct IOleObject;
struct IOleInPlaceObject;
struct IWebBrowser2;

namespace ui {

class WebViewEvents;
class WebViewSite;

class WebView {
 public:
  // Creates the control inside `parent` at `rect` (client pixels of `parent`),
  // hidden and disabled, and starts navigating to `url`. Returns nullptr when the
  // control cannot be created (bad parent, OLE not initialised, class not
  // registered); callers then simply have no view.
  static std::unique_ptr<WebView> Create(HWND parent, RECT rect, const std::wstring& url);

  ~WebView();
  WebView(const WebView&) = delete;
  WebView& operator=(const WebView&) = delete;

  void SetVisible(bool visible);
  void SetEnabled(bool enabled);
  void SetBounds(RECT rect);
  // The page's zoom, in percent of its size: now, and for every page after.
  void SetZoom(int percent);
  // Sends the view to `url`, which from then on is the only page it may show
  // (frames of its origin aside); an empty `url` is ignored.
  void Navigate(const std::wstring& url);

  // The address the control reports; empty when it reports none or fails.
  std::wstring LocationUrl() const;

  // The container window that holds the control. nullptr once the parent window
  // has been destroyed (the container dies with it).
  HWND Window() const { return host_; }

 private:
  WebView() = default;
  static LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void MoveFocusOutIfInside();
  void Teardown();

  HWND host_ = nullptr;
  ComPtr<WebViewSite> site_;
  ComPtr<WebViewEvents> events_;
  ComPtr<IOleObject> oleObject_;
  ComPtr<IOleInPlaceObject> inPlaceObject_;
  ComPtr<IWebBrowser2> browser_;
  DWORD eventsCookie_ = 0;
};

}  // namespace ui

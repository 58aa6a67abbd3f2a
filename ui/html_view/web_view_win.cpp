// Hosts the WebBrowser control without ATL or MFC. WebViewSite is the COM
// object the control is embedded in and asks what it may fetch and run
// (web_view_site_win.h); its events go to WebViewEvents, which keeps it on its
// page (web_view_events_win.h). The control lives inside a child window of
// ours so that visibility, input and position are plain window calls.
#include "ui/html_view/web_view_win.h"

#include <exdisp.h>
#include <ocidl.h>
#include <oleidl.h>

#include <utility>

#include "ui/html_view/web_view_events_win.h"
#include "ui/html_view/web_view_site_win.h"
#include "ui/win_base/text_win.h"

namespace ui {
namespace {

constexpr wchar_t kHostClassName[] = L"QuondaHalvixWebViewHost";

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

RECT Normalized(RECT rect) {
  if (rect.right < rect.left) rect.right = rect.left;
  if (rect.bottom < rect.top) rect.bottom = rect.top;
  return rect;
}

RECT LocalRect(RECT rect) { return RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top}; }

}  // namespace

std::unique_ptr<WebView> WebView::Create(HWND parent, RECT rect, const std::wstring& url) {
  if (parent == nullptr || !IsWindow(parent)) return nullptr;

  const HINSTANCE instance = ThisModule();
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (!GetClassInfoExW(instance, kHostClassName, &existing)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &WebView::HostProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kHostClassName;
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  }

  std::unique_ptr<WebView> view(new WebView());
  rect = Normalized(rect);
  // Created disabled and without WS_VISIBLE: the control never gets a frame on
  // screen or a click before the caller decides to show it.
  view->host_ = CreateWindowExW(0, kHostClassName, L"", WS_CHILD | WS_DISABLED | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                nullptr, instance, view.get());
  if (view->host_ == nullptr) return nullptr;
  view->site_ = Adopt(new WebViewSite(view->host_));

  // From here on failure returns through ~WebView, which undoes whatever part
  // of the activation took place.
  if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&view->oleObject_)))) {
    return nullptr;
  }
  ComPtr<IOleClientSite> clientSite;
  view->site_.As(&clientSite);
  if (FAILED(view->oleObject_->SetClientSite(clientSite.Get()))) return nullptr;
  OleSetContainedObject(view->oleObject_.Get(), TRUE);

  RECT local = LocalRect(rect);
  if (FAILED(view->oleObject_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite.Get(), 0, view->host_, &local))) {
    return nullptr;
  }
  view->oleObject_.As(&view->inPlaceObject_);
  if (FAILED(view->oleObject_.As(&view->browser_))) return nullptr;

  // Before the first navigation, so even the first failure stays quiet.
  view->browser_->put_Silent(VARIANT_TRUE);
  view->browser_->put_RegisterAsDropTarget(VARIANT_FALSE);
  view->browser_->put_RegisterAsBrowser(VARIANT_FALSE);

  // Without its event sink the view would go wherever a page sends it: no
  // sink, no view.
  ComPtr<IUnknown> identity;
  ComPtr<IConnectionPointContainer> points;
  ComPtr<IConnectionPoint> events;
  if (FAILED(view->oleObject_.As(&identity)) || FAILED(view->oleObject_.As(&points)) ||
      FAILED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, &events))) {
    return nullptr;
  }
  view->events_ = Adopt(new WebViewEvents(identity.Get()));
  if (FAILED(events->Advise(view->events_.Get(), &view->eventsCookie_))) {
    view->eventsCookie_ = 0;
    return nullptr;
  }

  view->Navigate(url);
  return view;
}

WebView::~WebView() {
  Teardown();
  if (host_ != nullptr) {
    SetWindowLongPtrW(host_, GWLP_USERDATA, 0);
    const HWND host = std::exchange(host_, nullptr);
    DestroyWindow(host);
  }
}

// Deactivate while the control's window still exists, then close the object and
// cut its link to our site; only then may the interfaces go, the object last.
void WebView::Teardown() {
  if (browser_ != nullptr) browser_->Stop();
  if (eventsCookie_ != 0 && oleObject_ != nullptr) {
    ComPtr<IConnectionPointContainer> points;
    ComPtr<IConnectionPoint> events;
    if (SUCCEEDED(oleObject_.As(&points)) && SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, &events))) {
      events->Unadvise(eventsCookie_);
    }
    eventsCookie_ = 0;
  }
  if (inPlaceObject_ != nullptr) inPlaceObject_->InPlaceDeactivate();
  if (oleObject_ != nullptr) {
    oleObject_->Close(OLECLOSE_NOSAVE);
    oleObject_->SetClientSite(nullptr);
  }
  events_.Reset();
  browser_.Reset();
  inPlaceObject_.Reset();
  oleObject_.Reset();
  if (site_ != nullptr) site_->Detach();
  site_.Reset();
}

LRESULT CALLBACK WebView::HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* view = reinterpret_cast<WebView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_DESTROY:
      // The parent is going away with the view still alive: shut the control
      // down now, while its own window (our child) still exists.
      if (view != nullptr) view->Teardown();
      break;
    case WM_NCDESTROY:
      if (view != nullptr) view->host_ = nullptr;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    case WM_ERASEBKGND:
      if (view != nullptr && view->oleObject_ != nullptr) return 1;  // The control paints all of it.
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Hiding or disabling a parent leaves keyboard focus where it was, so a control
// that had it would still take keystrokes while invisible or "disabled".
void WebView::MoveFocusOutIfInside() {
  const HWND focus = GetFocus();
  if (host_ == nullptr || focus == nullptr || (focus != host_ && !IsChild(host_, focus))) return;
  if (inPlaceObject_ != nullptr) inPlaceObject_->UIDeactivate();
  SetFocus(GetParent(host_));
}

void WebView::SetVisible(bool visible) {
  if (host_ == nullptr) return;
  if (!visible) MoveFocusOutIfInside();
  ShowWindow(host_, visible ? SW_SHOWNA : SW_HIDE);
}

void WebView::SetEnabled(bool enabled) {
  if (host_ == nullptr) return;
  if (!enabled) MoveFocusOutIfInside();
  EnableWindow(host_, enabled ? TRUE : FALSE);
}

void WebView::SetBounds(RECT rect) {
  if (host_ == nullptr) return;
  rect = Normalized(rect);
  MoveWindow(host_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  if (inPlaceObject_ != nullptr) {
    const RECT local = LocalRect(rect);
    inPlaceObject_->SetObjectRects(&local, &local);
  }
}

void WebView::SetZoom(int percent) {
  if (events_ != nullptr) events_->SetZoom(percent);
  // A page already there is zoomed now; one still loading, once it has.
  if (browser_ == nullptr) return;
  READYSTATE state = READYSTATE_UNINITIALIZED;
  if (SUCCEEDED(browser_->get_ReadyState(&state)) && state >= READYSTATE_INTERACTIVE) {
    ZoomPage(*browser_.Get(), percent);
  }
}

void WebView::Navigate(const std::wstring& url) {
  if (browser_ == nullptr || events_ == nullptr || url.empty()) return;
  Bstr address(url);
  if (address.Get() == nullptr) return;
  // The one address the view may then show.
  events_->SetStartAddress(Narrow(url));
  Variant empty;
  browser_->Navigate(address.Get(), empty.Get(), empty.Get(), empty.Get(), empty.Get());
}

std::wstring WebView::LocationUrl() const {
  if (browser_ == nullptr) return {};
  Bstr location;
  if (FAILED(browser_->get_LocationURL(location.Out())) || location.Get() == nullptr) return {};
  return std::wstring(location.View());
}

}  // namespace ui

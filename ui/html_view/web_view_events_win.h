// The HTML view's browser event sink (DWebBrowserEvents2), the one place that
// decides where the WebBrowser control may go on its own. It keeps the view on
// the page the program sent it to: before-navigate events of the top frame to
// any other address, of a frame to another origin, and to any other scheme
// (mailto:, javascript:, file:, a registered protocol handler) are cancelled
// (MayNavigate in web_view_rule.h decides); a redirect, announced by the site
// (web_view_site_win.h), is one more such event. It also refuses new windows,
// script-initiated closes, file downloads, a document loading into a frame
// and the engine's error page for a failed navigation, each of which would
// otherwise put a window, a prompt, another program's viewer or a page of the
// engine's own in the view. Anything it cannot read is refused.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <utility>

struct IWebBrowser2;

namespace ui {

// Zooms the page the browser shows to `percent` of its size.
void ZoomPage(IWebBrowser2& browser, int percent);

class WebViewEvents final : public IDispatch {
 public:
  // `topFrame`: the control's identity (its IUnknown). A before-navigate event
  // names the navigating frame by its browser object, the control itself for
  // the top frame. Only compared, never called: the control holds this sink
  // and is unadvised before it goes, so the sink holds no reference back.
  // `zoom` zooms a loaded page (ZoomPage; a test records it instead).
  explicit WebViewEvents(IUnknown* topFrame, void (*zoom)(IWebBrowser2&, int) = &ZoomPage)
      : topFrame_(topFrame), zoomPage_(zoom) {}
  WebViewEvents(const WebViewEvents&) = delete;
  WebViewEvents& operator=(const WebViewEvents&) = delete;

  // The page the program sends the view to, before it navigates there.
  void SetStartAddress(std::string address) { start_ = std::move(address); }
  // Each page is zoomed to this percent once it has loaded, so that the
  // view shows the same part of it at every display scale.
  void SetZoom(int percent) { zoom_ = percent; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch: only Invoke is used by a connection point.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override;

 private:
  ~WebViewEvents() = default;
  bool MayGo(const DISPPARAMS& params);

  ULONG refs_ = 1;
  IUnknown* topFrame_;
  std::string start_;
  void (*zoomPage_)(IWebBrowser2&, int);
  int zoom_ = 100;
  // Whether the navigation last let through was a frame's: a download event
  // names no frame, and the document it announces belongs to that navigation.
  bool frameNavigating_ = false;
};

}  // namespace ui

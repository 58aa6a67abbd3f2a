// WebViewEvents; see web_view_events_win.h.
#include "ui/html_view/web_view_events_win.h"

#include <exdisp.h>
#include <exdispid.h>

#include "ui/html_view/web_view_rule.h"
#include "ui/win_base/scoped_win.h"
#include "ui/win_base/text_win.h"

namespace ui {
namespace {

// IDispatch passes arguments in reverse order: `index` counts from the last
// declared parameter. A by-reference VARIANT, as the browser passes its
// addresses, is followed.
const VARIANT* Argument(const DISPPARAMS& params, UINT index) {
  if (params.rgvarg == nullptr || index >= params.cArgs) return nullptr;
  const VARIANT* arg = &params.rgvarg[index];
  if (arg->vt == (VT_BYREF | VT_VARIANT)) arg = arg->pvarVal;
  return arg;
}

// Sets an event's by-reference Cancel flag.
void SetCancel(DISPPARAMS* params, UINT index) {
  if (params == nullptr || params->rgvarg == nullptr || index >= params->cArgs) return;
  VARIANT& cancel = params->rgvarg[index];
  if (cancel.vt == (VT_BOOL | VT_BYREF) && cancel.pboolVal != nullptr) *cancel.pboolVal = VARIANT_TRUE;
}

}  // namespace

void ZoomPage(IWebBrowser2& browser, int percent) {
  Variant zoom;
  zoom.Get()->vt = VT_I4;
  zoom.Get()->lVal = percent;
  browser.ExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, zoom.Get(), nullptr);
}

STDMETHODIMP WebViewEvents::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (iid != IID_IUnknown && iid != IID_IDispatch && iid != DIID_DWebBrowserEvents2) return E_NOINTERFACE;
  *out = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) WebViewEvents::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP WebViewEvents::GetTypeInfoCount(UINT* count) {
  if (count != nullptr) *count = 0;
  return S_OK;
}

STDMETHODIMP WebViewEvents::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return E_NOTIMPL;
}

// BeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel).
// Flags only says whether another window targets this one; nothing marks a
// redirect, and nothing in it may exempt a navigation from the rule.
bool WebViewEvents::MayGo(const DISPPARAMS& params) {
  if (params.cArgs != 7) return false;
  const VARIANT* frame = Argument(params, 6);
  const VARIANT* url = Argument(params, 5);
  if (frame == nullptr || url == nullptr || url->vt != VT_BSTR || url->bstrVal == nullptr) return false;
  // A frame's pages may be any of the origin's; one that cannot be told from
  // the top frame is held to the top frame's stricter rule.
  bool top = true;
  if (frame->vt == VT_DISPATCH && frame->pdispVal != nullptr) {
    ComPtr<IUnknown> identity;
    if (SUCCEEDED(frame->pdispVal->QueryInterface(IID_PPV_ARGS(&identity)))) top = identity.Get() == topFrame_;
  }
  if (!MayNavigate(start_, Narrow({url->bstrVal, SysStringLen(url->bstrVal)}), top)) return false;
  frameNavigating_ = !top;
  return true;
}

STDMETHODIMP WebViewEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) {
  switch (id) {
    case DISPID_BEFORENAVIGATE2:
      if (params == nullptr || !MayGo(*params)) SetCancel(params, 0);
      return S_OK;
    case DISPID_NEWWINDOW2:     // (ppDisp, Cancel)
    case DISPID_WINDOWCLOSING:  // (IsChildWindow, Cancel)
    case DISPID_NAVIGATEERROR:  // (pDisp, URL, Frame, StatusCode, Cancel): no error page
      SetCancel(params, 0);
      return S_OK;
    case DISPID_NEWWINDOW3:  // (ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl)
      SetCancel(params, 3);
      return S_OK;
    case DISPID_DOCUMENTCOMPLETE: {  // (pDisp, URL): the top frame's page is there to zoom
      const VARIANT* frame = params ? Argument(*params, 1) : nullptr;
      if (zoom_ == 100 || frame == nullptr || frame->vt != VT_DISPATCH || frame->pdispVal == nullptr) {
        return S_OK;  // a page loads at its own size
      }
      ComPtr<IUnknown> identity;
      ComPtr<IWebBrowser2> browser;
      if (SUCCEEDED(frame->pdispVal->QueryInterface(IID_PPV_ARGS(&identity))) &&
          identity.Get() == topFrame_ &&
          SUCCEEDED(frame->pdispVal->QueryInterface(IID_PPV_ARGS(&browser)))) {
        zoomPage_(*browser.Get(), zoom_);
      }
      return S_OK;
    }
    case DISPID_FILEDOWNLOAD: {  // (ActiveDocument, Cancel)
      // A file would be saved or handed to its program. A document is the
      // page the top frame was let through to; in a frame it could be any
      // program's (a PDF or office viewer) running inside this process.
      const VARIANT* document = params ? Argument(*params, 1) : nullptr;
      const bool isDocument =
          document != nullptr && document->vt == VT_BOOL && document->boolVal != VARIANT_FALSE;
      if (!isDocument || frameNavigating_) SetCancel(params, 0);
      return S_OK;
    }
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

}  // namespace ui

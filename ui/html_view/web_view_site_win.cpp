// WebViewSite; see web_view_site_win.h.
#include "ui/html_view/web_view_site_win.h"

#include <idispids.h>
#include <mshtmdid.h>

namespace ui {
namespace {

// Pictures yes; script, ActiveX, Java, behaviours, a page's own reloads
// (client pull) and anything that would ask the user a question no. The view
// shows a 144 x 24 slot of a page and takes no input, so script has nothing to
// do there, and it is what an unsandboxed control running with administrator
// rights should least run. Frames of a frameset are not fetched: the slot needs
// none, and one could hold another program's document (a frame of any kind
// is also held by the event sink). Videos and background sounds play only
// when their flags (DLCTL_VIDEOS, DLCTL_BGSOUNDS) are given, so they are left
// out: there is nothing to play either.
constexpr LONG kDownloadControl =
    DLCTL_DLIMAGES | DLCTL_SILENT | DLCTL_NO_SCRIPTS | DLCTL_NO_JAVA | DLCTL_NO_RUNACTIVEXCTLS |
    DLCTL_NO_DLACTIVEXCTLS | DLCTL_NO_BEHAVIORS | DLCTL_NO_FRAMEDOWNLOAD | DLCTL_NO_CLIENTPULL;

// An HTTP redirect raises a before-navigate event, and so meets the event
// sink's rule, only when the host asks for it; the engine refuses untrusted
// protocols itself, a second line behind the rule.
constexpr DWORD kHostFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_DISABLE_HELP_MENU |
                             DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_ENABLE_REDIRECT_NOTIFICATION |
                             DOCHOSTUIFLAG_DISABLE_UNTRUSTEDPROTOCOL;

}  // namespace

STDMETHODIMP WebViewSite::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == __uuidof(IOleClientSite)) {
    *out = static_cast<IOleClientSite*>(this);
  } else if (iid == __uuidof(IOleWindow) || iid == __uuidof(IOleInPlaceSite)) {
    *out = static_cast<IOleInPlaceSite*>(this);
  } else if (iid == __uuidof(IOleInPlaceUIWindow) || iid == __uuidof(IOleInPlaceFrame)) {
    *out = static_cast<IOleInPlaceFrame*>(this);
  } else if (iid == __uuidof(IDocHostUIHandler)) {
    *out = static_cast<IDocHostUIHandler*>(this);
  } else if (iid == __uuidof(IDocHostShowUI)) {
    *out = static_cast<IDocHostShowUI*>(this);
  } else if (iid == IID_IDispatch) {
    *out = static_cast<IDispatch*>(this);
  } else if (iid == __uuidof(IServiceProvider)) {
    *out = static_cast<IServiceProvider*>(this);
  } else if (iid == __uuidof(INewWindowManager)) {
    *out = static_cast<INewWindowManager*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) WebViewSite::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP WebViewSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker != nullptr) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP WebViewSite::GetContainer(IOleContainer** container) {
  if (container != nullptr) *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP WebViewSite::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = host_;
  return host_ != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP WebViewSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                           LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr || info == nullptr) {
    return E_POINTER;
  }
  *frame = static_cast<IOleInPlaceFrame*>(this);
  AddRef();
  *document = nullptr;  // The frame doubles as the document window.
  RECT client{};
  if (host_ != nullptr) GetClientRect(host_, &client);
  *position = client;
  *clip = client;
  info->fMDIApp = FALSE;
  info->hwndFrame = host_ != nullptr ? GetAncestor(host_, GA_ROOT) : nullptr;
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP WebViewSite::GetHostInfo(DOCHOSTUIINFO* info) {
  if (info == nullptr) return E_POINTER;
  info->dwFlags = kHostFlags;
  info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
  info->pchHostCss = nullptr;
  info->pchHostNS = nullptr;
  return S_OK;
}

STDMETHODIMP WebViewSite::GetOptionKeyPath(LPOLESTR* key, DWORD) {
  if (key != nullptr) *key = nullptr;
  return S_FALSE;
}

STDMETHODIMP WebViewSite::GetDropTarget(IDropTarget*, IDropTarget** target) {
  if (target != nullptr) *target = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP WebViewSite::GetExternal(IDispatch** external) {
  if (external != nullptr) *external = nullptr;
  return S_FALSE;
}

STDMETHODIMP WebViewSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* out) {
  if (out != nullptr) *out = nullptr;
  return S_FALSE;
}

STDMETHODIMP WebViewSite::FilterDataObject(IDataObject*, IDataObject** out) {
  if (out != nullptr) *out = nullptr;
  return S_FALSE;
}

STDMETHODIMP WebViewSite::ShowMessage(HWND, LPOLESTR, LPOLESTR, DWORD, LPOLESTR, DWORD, LRESULT* result) {
  if (result != nullptr) *result = IDCANCEL;
  return S_OK;
}

STDMETHODIMP WebViewSite::GetTypeInfoCount(UINT* count) {
  if (count != nullptr) *count = 0;
  return S_OK;
}

STDMETHODIMP WebViewSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP WebViewSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                 UINT*) {
  switch (id) {
    case DISPID_AMBIENT_DLCONTROL:
      if (result == nullptr) return E_POINTER;
      VariantInit(result);
      result->vt = VT_I4;
      result->lVal = kDownloadControl;
      return S_OK;
    // Asked for when the site is set: silent from the very first moment, and
    // offline instead of a "work offline?" prompt when there is no network.
    case DISPID_AMBIENT_SILENT:
    case DISPID_AMBIENT_OFFLINEIFNOTCONNECTED:
      if (result == nullptr) return E_POINTER;
      VariantInit(result);
      result->vt = VT_BOOL;
      result->boolVal = VARIANT_TRUE;
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

// The control asks its site for a pop-up manager before any window a page
// opens; HTML dialogs (showModalDialog, showModelessDialog) raise no
// new-window event, so this is the only place that sees them.
// SID_SNewWindowManager is the manager's interface id.
STDMETHODIMP WebViewSite::QueryService(REFGUID service, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (service != __uuidof(INewWindowManager)) return E_NOINTERFACE;
  return QueryInterface(iid, out);
}

// S_FALSE blocks the window; E_FAIL would hand the decision to the control's
// default manager, which follows the process's pop-up settings, not ours.
STDMETHODIMP WebViewSite::EvaluateNewWindow(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, BOOL, DWORD, DWORD) {
  return S_FALSE;
}

}  // namespace ui

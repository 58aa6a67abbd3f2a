// Win32WebPages; see web_pages_win.h.
#include "net/web_pages_win.h"

#include <windows.h>

#include <exdisp.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "ui/scoped_win.h"
#include "ui/system_ui_win.h"
#include "ui/text_win.h"

namespace net {

namespace {

using ui::ComPtr;

ui::Variant TextValue(const wchar_t* text) {
  ui::Variant value;
  value.Get()->vt = VT_BSTR;
  value.Get()->bstrVal = SysAllocString(text);
  return value;
}

// The shell automation object of the desktop's own folder view. Its calls
// run inside the desktop shell's process, so whatever it starts runs with
// the shell's token, not this process's. Null when there is no desktop shell
// (another shell, or the desktop not running yet).
ComPtr<IShellDispatch2> DesktopShell() {
  ComPtr<IShellWindows> windows;
  // The shell's registered instance only: an in-process one would start
  // things from here, elevated.
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                              IID_PPV_ARGS(&windows)))) {
    return nullptr;
  }
  ui::Variant desktop;
  desktop.Get()->vt = VT_I4;
  desktop.Get()->lVal = CSIDL_DESKTOP;
  ui::Variant noRoot;
  long window = 0;
  ComPtr<IDispatch> found;
  // S_FALSE when no desktop window is registered.
  if (windows->FindWindowSW(desktop.Get(), noRoot.Get(), SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                            &found) != S_OK ||
      !found) {
    return nullptr;
  }
  ComPtr<IServiceProvider> services;
  ComPtr<IShellBrowser> browser;
  ComPtr<IShellView> view;
  ComPtr<IDispatch> background;
  ComPtr<IShellFolderViewDual> folderView;
  ComPtr<IDispatch> application;
  ComPtr<IShellDispatch2> shell;
  if (FAILED(found.As(&services)) ||
      FAILED(services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&browser))) ||
      FAILED(browser->QueryActiveShellView(&view)) || !view ||
      FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(&background))) ||
      FAILED(background.As(&folderView)) || FAILED(folderView->get_Application(&application)) ||
      !application || FAILED(application.As(&shell))) {
    return nullptr;
  }
  return shell;
}

bool OpenThroughDesktop(const std::wstring& address) {
  ComPtr<IShellDispatch2> shell = DesktopShell();
  if (!shell) return false;
  ui::Bstr file(address);
  ui::Variant show;
  show.Get()->vt = VT_I4;
  show.Get()->lVal = SW_SHOWNORMAL;
  shell->ShellExecute(file.Get(), TextValue(L"").Value(), TextValue(L"").Value(),
                      TextValue(L"open").Value(), show.Value());
  return true;
}

// Returns once the shell has handed the address on; the browser starts on
// its own. A result of 32 or less is a failure, deliberately not reported.
void OpenHere(const std::wstring& address) {
  ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

const WebPagesApi& RealWebPagesApi() {
  static const WebPagesApi api{&ui::RunsElevated, &OpenThroughDesktop, &OpenHere};
  return api;
}

void Win32WebPages::OpenWebPage(std::string_view address) {
  if (address.empty()) return;
  const std::wstring wide = ui::Widen(address);
  // Run as administrator, ShellExecute here would start the browser as
  // administrator too, and with it every page it shows and every later link
  // it is handed. The desktop shell opens the address at the user's own
  // level instead. Without a desktop shell nothing opens: a link is not
  // worth an elevated browser.
  // A token that cannot be read counts as elevated: the careful route only
  // costs time.
  if (api_.runsElevated().value_or(true)) {
    api_.openThroughDesktop(wide);
    return;
  }
  api_.openHere(wide);
}

}  // namespace net

// The embedded HTML view on a real STA thread in a frameless parent: placement, input, what it refuses, teardown.
#include "ui/html_view/web_view_win.h"

#include <exdisp.h>
#include <exdispid.h>
#include <gtest/gtest.h>
#include <mshtmdid.h>

#include <thread>
#include <vector>

#include "tests/win/win_test.h"
#include "ui/html_view/web_view_events_win.h"
#include "ui/html_view/web_view_site_win.h"
#include "ui/win_base/scoped_win.h"

namespace {

constexpr RECT kViewRect{190, 150, 190 + 176, 150 + 64};

using testing_win::PumpUntil;
using testing_win::RectIn;

void Pump(int ms) { PumpUntil([] { return false; }, ms); }

// A named function: a lambda has the wrong calling convention on 32-bit x86.
BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, &CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The top-level windows of a thread, or of every thread for 0.
std::vector<HWND> TopLevel(DWORD threadId) {
  std::vector<HWND> found;
  const LPARAM into = reinterpret_cast<LPARAM>(&found);
  threadId ? EnumThreadWindows(threadId, &CollectWindow, into) : EnumWindows(&CollectWindow, into);
  return found;
}

// This thread's windows, message-only ones left out (COM's and the download helpers are shared and may stay).
size_t ThreadWindowCount() {
  size_t count = 0;
  for (HWND hwnd : TopLevel(GetCurrentThreadId())) count += 1 + Children(hwnd).size();
  return count;
}

// Visible top-level windows of this process but `except`: where a dialog or browser window would show.
std::vector<HWND> OtherVisibleTopLevel(HWND except) {
  std::vector<HWND> found;
  for (HWND hwnd : TopLevel(0)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == GetCurrentProcessId() && hwnd != except && IsWindowVisible(hwnd)) found.push_back(hwnd);
  }
  return found;
}

HWND CreateParent() {
  // Frameless like the program's window; a system class needs no registration.
  const HWND parent = CreateWindowExW(0, L"STATIC", L"web view test", WS_POPUP | WS_CLIPCHILDREN, 100, 100, 378,
                                      232, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(parent, SW_SHOWNA);
  return parent;
}

class WebViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    parent_ = CreateParent();
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(parent_)) DestroyWindow(parent_);
    OleUninitialize();
  }

  // A new view, shown and enabled when asked.
  std::unique_ptr<ui::WebView> CreateView(bool shown = false, bool enabled = false) {
    auto view = ui::WebView::Create(parent_, kViewRect, L"https://quondahalvix.invalid/start");
    if (view && shown) view->SetVisible(true);
    if (view && enabled) view->SetEnabled(true);
    return view;
  }
  // Two real browser objects stand for the view and a frame in its page.
  void CreateBrowsers() {
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&top_)));
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&frame_)));
    ASSERT_HRESULT_SUCCEEDED(top_.As(&topIdentity_));
  }

  HWND parent_ = nullptr;
  ui::ComPtr<IWebBrowser2> top_, frame_;
  ui::ComPtr<IUnknown> topIdentity_;
};

// The control's events reach the sink as it reads them: the start page is let through (refused: no address).
TEST_F(WebViewTest, StartsHiddenAndDisabledAtItsRectWithTheControlInPlaceAndLoadsTheStartPage) {
  auto view = CreateView();
  ASSERT_NE(view, nullptr);
  const HWND host = view->Window();
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(GetParent(host), parent_);
  EXPECT_FALSE(IsWindowVisible(host));
  EXPECT_FALSE(IsWindowEnabled(host));
  EXPECT_EQ(RectIn(host), kViewRect);
  // In-place activation gave the control a window of its own inside ours.
  EXPECT_FALSE(Children(host).empty());
  PumpUntil([&] { return !view->LocationUrl().empty(); }, 2000);
  EXPECT_EQ(view->LocationUrl(), L"https://quondahalvix.invalid/start");
}

// A disabled or hidden parent does not take focus away from its children.
TEST_F(WebViewTest, DisablingOrHidingTakesKeyboardFocusOutOfTheControl) {
  for (bool hide : {false, true}) {
    SCOPED_TRACE(hide);
    auto view = CreateView(true, true);
    ASSERT_NE(view, nullptr);
    const auto children = Children(view->Window());
    ASSERT_FALSE(children.empty());
    SetFocus(children.front());
    ASSERT_EQ(GetFocus(), children.front());
    hide ? view->SetVisible(false) : view->SetEnabled(false);
    const HWND focus = GetFocus();
    EXPECT_TRUE(focus != view->Window() && !IsChild(view->Window(), focus));
  }
}

TEST_F(WebViewTest, SetBoundsMovesTheViewAndResizesTheControl) {
  const struct { RECT requested, expected; } cases[] = {
      {{0, 0, 176, 64}, {0, 0, 176, 64}},
      {{10, 20, 310, 220}, {10, 20, 310, 220}},
      {{-30, -10, 50, 40}, {-30, -10, 50, 40}},     // Partly outside the parent.
      {{100, 100, 40, 60}, {100, 100, 100, 100}},  // Inverted: collapses to empty.
  };
  auto view = CreateView(true);
  ASSERT_NE(view, nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.requested));
    view->SetBounds(c.requested);
    EXPECT_EQ(RectIn(view->Window()), c.expected);
    const auto children = Children(view->Window());
    ASSERT_FALSE(children.empty());
    const RECT control = testing_win::WindowRect(children.front());
    EXPECT_EQ(control.right - control.left, c.expected.right - c.expected.left);
    EXPECT_EQ(control.bottom - control.top, c.expected.bottom - c.expected.top);
  }
}

// No network and no engine: every navigation comes back without a dialog or a blocked message loop.
TEST_F(WebViewTest, NavigatingWhereNothingLoadsOpensNoWindow) {
  const std::wstring urls[] = {
      L"http://quondahalvix.invalid/page",
      L"https://192.0.2.1/",
      L"res://nowhere.dll/missing.htm",
      L"about:blank",
      L"::not an address::",
      L"",
      std::wstring(L"http://a\0b/", 11),
  };
  auto view = CreateView(true, true);
  ASSERT_NE(view, nullptr);
  for (const std::wstring& url : urls) {
    view->Navigate(url);
    PumpUntil([&] { return view->LocationUrl() == url; }, 500);
    EXPECT_TRUE(OtherVisibleTopLevel(parent_).empty());
  }
  Pump(1000);  // long enough for a dialog that should not come
  EXPECT_TRUE(OtherVisibleTopLevel(parent_).empty());
}

// Cancel, at each event's own argument place (anywhere else the control goes ahead), for all but the start page.
// A download goes ahead only as the document of the top page let through last: the order of the cases matters.
TEST_F(WebViewTest, TheSinkCancelsAllButTheStartPage) {
  CreateBrowsers();
  auto events = ui::Adopt(new ui::WebViewEvents(topIdentity_.Get()));
  // Born with the one reference its holder takes over: a second would keep it forever.
  EXPECT_EQ(events->AddRef(), 2u);
  EXPECT_EQ(events->Release(), 1u);
  UINT typeInfos = 5;  // none: a caller must not go on to ask for one
  EXPECT_EQ(events->GetTypeInfoCount(&typeInfos), S_OK);
  EXPECT_EQ(typeInfos, 0u);
  events->SetStartAddress("https://ver.quondahalvix.invalid/start.htm");
  const struct {
    const wchar_t* url;  // a before-navigate's address
    bool inFrame, cancelled;
    DISPID id = DISPID_BEFORENAVIGATE2;
    UINT count = 7, cancelAt = 0;
    VARIANT_BOOL document = VARIANT_FALSE;  // a download's ActiveDocument
    VARTYPE frameType = VT_DISPATCH;
  } cases[] = {
      {L"https://ver.quondahalvix.invalid/start.htm", false, false},
      {L"", false, false, DISPID_FILEDOWNLOAD, 2, 0, VARIANT_TRUE},  // its page
      {L"", false, true, DISPID_FILEDOWNLOAD, 2, 0, VARIANT_FALSE},  // a file
      {L"https://example.invalid/start.htm", false, true},
      {L"mailto:someone@example.invalid", false, true},
      {L"quondahalvix-update:run", false, true},
      {L"https://ver.quondahalvix.invalid/other.htm", false, true},
      {L"https://ver.quondahalvix.invalid/other.htm", true, false},
      {L"", true, true, DISPID_FILEDOWNLOAD, 2, 0, VARIANT_TRUE},  // a document in the frame
      {L"http://ver.quondahalvix.invalid/start.htm", false, true},  // redirected off https
      {L"http://ver.quondahalvix.invalid/other.htm", true, true},
      // A frame named by no object (the frame's pointer left in the VARIANT): the top's rule.
      {L"https://ver.quondahalvix.invalid/other.htm", true, true, DISPID_BEFORENAVIGATE2, 7, 0, VARIANT_FALSE, VT_EMPTY},
      {L"https://ver.quondahalvix.invalid/start.htm", false, false},  // the page again
      {L"", false, false, DISPID_FILEDOWNLOAD, 2, 0, VARIANT_TRUE},
      {L"", false, true, DISPID_NEWWINDOW2, 2, 0},                  // (ppDisp, Cancel)
      {L"", false, true, DISPID_NEWWINDOW3, 5, 3},                  // (ppDisp, Cancel, flags, 2 URLs)
      {L"", false, true, DISPID_WINDOWCLOSING, 2, 0},               // (IsChildWindow, Cancel)
      {L"", false, true, DISPID_NAVIGATEERROR, 5, 0},               // (..., StatusCode, Cancel)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << (c.inFrame ? " frame " : " top ") << c.url);
    // As the browser passes them: last first, the address a reference to a VARIANT holding a BSTR.
    ui::Bstr url(c.url);
    VARIANT address{};
    address.vt = VT_BSTR;
    address.bstrVal = url.Get();
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[7]{};
    args[c.cancelAt].vt = VT_BOOL | VT_BYREF;
    args[c.cancelAt].pboolVal = &cancel;
    if (c.id == DISPID_FILEDOWNLOAD) {
      args[1].vt = VT_BOOL;
      args[1].boolVal = c.document;
    }
    args[5].vt = VT_BYREF | VT_VARIANT;
    args[5].pvarVal = &address;
    args[6].vt = c.frameType;
    args[6].pdispVal = c.inFrame ? frame_.Get() : top_.Get();
    DISPPARAMS params{args, nullptr, c.count, 0};
    EXPECT_HRESULT_SUCCEEDED(
        events->Invoke(c.id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
    EXPECT_EQ(cancel, c.cancelled ? VARIANT_TRUE : VARIANT_FALSE);
  }
}

// A loaded page is zoomed to the display's scale: the top frame's (the event's first argument), no inner frame's.
std::vector<std::pair<IWebBrowser2*, int>> gZoomed;
TEST_F(WebViewTest, TheTopFramesPageIsZoomedOnceLoaded) {
  CreateBrowsers();
  auto events = ui::Adopt(new ui::WebViewEvents(topIdentity_.Get(), [](IWebBrowser2& b, int percent) {
    gZoomed.emplace_back(&b, percent);
  }));
  const struct {
    int zoom;
    bool inFrame, zoomed;
    VARTYPE type = VT_DISPATCH;
  } cases[] = {
      {150, false, true}, {150, true, false}, {100, false, false}, {125, false, true}, {200, true, false},
      {200, false, false, VT_UNKNOWN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.zoom << (c.inFrame ? " frame" : " top"));
    gZoomed.clear();
    events->SetZoom(c.zoom);
    ui::Bstr url(L"https://ver.quondahalvix.invalid/start.htm");
    VARIANT args[2]{};  // (pDisp, URL), last first
    args[0].vt = VT_BSTR;
    args[0].bstrVal = url.Get();
    args[1].vt = c.type;
    args[1].pdispVal = c.inFrame ? frame_.Get() : top_.Get();
    DISPPARAMS params{args, nullptr, 2, 0};
    EXPECT_HRESULT_SUCCEEDED(events->Invoke(DISPID_DOCUMENTCOMPLETE, IID_NULL, 0, DISPATCH_METHOD, &params,
                                            nullptr, nullptr, nullptr));
    const std::vector<std::pair<IWebBrowser2*, int>> expected{{top_.Get(), c.zoom}};
    EXPECT_EQ(gZoomed, c.zoomed ? expected : decltype(expected){});
  }
}

// The site keeps script, ActiveX, Java, client pull and frames out, and its pop-up manager blocks every new window
// (S_FALSE: E_FAIL would leave it to others).
TEST_F(WebViewTest, TheSiteRefusesScriptPopUpsAndDialogs) {
  auto site = ui::Adopt(new ui::WebViewSite(parent_));
  DOCHOSTUIINFO info{sizeof(info)};
  ASSERT_HRESULT_SUCCEEDED(site->GetHostInfo(&info));
  const DWORD host = DOCHOSTUIFLAG_ENABLE_REDIRECT_NOTIFICATION | DOCHOSTUIFLAG_DISABLE_UNTRUSTEDPROTOCOL;
  EXPECT_EQ(info.dwFlags & host, host);
  // Its frame: the top-level window, with no accelerator table of ours to translate keys through.
  ui::ComPtr<IOleInPlaceFrame> frame;
  ui::ComPtr<IOleInPlaceUIWindow> document;
  RECT position, clip;
  OLEINPLACEFRAMEINFO frameInfo{sizeof(frameInfo)};
  ASSERT_HRESULT_SUCCEEDED(site->GetWindowContext(&frame, &document, &position, &clip, &frameInfo));
  EXPECT_EQ(frameInfo.hwndFrame, GetAncestor(parent_, GA_ROOT));
  EXPECT_EQ(frameInfo.haccel, nullptr);
  EXPECT_EQ(frameInfo.cAccelEntries, 0u);
  ui::Variant flags;
  DISPPARAMS none{};
  ASSERT_HRESULT_SUCCEEDED(site->Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                                        flags.Get(), nullptr, nullptr));
  const LONG refused = DLCTL_SILENT | DLCTL_NO_SCRIPTS | DLCTL_NO_JAVA | DLCTL_NO_RUNACTIVEXCTLS |
                       DLCTL_NO_DLACTIVEXCTLS | DLCTL_NO_BEHAVIORS | DLCTL_NO_FRAMEDOWNLOAD | DLCTL_NO_CLIENTPULL;
  EXPECT_EQ(flags.Get()->lVal & (refused | DLCTL_VIDEOS | DLCTL_BGSOUNDS), refused);
  ui::ComPtr<IServiceProvider> services;
  ui::ComPtr<INewWindowManager> manager;
  ASSERT_HRESULT_SUCCEEDED(site.As(&services));
  ASSERT_HRESULT_SUCCEEDED(services->QueryService(SID_SNewWindowManager, IID_PPV_ARGS(&manager)));
  const DWORD hows[] = {0, NWMF_USERINITED | NWMF_FIRST, NWMF_HTMLDIALOG};
  for (DWORD how : hows) {
    EXPECT_EQ(manager->EvaluateNewWindow(L"https://ver.quondahalvix.invalid/pop.htm", nullptr, nullptr, nullptr,
                                         FALSE, how, 0), S_FALSE) << how;
  }
  // Only that service: else the site's window would be handed to whoever asks.
  ui::ComPtr<IOleWindow> window;
  EXPECT_EQ(services->QueryService(__uuidof(IOleWindow), IID_PPV_ARGS(&window)), E_NOINTERFACE);
  EXPECT_EQ(window, nullptr);
}

// On a thread of its own: the baseline is exactly its parent window, nothing another test left.
TEST(WebViewLifetime, RepeatedCreateAndDestroyLeavesNothingBehind) {
  constexpr int kRounds = 8;
  struct Round {
    bool created = false;
    size_t childrenLeft = 1, threadWindows = 0;
  };
  std::vector<Round> rounds(kRounds);
  size_t baseline = 0;
  size_t strayTopLevel = 1;
  std::thread worker([&] {
    if (FAILED(OleInitialize(nullptr))) return;
    const HWND parent = CreateParent();
    baseline = ThreadWindowCount();
    for (Round& round : rounds) {
      auto view = ui::WebView::Create(parent, kViewRect, L"https://quondahalvix.invalid/start");
      round.created = view != nullptr;  // False too if the host class cannot be registered twice.
      if (view) {
        view->SetVisible(true);
        view->Navigate(L"https://quondahalvix.invalid/again");
        Pump(50);
      }
      view.reset();
      round.childrenLeft = Children(parent).size();
      PumpUntil([&] { return ThreadWindowCount() == baseline; }, 2000);
      round.threadWindows = ThreadWindowCount();
    }
    strayTopLevel = OtherVisibleTopLevel(parent).size();
    DestroyWindow(parent);
    OleUninitialize();
  });
  worker.join();
  for (int i = 0; i < kRounds; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(rounds[i].created);
    EXPECT_EQ(rounds[i].childrenLeft, 0u);
    EXPECT_EQ(rounds[i].threadWindows, baseline);
  }
  EXPECT_EQ(strayTopLevel, 0u);
}

// A parent that is not a window gets no view; one destroyed under the view leaves it harmless.
TEST_F(WebViewTest, ParentsThatAreNotWindowsOrAreGoneLeaveNoViewOrAHarmlessOne) {
  const HWND gone = CreateParent();
  DestroyWindow(gone);
  for (HWND parent : {HWND{}, gone, reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7ff0))}) {
    EXPECT_EQ(ui::WebView::Create(parent, kViewRect, L"https://quondahalvix.invalid/"), nullptr);
  }
  auto view = CreateView(true);
  ASSERT_NE(view, nullptr);
  DestroyWindow(parent_);
  EXPECT_EQ(view->Window(), nullptr);
  view->SetVisible(true);
  view->SetEnabled(true);
  view->SetBounds(kViewRect);
  view->Navigate(L"https://quondahalvix.invalid/late");
  EXPECT_EQ(view->LocationUrl(), L"");
}

// A thread that never initialised OLE gets no view and no stray host window.
TEST(WebViewWithoutOle, CreateReturnsNullAndLeavesNoWindow) {
  bool created = true;
  size_t strayChildren = 1;
  std::thread worker([&] {
    const HWND parent = CreateParent();
    created = ui::WebView::Create(parent, kViewRect, L"https://quondahalvix.invalid/") != nullptr;
    strayChildren = Children(parent).size();
    DestroyWindow(parent);
  });
  worker.join();
  EXPECT_FALSE(created);
  EXPECT_EQ(strayChildren, 0u);
}

}  // namespace

// The baseline for the start-up, memory and idle benchmarks: the least a
// Win32 program can do and still show a window like MainWindow (one white
// 867x524 frameless window at 50,50, titled "MinimalWindow") and wait in its
// message loop. `--hidden-after SECONDS` hides the window with
// ShowWindow(SW_HIDE) that long after start, so its hidden state is reached
// the way the program's own is, from inside, not by unmapping it from outside.
// Each `--timer MS` adds one empty timer, so the benchmark can build a
// stand-in with exactly the program's own timers and learn what they alone
// cost in wakeups under this Wine.
//
// Built with QH_PLATFORM_FLOOR defined, the same source is the platform
// floor, titled "PlatformFloor": before its window shows it does exactly the
// platform work the program cannot do without (OLE initialised, the disk's
// SMART data asked of WMI and everything of that query released with its
// libraries let go, GDI+ started, common controls 6 initialised, the network
// state asked, a tray icon added), and undoes it at the end.
// What the program costs beyond that is its own.
#include <windows.h>

#include <shellapi.h>
#ifdef QH_PLATFORM_FLOOR
#include <commctrl.h>
#include <gdiplus.h>
#include <ole2.h>
#include <wininet.h>
#endif

#include <cwchar>
#include <memory>
#include <vector>

namespace {

#ifdef QH_PLATFORM_FLOOR
constexpr wchar_t kClassName[] = L"PlatformFloorClass";
constexpr wchar_t kTitle[] = L"PlatformFloor";
#else
constexpr wchar_t kClassName[] = L"MinimalWindowClass";
constexpr wchar_t kTitle[] = L"MinimalWindow";
#endif
constexpr UINT_PTR kHideTimer = 1;
constexpr UINT_PTR kFirstEmptyTimer = 100;
constexpr size_t kMaxEmptyTimers = 16;
constexpr UINT kMaxTimerMs = 0x7FFFFFFF;

struct Options {
  UINT hideAfterMs = 0;  // 0: stay shown
  std::vector<UINT> timerMs;
  bool ok = true;
};

struct LocalDeleter {
  void operator()(wchar_t** p) const { LocalFree(p); }
};

// Accepts only a finite, positive number that, scaled to ms, fits a timer interval.
bool ParsePositive(const wchar_t* text, double scale, UINT& out) {
  wchar_t* end = nullptr;
  const double value = std::wcstod(text, &end);
  if (end == text || *end != L'\0' || !(value > 0.0)) return false;
  const double ms = value * scale;
  if (!(ms >= 1.0 && ms <= kMaxTimerMs)) return false;
  out = static_cast<UINT>(ms);
  return true;
}

Options ParseOptions() {
  Options options;
  int argc = 0;
  std::unique_ptr<wchar_t*, LocalDeleter> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
  if (!argv) return options;
  for (int i = 1; i < argc && options.ok; ++i) {
    const wchar_t* arg = argv.get()[i];
    const bool hasValue = i + 1 < argc;
    if (std::wcscmp(arg, L"--hidden-after") == 0 && hasValue) {
      options.ok = ParsePositive(argv.get()[++i], 1000.0, options.hideAfterMs);
    } else if (std::wcscmp(arg, L"--timer") == 0 && hasValue && options.timerMs.size() < kMaxEmptyTimers) {
      UINT ms = 0;
      options.ok = ParsePositive(argv.get()[++i], 1.0, ms);
      options.timerMs.push_back(ms);
    } else {
      options.ok = false;
    }
  }
  return options;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kHideTimer) {
        // One-shot: a repeating hide would add a wakeup the baseline must not have.
        KillTimer(hwnd, kHideTimer);
        ShowWindow(hwnd, SW_HIDE);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

// The registration, undone once the loop has ended and the window is gone.
class WindowClass {
 public:
  explicit WindowClass(HINSTANCE instance) : instance_(instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClassName;
    atom_ = RegisterClassExW(&wc);
  }
  ~WindowClass() {
    if (atom_) UnregisterClassW(kClassName, instance_);
  }
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;
  bool ok() const { return atom_ != 0; }

 private:
  HINSTANCE instance_;
  ATOM atom_ = 0;
};

#ifdef QH_PLATFORM_FLOOR
// Calls a method of an automation object with string arguments (given in
// order); the object it returns, or nullptr.
IDispatch* CallForObject(IDispatch* object, const wchar_t* method, std::vector<const wchar_t*> args) {
  DISPID id;
  LPOLESTR name = const_cast<LPOLESTR>(method);
  if (!object || FAILED(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) {
    return nullptr;
  }
  std::vector<VARIANT> values(args.size());
  for (size_t i = 0; i < args.size(); ++i) {  // DISPPARAMS takes them last first
    values[args.size() - 1 - i].vt = VT_BSTR;
    values[args.size() - 1 - i].bstrVal = SysAllocString(args[i]);
  }
  DISPPARAMS params{values.data(), nullptr, static_cast<UINT>(values.size()), 0};
  VARIANT result;
  VariantInit(&result);
  HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                              nullptr, nullptr);
  for (VARIANT& v : values) VariantClear(&v);
  if (SUCCEEDED(hr) && result.vt == VT_DISPATCH) return result.pdispVal;
  VariantClear(&result);
  return nullptr;
}

// The platform work of the program's start, held for the program's life but
// for the disk query, whose objects go at once and whose libraries COM is
// asked to unload, as the program does.
class PlatformWork {
 public:
  PlatformWork() {
    oleOk_ = SUCCEEDED(OleInitialize(nullptr));
    CLSID locatorClass;
    IDispatch* locator = nullptr;
    if (oleOk_ && SUCCEEDED(CLSIDFromProgID(L"WbemScripting.SWbemLocator", &locatorClass))) {
      CoCreateInstance(locatorClass, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                       reinterpret_cast<void**>(&locator));
    }
    IDispatch* service = CallForObject(locator, L"ConnectServer", {L".", L"root\\WMI"});
    IDispatch* results =
        CallForObject(service, L"ExecQuery", {L"Select * from MSStorageDriver_ATAPISmartData"});
    for (IDispatch* object : {results, service, locator}) {
      if (object) object->Release();
    }
    CoFreeUnusedLibrariesEx(0, 0);
    Gdiplus::GdiplusStartupInput input;
    gdiplusOk_ = Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr) == Gdiplus::Ok;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    DWORD flags = 0;
    InternetGetConnectedState(&flags, 0);
  }
  ~PlatformWork() {
    if (trayAdded_) Shell_NotifyIconW(NIM_DELETE, &tray_);
    if (gdiplusOk_) Gdiplus::GdiplusShutdown(gdiplusToken_);
    if (oleOk_) OleUninitialize();
  }
  PlatformWork(const PlatformWork&) = delete;
  PlatformWork& operator=(const PlatformWork&) = delete;

  void AddTrayIcon(HWND hwnd) {
    tray_.cbSize = NOTIFYICONDATAW_V2_SIZE;
    tray_.hWnd = hwnd;
    tray_.uID = 1;
    tray_.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    tray_.uCallbackMessage = WM_APP + 1;
    tray_.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    lstrcpynW(tray_.szTip, kTitle, ARRAYSIZE(tray_.szTip));
    trayAdded_ = Shell_NotifyIconW(NIM_ADD, &tray_) != FALSE;
  }

 private:
  bool oleOk_ = false;
  bool gdiplusOk_ = false;
  ULONG_PTR gdiplusToken_ = 0;
  NOTIFYICONDATAW tray_{};
  bool trayAdded_ = false;
};
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const Options options = ParseOptions();
  if (!options.ok) return 2;
#ifdef QH_PLATFORM_FLOOR
  PlatformWork platform;
#endif
  WindowClass windowClass(instance);
  if (!windowClass.ok()) return 1;
  // The window needs no owner object: it lives until WM_DESTROY, which also ends the loop.
  HWND hwnd = CreateWindowExW(0, kClassName, kTitle, WS_POPUP, 50, 50, 867, 524, nullptr, nullptr, instance,
                              nullptr);
  if (!hwnd) return 1;
#ifdef QH_PLATFORM_FLOOR
  platform.AddTrayIcon(hwnd);
#endif
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
  if (options.hideAfterMs) SetTimer(hwnd, kHideTimer, options.hideAfterMs, nullptr);
  for (size_t i = 0; i < options.timerMs.size(); ++i) {
    SetTimer(hwnd, kFirstEmptyTimer + i, options.timerMs[i], nullptr);
  }

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

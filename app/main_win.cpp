// The entry routine: program-wide records, MainWindow as the start window,
// the message loop, and exit code 0 once MainWindow has been destroyed.
// Command-line arguments are ignored.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include <cstdlib>

#include "app/globals.h"
#include "app/platform_win.h"
#include "app/program.h"
#include "ui/backend_win.h"
#include "ui/gdiplus_session_win.h"
#include "ui/image_store_win.h"
#include "ui/main_window/main_window_form.h"

namespace {

// The records released when the program ends, however it ends: a normal
// return below, or an early exit from inside a handler.
app::Globals* gRegistered = nullptr;

void ReleaseRegisteredGlobals() {
  if (gRegistered) app::ReleaseGlobals(*gRegistered);
  gRegistered = nullptr;
}

// OLE for the HTML view; undone only when it was done.
class OleSession {
 public:
  OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleSession() {
    if (ok_) OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

 private:
  bool ok_;
};

int RunProgram(HINSTANCE instance) {
  OleSession ole;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  ui::GdiplusSession gdiplus;
  ui::ImageStore images(gdiplus, instance);
  ui::Win32Backend backend(instance, images);
  app::Win32Platform platform(backend, instance);
  app::Program program(backend, platform);
  backend.Attach(program.desktop);

  app::InitGlobals(program.globals);
  gRegistered = &program.globals;
  std::atexit(ReleaseRegisteredGlobals);
  platform.SetAtEnd(ReleaseRegisteredGlobals);

  ui::Window& main = program.desktop.Load(ui::MainWindowForm(), nullptr);
  backend.SetMainWindow(&main);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    program.desktop.CollectClosed();
  }
  // The records go before the objects that hold them.
  ReleaseRegisteredGlobals();
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunProgram(instance); }

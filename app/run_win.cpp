// RunProgram; see run_win.h.
#include "app/run_win.h"

#include <commctrl.h>
#include <ole2.h>

#include <cstdlib>

#include "app/dll_search_win.h"
#include "app/processes_win.h"
#include "app/program.h"
#include "disk/smart_report_win.h"
#include "net/network_win.h"
#include "net/web_pages_win.h"
#include "shell/tray_win.h"
#include "task/clock_win.h"
#include "task/power_win.h"
#include "ui/main_window/main_window_form.h"
#include "ui/win32/backend_win.h"
#include "ui/win32/image_store_win.h"
#include "ui/win_base/gdiplus_session_win.h"
#include "ui/win_base/messages_win.h"

namespace app {

namespace {

// The records released when the program ends, however it ends: a normal
// return below, or an early exit from inside a handler.
Program* gRegistered = nullptr;

void ReleaseRegisteredGlobals() {
  if (gRegistered) gRegistered->ReleaseGlobals();
  gRegistered = nullptr;
}

// OLE for the HTML view (and COM for the automation calls); undone only when
// it was done.
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

}  // namespace

ui::Window& StartMainWindow(Program& program, ui::Win32Backend& backend,
                            task::Win32PowerActions& power) {
  ui::Window& main = program.desktop.Load(ui::MainWindowForm(), nullptr);
  backend.SetMainWindow(&main);
  // A failed power action comes back from its worker as a posted message and
  // is shown here, on the window thread, like every other notice.
  backend.AddMessageRoute(ui::kPowerFailedMessage, [&program](ui::Window&, WPARAM w, LPARAM l) {
    task::PowerFailureReport report = task::UnpackFailure(w, l);
    task::OnPowerActionFailed(program.Task(), report.mode, report.result.failure);
  });
  power.ReportFailuresTo(backend.Handle(main), ui::kPowerFailedMessage);
  // The screen or a scale changed: the notice keeps its place in the slide
  // on the screen as it is now.
  backend.AddMessageRoute(ui::kDisplayChangedMessage,
                          [&program](ui::Window&, WPARAM, LPARAM) { task::PlaceNotice(program.Task()); });
  // Restart Manager closing the program for an installer or an update ends
  // it as the confirmed exit does, exit code 0; the task armed then comes
  // back with the restart. A log-off or shutdown is left to the system.
  backend.AddMessageRoute(WM_QUERYENDSESSION, [&program](ui::Window&, WPARAM, LPARAM how) {
    OnSessionEndQuery(program, (how & ENDSESSION_CLOSEAPP) != 0);
  });
  backend.AddMessageRoute(WM_ENDSESSION, [&program](ui::Window&, WPARAM ending, LPARAM how) {
    OnSessionEnd(program, ending != FALSE, (how & ENDSESSION_CLOSEAPP) != 0);
  });
  return main;
}

int RunProgram(HINSTANCE instance, const RunOptions& options) {
  // First: everything below loads DLLs (comctl32, GDI+, OLE and what they use).
  RestrictDllSearch();
  OleSession ole;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  ui::GdiplusSession gdiplus;
  ui::ImageStore images(gdiplus, instance);
  ui::Win32Backend backend(instance, images);

  task::Win32Clock clock;
  shell::Win32Tray tray(backend, instance);
  Win32Processes processes;
  net::Win32Network network;
  net::Win32WebPages web;
  task::Win32PowerActions power;
  disk::WmiSmartReport smart;  // after the OLE session, so it goes before it
  Program program(backend, Services{clock, tray, processes, network, web, power, smart});
  program.records.task.keepSlideTimer = options.keepSlideTimer;
  program.records.resumeTask = options.resumeTask;
  backend.Attach(program.desktop);
  tray.Attach(program.desktop);

  gRegistered = &program;
  std::atexit(ReleaseRegisteredGlobals);
  processes.SetAtEnd(ReleaseRegisteredGlobals);

  StartMainWindow(program, backend, power);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    program.desktop.CollectClosed();
  }
  // The records go while COM and the objects that hold them are still there.
  ReleaseRegisteredGlobals();
  return 0;
}

}  // namespace app

// The running program as its handlers see it: the windows, the program-wide
// records and the platform services. Every event the forms bind arrives in
// Run, which hands it to the handler of the module that owns it.
#pragma once

#include <cstdint>

#include "app/processes.h"
#include "app/restart.h"
#include "disk/disk_check.h"
#include "disk/smart_report.h"
#include "net/net_context.h"
#include "task/task_context.h"
#include "ui/desktop.h"

namespace app {

// The platform services, each implemented beside its module; tests fake only
// what they need.
struct Services {
  task::Clock& clock;
  shell::Tray& tray;
  Processes& processes;
  net::Network& network;
  net::WebPages& web;
  task::PowerActions& power;
  disk::SmartReport& smart;
};

// The program-wide values, zero at start.
struct Records {
  std::int32_t instanceCount = 0;
  task::TaskState task;
  disk::DiskFindings disk;  // why start-up read nothing, whether a disk is failing
  // Registered for restart by an installer's close still under way.
  bool restartRegistered = false;
  // The task to arm at start, from the command line of a restart.
  std::optional<ArmedTask> resumeTask;
};

class Program final : public ui::HandlerSink {
 public:
  // Creates the records; the windows come with loading MainWindow.
  Program(ui::Backend& backend, const Services& services);

  void Run(ui::HandlerId id, const ui::Event& event) override;
  // Releases the program-wide records: the enumerators of collection walks
  // still under way, then the values. Runs at the end, whichever way the
  // program ends (the registered release on an early exit), and always while
  // COM is still initialised: a release after that calls into unloaded code.
  void ReleaseGlobals();

  task::TaskContext Task() { return {desktop, services.tray, services.clock, services.power, records.task}; }
  net::NetContext Net() { return {desktop, services.tray, services.network, services.web}; }

  ui::Desktop desktop;
  Records records;
  Services services;

 private:
  void Dispatch(ui::HandlerId id, const ui::Event& event);
};

// Lifecycle handlers of this module.
void OnMainWindowCreated(Program& program, const ui::Event& event);
void OnVersionWindowCreated(Program& program, const ui::Event& event);
void OnOpenVersionWindow(Program& program, const ui::Event& event);
void OnHideWindow(Program& program, const ui::Event& event);
void OnMinimizeMainWindow(Program& program, const ui::Event& event);
void OnShowMainWindow(Program& program, const ui::Event& event);
// The end of the program as the confirmed exit makes it: the tray icon and
// the request to stay awake go, then every window. Also what an installer's
// request to close (Restart Manager) does.
void EndProgram(Program& program);
// The session's end asked of MainWindow (WM_QUERYENDSESSION): only an
// installer's close (Restart Manager) registers the program for restart,
// with the task armed now; a log-off or shutdown registers nothing, so an
// ordinary sign-in never starts the program, let alone an armed task.
void OnSessionEndQuery(Program& program, bool installerClose);
// The session's end told (WM_ENDSESSION): a cancelled one takes any
// registration back; an installer's close ends the program as the confirmed
// exit does.
void OnSessionEnd(Program& program, bool ending, bool installerClose);
void OnExitMenuItem(Program& program, const ui::Event& event);
void OnExitCancel(Program& program, const ui::Event& event);
void OnExitConfirm(Program& program, const ui::Event& event);
void OnAboutBox(Program& program, const ui::Event& event);

}  // namespace app

// The running program as its handlers see it: the windows, the program-wide
// records and the platform services. Every event the forms bind arrives in
// Run, which hands it to the handler of the module that owns it.
#pragma once

#include <cstdint>

#include "app/processes.h"
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
  disk::Unread diskUnread = disk::Unread::kDriveSilent;  // why start-up read nothing
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
};

// Lifecycle handlers of this module.
void OnMainWindowCreated(Program& program, const ui::Event& event);
void OnVersionWindowCreated(Program& program, const ui::Event& event);
void OnOpenVersionWindow(Program& program, const ui::Event& event);
void OnHideWindow(Program& program, const ui::Event& event);
void OnMinimizeMainWindow(Program& program, const ui::Event& event);
void OnShowMainWindow(Program& program, const ui::Event& event);
void OnExitMenuItem(Program& program, const ui::Event& event);
void OnExitCancel(Program& program, const ui::Event& event);
void OnExitConfirm(Program& program, const ui::Event& event);
void OnAboutBox(Program& program, const ui::Event& event);

}  // namespace app

// Every handler the forms' wiring tables bind, by the module that owns it.
#pragma once

#include "ui/event.h"

namespace app {

using ui::Event;

// Start-up and lifecycle.
void OnMainWindowCreated(Program& program, const Event& event);
void OnVersionWindowCreated(Program& program, const Event& event);

// Window opening, hiding and exit.
void OnOpenVersionWindow(Program& program, const Event& event);
void OnHideVersionWindow(Program& program, const Event& event);
void OnHideMainWindow(Program& program, const Event& event);
void OnMinimizeMainWindow(Program& program, const Event& event);
void OnShowMainWindow(Program& program, const Event& event);
void OnExitMenuItem(Program& program, const Event& event);
void OnExitCancel(Program& program, const Event& event);
void OnExitConfirm(Program& program, const Event& event);
void OnAboutBox(Program& program, const Event& event);
void OnTaskNoticeClose(Program& program, const Event& event);

// Tray.
void OnTrayAction(Program& program, const Event& event);

// Task, clock and notice slide.
void OnActionOptionClick(Program& program, const Event& event);
void OnTimeSpin(Program& program, const Event& event);
void OnCommandButtonClick(Program& program, const Event& event);
void OnTaskClockTick(Program& program, const Event& event);
void OnClockTick(Program& program, const Event& event);
void OnSlideTick(Program& program, const Event& event);
void OnTaskNoticeTick(Program& program, const Event& event);

// Disk check.
void OnDiskCheckClick(Program& program, const Event& event);
void OnDiskCheckTick(Program& program, const Event& event);

// Network, version lookup and web links.
void OnOfficialSiteLink(Program& program, const Event& event);
void OnFeedbackLink(Program& program, const Event& event);
void OnDownloadLink(Program& program, const Event& event);
void OnVersionLookupClick(Program& program, const Event& event);
void OnVersionLookupTick(Program& program, const Event& event);

}  // namespace app

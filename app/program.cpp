// Program: the records and the binding of every handler identifier the forms
// use to the module that owns the handler. The switch has no default, so a
// new identifier without a binding does not compile.
#include "app/program.h"

#include "disk/disk_check.h"
#include "shell/tray_handlers.h"

namespace app {

Program::Program(ui::Backend& backend, const Services& services)
    : desktop(backend, *this), services(services) {}

void Program::ReleaseGlobals() {
  services.smart.ReleaseEnumerators();
  records = Records{};
}

void Program::Run(ui::HandlerId id, const ui::Event& e) { Dispatch(id, e); }

void Program::Dispatch(ui::HandlerId id, const ui::Event& e) {
  using enum ui::HandlerId;
  switch (id) {
    case kNoEffect: return;
    case kMainWindowCreated: return OnMainWindowCreated(*this, e);
    case kVersionWindowCreated: return OnVersionWindowCreated(*this, e);
    case kOpenVersionWindow: return OnOpenVersionWindow(*this, e);
    case kHideVersionWindow:
    case kHideMainWindow: return OnHideWindow(*this, e);
    case kMinimizeMainWindow: return OnMinimizeMainWindow(*this, e);
    case kShowMainWindow: return OnShowMainWindow(*this, e);
    case kExitMenuItem: return OnExitMenuItem(*this, e);
    case kExitCancel: return OnExitCancel(*this, e);
    case kExitConfirm: return OnExitConfirm(*this, e);
    case kAboutBox: return OnAboutBox(*this, e);
    case kTaskNoticeClose: return task::OnTaskNoticeClose(Task(), e);
    case kTrayAction: return shell::OnTrayAction(desktop, e);
    case kActionOptionClick: return task::OnActionOptionClick(Task(), e);
    case kTimeSpin: return task::OnTimeSpin(Task(), e);
    case kCommandButtonClick: return task::OnCommandButtonClick(Task(), e);
    case kTaskClockTick: return task::OnTaskClockTick(Task(), e);
    case kClockTick: return task::OnClockTick(Task(), e);
    case kSlideTick: return task::OnSlideTick(Task(), e);
    case kTaskNoticeTick: return task::OnTaskNoticeTick(Task(), e);
    case kDiskCheckClick: return disk::OnDiskCheckClick(e);
    case kDiskCheckTick: return disk::OnDiskCheckTick(services.tray, records.disk, e);
    case kOfficialSiteLink: return net::OnOfficialSiteLink(Net(), e);
    case kFeedbackLink: return net::OnFeedbackLink(Net(), e);
    case kDownloadLink: return net::OnDownloadLink(Net(), e);
    case kVersionLookupClick: return net::OnVersionLookupClick(Net(), e);
    case kVersionLookupTick: return net::OnVersionLookupTick(Net(), e);
  }
}

}  // namespace app

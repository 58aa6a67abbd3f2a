// Bindings whose behaviour is not built yet: they consume their event and
// change nothing. Each moves to its own module when that module is written.
#include "app/handlers.h"

namespace app {

void OnDiskCheckClick(Program&, const Event&) {}
void OnDiskCheckTick(Program&, const Event&) {}
void OnOfficialSiteLink(Program&, const Event&) {}
void OnFeedbackLink(Program&, const Event&) {}
void OnDownloadLink(Program&, const Event&) {}
void OnVersionLookupClick(Program&, const Event&) {}
void OnVersionLookupTick(Program&, const Event&) {}

}  // namespace app

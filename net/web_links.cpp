// The link triggers: each opens its page in the default browser once and
// changes nothing in any window.
#include "net/net_context.h"
#include "net/web_links.h"

namespace net {

void OnOfficialSiteLink(const NetContext& net, const ui::Event&) {
  net.web.OpenWebPage(kOfficialSiteUrl);
}

void OnFeedbackLink(const NetContext& net, const ui::Event&) { net.web.OpenWebPage(kFeedbackUrl); }

void OnDownloadLink(const NetContext& net, const ui::Event&) { net.web.OpenWebPage(kDownloadUrl); }

}  // namespace net

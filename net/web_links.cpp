// The link triggers: each opens its page in the default browser once and
// changes nothing in any window. A page that could not be handed on at all
// is told in a notice, so that a click is never met with nothing.
#include "net/net_context.h"
#include "net/web_links.h"

namespace net {

namespace {

constexpr char kNotOpenedTitle[] = "Quonda网页打开提示！";
constexpr char kNotOpenedText[] =
    "网页未能打开！QuondaHalvix正以管理员身份运行，为了您的电脑安全，网页只能通过桌面打开，"
    "而桌面还没有准备好。请稍后再试，或直接在浏览器中访问，感谢您的使用！";

void Open(const NetContext& net, const char* address) {
  if (!net.web.OpenWebPage(address)) net.tray.Notify(kNotOpenedTitle, kNotOpenedText, shell::kInfoIcon);
}

}  // namespace

void OnOfficialSiteLink(const NetContext& net, const ui::Event&) { Open(net, kOfficialSiteUrl); }

void OnFeedbackLink(const NetContext& net, const ui::Event&) { Open(net, kFeedbackUrl); }

void OnDownloadLink(const NetContext& net, const ui::Event&) { Open(net, kDownloadUrl); }

}  // namespace net

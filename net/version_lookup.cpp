// See version_lookup.h.
#include "net/version_lookup.h"

#include "net/net_context.h"
#include "ui/secondary_windows/version_names.h"

namespace net {

namespace {

using namespace ui::version;

// The view and the four masks that frame its slot, in the order shown.
constexpr ui::ControlName kPageControls[] = {超文本浏览框1, 图片框6, 图片框7, 图片框8, 图片框9};

}  // namespace

void OnVersionLookupClick(const NetContext& net, const ui::Event& event) {
  ui::Window& version = *event.window;
  version.SetAnimating(图片框4, true);
  version.SetCaption(透明标签3, kLookupWaiting);
  version.SetVisible(透明标签3, true);
  version.SetTextColor(透明标签3, ui::kGreen);
  version.SetInterval(时钟1, kLookupPeriodMs);
  if (net.network.ProbeNetwork()) return;
  version.SetCaption(透明标签3, kLookupNoNetwork);
  version.SetTextColor(透明标签3, ui::kRed);
  for (ui::ControlName name : kPageControls) version.SetVisible(name, false);
  version.SetDisabled(按钮1, true);
}

void OnVersionLookupTick(const NetContext&, const ui::Event& event) {
  ui::Window& version = *event.window;
  for (ui::ControlName name : kPageControls) version.SetVisible(name, true);
  version.SetAnimating(图片框4, false);
}

}  // namespace net

// See reachability.h. The answer is taken once; a network that comes or goes
// later does not change what the status bar shows.
#include "net/reachability.h"

#include "ui/main_window/main_window_names.h"

namespace net {

using namespace ui::main_window;

bool ShowReachability(Network& network, ui::Window& main) {
  bool connected = network.ProbeNetwork();
  if (connected) {
    main.SetCaption(透明标签7, kConnectedCaption);
  } else {
    main.SetCaption(透明标签7, kDisconnectedCaption);
    main.SetTextColor(透明标签7, ui::kRed);
    main.SetAnimating(图片框4, false);
  }
  // Plays while connected; otherwise its first frame stands still.
  main.SetPicture(图片框4, assets::Asset::kLinkAnim);
  return connected;
}

void ShowReachabilityNotice(shell::Tray& tray, bool connected) {
  tray.Notify(kNoticeTitle, connected ? kConnectedNotice : kDisconnectedNotice, shell::kInfoIcon);
}

}  // namespace net

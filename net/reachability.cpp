// See reachability.h. The answer is taken once; a network that comes or goes
// later does not change what the status bar shows.
#include "net/reachability.h"

#include "app/program.h"
#include "shell/tray_notice.h"

namespace net {

bool ShowReachability(app::Program& program, ui::Window& main) {
  bool connected = program.platform.ProbeNetwork();
  if (connected) {
    main.SetCaption("透明标签7", kConnectedCaption);
  } else {
    main.SetCaption("透明标签7", kDisconnectedCaption);
    main.SetTextColor("透明标签7", ui::kRed);
    main.SetAnimating("图片框4", false);
  }
  // Plays while connected; otherwise its first frame stands still.
  main.SetPicture("图片框4", assets::Asset::kLinkAnim);
  return connected;
}

void ShowReachabilityNotice(app::Program& program, bool connected) {
  shell::ShowTrayNotice(program, kNoticeTitle, connected ? kConnectedNotice : kDisconnectedNotice,
                        shell::kInfoIcon);
}

}  // namespace net

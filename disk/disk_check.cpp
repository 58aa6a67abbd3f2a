// See disk_check.h.
#include "disk/disk_check.h"

#include "ui/main_window/main_window_names.h"

namespace disk {

namespace {

using namespace ui::main_window;

// Three lines of the report's 15 pixels and its border, ending where the
// two-line box ends.
constexpr ui::Rect kThreeLineReport{136, 176, 368, 48};

void Reveal(shell::Tray& tray, DiskFindings found, ui::Window& main) {
  const char* notice = kCheckText;
  if (main.Get(编辑框8).caption.empty()) {
    const bool rights = found.why == Unread::kNeedsAdministrator;
    main.AppendText(编辑框8, rights ? kNeedsAdministratorLines : kDriveSilentLines);
    main.SetPicture(图形按钮4, assets::Asset::kResultUnread);  // no tick for what was not read
    notice = rights ? kCheckFailedText : kCheckSilentText;
  }
  if (found.failing) {
    main.AppendText(编辑框8, kFailingLine);
    main.SetBounds(编辑框8, kThreeLineReport);
    main.SetPicture(图形按钮4, assets::Asset::kResultFailing);
    notice = kCheckFailingText;
  }
  tray.Notify(kCheckTitle, notice, shell::kInfoIcon);
  main.SetVisible(编辑框8, true);
  main.SetDisabled(超级按钮1, false);
  main.SetVisible(超级按钮1, false);
  main.SetVisible(透明标签10, true);
  main.SetVisible(超级按钮2, true);
  main.SetInterval(时钟3, 0);
  main.SetVisible(图形按钮4, true);
}

}  // namespace

void OnDiskCheckClick(const ui::Event& event) {
  ui::Window& main = *event.window;
  main.SetInterval(时钟3, kCheckTickMs);
  main.SetDisabled(超级按钮1, true);
}

void OnDiskCheckTick(shell::Tray& tray, DiskFindings found, const ui::Event& event) {
  ui::Window& main = *event.window;
  int position = main.Get(进度条1).position;
  if (position == 100) Reveal(tray, found, main);
  // Every tick, the revealing one included; the bar is clamped at full.
  main.SetPosition(进度条1, position + 1);
}

}  // namespace disk

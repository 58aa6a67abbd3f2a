// Balloon notices through the one shared record. The shell reads fixed-size
// character buffers, so a title or text that would not fit is cut before it,
// at a character boundary: a lone lead byte would show as garbage and could
// swallow the terminating NUL's meaning on some shells.
#include "shell/tray_notice.h"

#include <algorithm>
#include <cstring>

#include "app/program.h"

namespace shell {

std::string_view CutGbk(std::string_view gbk, size_t maxBytes) {
  size_t end = 0;
  while (end < gbk.size()) {
    // In code page 936 a byte from 0x81 up leads a two-byte character.
    size_t width = static_cast<unsigned char>(gbk[end]) >= 0x81 ? 2 : 1;
    if (end + width > gbk.size() || end + width > maxBytes) break;
    end += width;
  }
  return gbk.substr(0, end);
}

namespace {

template <size_t N>
void CopyWithNul(char (&buffer)[N], std::string_view gbk) {
  std::string_view fit = CutGbk(gbk, N - 1);
  std::memset(buffer, 0, N);
  std::memcpy(buffer, fit.data(), fit.size());
}

}  // namespace

void FillBalloon(app::TrayRecord& record, std::string_view titleGbk, std::string_view textGbk,
                 int iconKind) {
  record.uFlags = kBalloonInfoFlag;
  CopyWithNul(record.szInfoTitle, titleGbk);
  CopyWithNul(record.szInfo, textGbk);
  record.dwInfoFlags = static_cast<std::uint32_t>(iconKind);
}

void AddTrayIcon(app::Program& program, ui::Window& owner) {
  app::TrayIdentity identity = program.platform.AddTrayIcon(owner, kTrayTip);
  if (app::TrayRecord* record = program.globals.trayRecord.get()) {
    record->cbSize = identity.recordSize;
    record->hWnd = identity.window;
    record->uID = identity.id;
  }
  program.trayIconAdded = true;
}

void ShowTrayNotice(app::Program& program, std::string_view title, std::string_view text,
                    int iconKind) {
  app::TrayRecord* record = program.globals.trayRecord.get();
  if (!record || !program.trayIconAdded) return;
  FillBalloon(*record, program.platform.ToGbk(title), program.platform.ToGbk(text), iconKind);
  program.platform.NotifyTray(*record, title, text);
}

}  // namespace shell

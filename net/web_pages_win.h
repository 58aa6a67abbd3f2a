// Web pages on Windows: the shell's open verb on the address, run by the
// desktop shell when this process is elevated, so that the browser starts
// at the user's own level, and allowed to come to the front.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "net/web_pages.h"

namespace net {

// The platform calls a page is opened through; tests replace them.
struct WebPagesApi {
  std::optional<bool> (*runsElevated)() = nullptr;
  BOOL(WINAPI* allowForeground)(DWORD processId) = nullptr;  // AllowSetForegroundWindow
  // Opened by the desktop shell's process; false when there is no desktop
  // shell or it refused.
  bool (*openByDesktop)(const std::wstring& address) = nullptr;
  // Opened from this process (ShellExecute).
  bool (*openHere)(const std::wstring& address) = nullptr;
};
WebPagesApi RealWebPagesApi();

class Win32WebPages final : public WebPages {
 public:
  explicit Win32WebPages(const WebPagesApi& api = RealWebPagesApi()) : api_(api) {}
  bool OpenWebPage(std::string_view address) override;

 private:
  WebPagesApi api_;
};

}  // namespace net

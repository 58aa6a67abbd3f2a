// Web pages on Windows: the shell's open verb on the address, run by the
// desktop shell when this process is elevated, so that the browser starts
// at the user's own level.
#pragma once

#include <optional>
#include <string>

#include "net/web_pages.h"

namespace net {

// The calls a link is opened with: whether this process runs elevated
// (nullopt: its token cannot be read), the open verb run by the desktop shell
// (false when there is none to run it), and the open verb run here.
struct WebPagesApi {
  std::optional<bool> (*runsElevated)() = nullptr;
  bool (*openThroughDesktop)(const std::wstring& address) = nullptr;
  void (*openHere)(const std::wstring& address) = nullptr;
};

const WebPagesApi& RealWebPagesApi();

class Win32WebPages final : public WebPages {
 public:
  explicit Win32WebPages(const WebPagesApi& api = RealWebPagesApi()) : api_(api) {}
  void OpenWebPage(std::string_view address) override;

 private:
  WebPagesApi api_;
};

}  // namespace net

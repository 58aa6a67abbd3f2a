// Web pages on Windows: the shell's open verb on the address, run by the
// desktop shell when this process is elevated, so that the browser starts
// at the user's own level.
#pragma once

#include "net/web_pages.h"

namespace net {

class Win32WebPages final : public WebPages {
 public:
  void OpenWebPage(std::string_view address) override;
};

}  // namespace net

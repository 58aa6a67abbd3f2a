// Web pages opened in the user's default browser.
#pragma once

#include <string_view>

namespace net {

class WebPages {
 public:
  virtual ~WebPages() = default;
  // Hands the address to the default browser and returns at once. A failure
  // (no browser registered) is not reported: there is nothing the user could
  // do about it from here.
  virtual void OpenWebPage(std::string_view address) = 0;
};

}  // namespace net

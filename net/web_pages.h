// Web pages opened in the user's default browser.
#pragma once

#include <string_view>

namespace net {

class WebPages {
 public:
  virtual ~WebPages() = default;
  // Hands the address to the default browser and returns at once; false
  // when it was not handed on at all: run as administrator without a
  // desktop shell to open it at the user's level. A browser failing after
  // that (none registered) is not told: there is nothing the user could do
  // about it from here.
  virtual bool OpenWebPage(std::string_view address) = 0;
};

}  // namespace net

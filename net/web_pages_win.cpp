// Win32WebPages; see web_pages_win.h.
#include "net/web_pages_win.h"

#include <windows.h>

#include <shellapi.h>

#include "ui/text_win.h"

namespace net {

void Win32WebPages::OpenWebPage(std::string_view address) {
  if (address.empty()) return;
  // Returns once the shell has handed the address on; the browser starts on
  // its own. A result of 32 or less is a failure, deliberately not reported.
  ShellExecuteW(nullptr, L"open", ui::Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace net

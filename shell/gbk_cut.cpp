// CutGbk; see tray.h.
#include "shell/tray.h"

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

}  // namespace shell

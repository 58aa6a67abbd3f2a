// Reads the text of the program's edit boxes from another process, the way
// an accessibility tool or a window inspector does: finds the main window by
// its class, walks its child windows and asks each edit box for its text with
// WM_GETTEXT. Prints one line per edit box, "visible|text" or "hidden|text",
// with CR and LF shown as \r and \n, in UTF-8. Exit code 1 when the main
// window is not found.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ui/text_win.h"

namespace {

BOOL CALLBACK EachChild(HWND child, LPARAM out) {
  wchar_t cls[32] = {};
  GetClassNameW(child, cls, 32);
  if (lstrcmpiW(cls, L"Edit") != 0) return TRUE;
  LRESULT length = SendMessageW(child, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT got = SendMessageW(child, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(got));
  std::string shown;
  for (char c : ui::Narrow(text)) {
    if (c == '\r') shown += "\\r";
    else if (c == '\n') shown += "\\n";
    else shown += c;
  }
  reinterpret_cast<std::vector<std::string>*>(out)->push_back(
      std::string(IsWindowVisible(child) ? "visible|" : "hidden|") + shown);
  return TRUE;
}

}  // namespace

int wmain() {
  HWND main = FindWindowW(L"QuondaHalvixMainWindow", nullptr);
  if (!main) return 1;
  std::vector<std::string> lines;
  EnumChildWindows(main, &EachChild, reinterpret_cast<LPARAM>(&lines));
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  return 0;
}

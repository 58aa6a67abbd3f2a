// The entry routine. The one argument it reads is the armed task the restart
// after an installer closed the program carries (app/restart.h); any other
// command line is ignored.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/restart.h"
#include "app/run_win.h"
#include "ui/win_base/text_win.h"

namespace {

// The arguments after the program's own name, joined by single spaces.
std::string Arguments() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return {};
  std::wstring joined;
  for (int i = 1; i < count; ++i) joined += (i > 1 ? L" " : L"") + std::wstring(argv[i]);
  LocalFree(argv);
  return ui::Narrow(joined);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  app::RunOptions options;
  options.resumeTask = app::ParseRestartArguments(Arguments());
  return app::RunProgram(instance, options);
}

// Win32Processes; see processes_win.h.
#include "app/processes_win.h"

#include <windows.h>

#include <tlhelp32.h>

#include "ui/win_base/scoped_win.h"
#include "ui/win_base/text_win.h"

namespace app {

std::vector<ProcessEntry> Win32Processes::RunningProcesses() {
  std::vector<ProcessEntry> list;
  // A failed snapshot is INVALID_HANDLE_VALUE, which the owner never closes.
  ui::UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return list;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry)) {
    list.push_back({ui::Narrow(entry.szExeFile), entry.th32ProcessID});
  }
  return list;
}

std::string Win32Processes::OwnExecutable() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);  // long paths: try again with room
  }
  size_t slash = path.find_last_of(L"\\/");
  return ui::Narrow(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

std::uint32_t Win32Processes::OwnId() { return GetCurrentProcessId(); }

ProcessStart Win32Processes::StartOf(std::uint32_t id) {
  // The limited right is what an unelevated copy gets on an elevated one.
  HANDLE opened = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  const DWORD error = GetLastError();
  ui::UniqueKernelHandle process(opened);
  if (!process) {
    // No such process any more; any other refusal means it runs but is not
    // ours to ask.
    return {error != ERROR_INVALID_PARAMETER, std::nullopt};
  }
  DWORD exitCode = 0;
  if (GetExitCodeProcess(process.Get(), &exitCode) && exitCode != STILL_ACTIVE) return {false, {}};
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process.Get(), &created, &exited, &kernel, &user)) return {true, {}};
  return {true, (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime};
}

std::optional<std::uint32_t> Win32Processes::SessionOf(std::uint32_t id) {
  DWORD session = 0;
  if (ProcessIdToSessionId(id, &session)) return session;
  // That takes the full query right, which an unelevated copy is refused on
  // an elevated one of the same user in the same session. The process's
  // token opens with the limited right, from an unelevated process too when
  // both run under one account, and tells the session as well; another
  // user's process stays unread.
  ui::UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
  ui::UniqueKernelHandle token;
  DWORD size = 0;
  if (!process || !OpenProcessToken(process.Get(), TOKEN_QUERY, token.Out()) ||
      !GetTokenInformation(token.Get(), TokenSessionId, &session, sizeof session, &size)) {
    return std::nullopt;
  }
  return session;
}

void Win32Processes::EndProcess(int exitCode) {
  // At once: no window is closed and no destructor runs, but the records
  // registered for the end are still released. (The C runtime's exit() would
  // also run static destructors and can stall in DLL detach under GDI+.)
  if (atEnd_) atEnd_();
  ExitProcess(static_cast<UINT>(exitCode));
}

void Win32Processes::RegisterRestart(const std::string& arguments) {
  // Only after an installer or an update closed the program: a crash, a hang
  // or a reboot starts nothing. An empty line still registers (the call
  // only drops the arguments), so it is made only while such a close asks.
  const std::wstring line = ui::Widen(arguments);
  RegisterApplicationRestart(line.c_str(), RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT);
}

void Win32Processes::UnregisterRestart() { UnregisterApplicationRestart(); }

}  // namespace app

// RestrictDllSearch; see dll_search_win.h.
#include "app/dll_search_win.h"

#include <windows.h>

namespace app {

void RestrictDllSearch() {
  // Looked up rather than imported: Windows 7 has the function only with
  // update KB2533623, and an import it lacks would stop the program from
  // starting at all. kernel32 is always loaded, so the lookup loads nothing.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  // The application's folder is left out: the program needs no DLL of its own.
  // This also covers the delay-load helper's LoadLibrary and the dependencies
  // each loaded DLL brings in.
  if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  // Without it, at least the current directory leaves the search path.
  SetDllDirectoryW(L"");
}

}  // namespace app

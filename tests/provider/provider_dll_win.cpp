// The entry points of qh_wmi_provider.dll: the standard COM exports, and the
// count file an end-to-end test reads afterwards. When the environment names
// a file in QH_WMI_COUNT_FILE, the DLL writes its live-object count there
// (decimal, then a newline) each time COM asks whether it may be unloaded and
// when it is detached from the process, so the last write is the count at the
// end; " unloaded" follows the count when the DLL was let go while the
// process goes on.
#include "tests/provider/com_object_win.h"
#include "tests/provider/wmi_provider_win.h"

#include <string>

namespace {

void WriteCountFile(bool unloaded = false) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"QH_WMI_COUNT_FILE", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  const std::string text =
      std::to_string(wmi_provider::LiveObjects()) + (unloaded ? " unloaded\n" : "\n");
  HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  // A null `reserved` at detach: FreeLibrary, not the end of the process.
  if (reason == DLL_PROCESS_DETACH) WriteCountFile(reserved == nullptr);
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return wmi_provider::GetClassObject(clsid, iid, out);
}

STDAPI DllCanUnloadNow() {
  WriteCountFile();
  return wmi_provider::CanUnload() ? S_OK : S_FALSE;
}

}  // extern "C"

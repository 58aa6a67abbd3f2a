// A stand-in for a system DLL, planted beside a copy of the program by the
// end-to-end tier under each name the program loads. When a process loads it,
// it leaves a file named after itself (msimg32.dll.ran ...) in the folder that
// QH_MARKER_DIR names: proof that code from the exe's folder ran inside the
// program. It exports nothing, so a program that imports from it by name gets
// no working functions either.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t own[MAX_PATH] = {};
  wchar_t marker[2 * MAX_PATH] = {};
  const DWORD ownLength = GetModuleFileNameW(self, own, MAX_PATH);
  const DWORD dirLength = GetEnvironmentVariableW(L"QH_MARKER_DIR", marker, MAX_PATH);
  if (ownLength == 0 || ownLength >= MAX_PATH || dirLength == 0 || dirLength >= MAX_PATH) return TRUE;
  const wchar_t* name = own;
  for (const wchar_t* c = own; *c != L'\0'; ++c) {
    if (*c == L'\\' || *c == L'/') name = c + 1;
  }
  lstrcatW(marker, L"\\");
  lstrcatW(marker, name);
  lstrcatW(marker, L".ran");
  const HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return TRUE;
}

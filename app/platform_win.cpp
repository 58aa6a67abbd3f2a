// Win32Platform: reads the local clock.
#include "app/platform_win.h"

#include <windows.h>

namespace app {

task::LocalTime Win32Platform::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace app

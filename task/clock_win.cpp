// Win32Clock; see clock_win.h.
#include "task/clock_win.h"

#include <windows.h>

namespace task {

LocalTime Win32Clock::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace task

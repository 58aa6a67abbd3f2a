// Win32Network; see network_win.h.
#include "net/network_win.h"

#include <windows.h>

#include <wininet.h>

namespace net {

bool Win32Network::ProbeNetwork() {
  DWORD flags = 0;
  return InternetGetConnectedState(&flags, 0) != FALSE;
}

}  // namespace net

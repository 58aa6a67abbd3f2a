// The network connection state on Windows, from WinINet's connected state.
#pragma once

#include "net/network.h"

namespace net {

class Win32Network final : public Network {
 public:
  bool ProbeNetwork() override;
};

}  // namespace net

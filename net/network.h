// The network connection state, asked of the platform. No server is
// contacted: the answer says whether the computer is connected to a network.
#pragma once

namespace net {

class Network {
 public:
  virtual ~Network() = default;
  // True when the computer is connected to a network.
  virtual bool ProbeNetwork() = 0;
};

}  // namespace net

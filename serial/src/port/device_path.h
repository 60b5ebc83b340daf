#pragma once

#include <string>

namespace tavix {

// The device path of port index 0..19 (COM index+1): the environment variable TAVIX_COM<n>,
// else the "COM<n>=path" line of the ports file (TAVIX_PORTS_FILE, else
// $XDG_CONFIG_HOME/tavix32/ports.conf or ~/.config/tavix32/ports.conf, else
// /etc/tavix32/ports.conf), else /dev/ttyS<n-1>.
std::string DevicePathForPort(int port);

}  // namespace tavix

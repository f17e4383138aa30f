// How a COM number names a serial device on this machine.
#pragma once

#include <cstdint>
#include <string>

namespace probelink {

// The path the port's line is opened by.
std::string DevicePathFor(int32_t port);

}  // namespace probelink

// COM numbers on Windows are the system's own port names. Only COM1 to COM9
// are reserved file names everywhere; higher numbers exist only in the device
// namespace.
#include "device_names.h"

namespace probelink {

std::string DevicePathFor(int32_t port) {
  const std::string name = "COM" + std::to_string(port);
  return port <= 9 ? name : "\\\\.\\" + name;
}

}  // namespace probelink

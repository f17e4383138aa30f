// COM numbers on Linux: a link COMn in the user's port folder, like a wine
// dosdevices folder, else a fixed default device per number.
#include <sys/stat.h>

#include <cstdlib>

#include "device_names.h"

namespace probelink {
namespace {

std::string DefaultDevice(int32_t port) {
  if (port <= 4) return "/dev/ttyS" + std::to_string(port - 1);
  if (port <= 12) return "/dev/ttyUSB" + std::to_string(port - 5);
  return "/dev/ttyACM" + std::to_string(port - 13);
}

// $XDG_CONFIG_HOME/probelink/ports (or ~/.config/probelink/ports).
std::string PortLinkFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home ? home : "") + "/.config";
  }
  return base + "/probelink/ports";
}

}  // namespace

std::string DevicePathFor(int32_t port) {
  const std::string link = PortLinkFolder() + "/COM" + std::to_string(port);
  struct stat st {};
  if (lstat(link.c_str(), &st) == 0) return link;
  return DefaultDevice(port);
}

}  // namespace probelink

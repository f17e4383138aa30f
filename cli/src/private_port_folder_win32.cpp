// Windows reaches a serial device only by its COM name, so a device that no
// COM number names cannot be reached at all.
#include "electronics.h"
#include "exit_status.h"
#include "port_folder.h"
#include "private_port_folder.h"

namespace probelink_cli {

PrivatePortFolder::PrivatePortFolder(int, const std::string& device) {
  throw Failure(kUsageError, device + " is not a port: give " + kPortHint);
}

PrivatePortFolder::~PrivatePortFolder() = default;

}  // namespace probelink_cli

// Windows numbers its serial ports itself (a port's number is changed in the
// Device Manager), so every COM number stands for the port of that name and
// nothing is assigned here.
#include <strings.h>

#include "electronics.h"
#include "exit_status.h"
#include "port_folder.h"
#include "probelink.h"

namespace probelink_cli {
namespace {

[[noreturn]] void RefuseAssignment() { throw Failure(kUsageError, kNoAssignment); }

// Whether the system has a port of this name now: one that opens, or that
// another program holds. Opening asks the system itself, which also knows
// the ports that wine links in its dosdevices folder (QueryDosDevice does
// not).
bool Present(int com) {
  if (OpenPort(com) == 0) {
    ClosePort(com);
    return true;
  }
  const int error = LastOpenError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

}  // namespace

const char* const kPortHint = "COM1 to COM16";
const char* const kPortSentence = "PORT is COM1 to COM16, as Windows numbers its serial ports.";
const char* const kNoAssignment =
    "Windows gives serial ports their COM numbers: change one in the Device Manager "
    "(Ports, the port's Properties, Port Settings, Advanced)";

fs::path LinkOf(int) { RefuseAssignment(); }

bool IsAssigned(int) { return false; }

std::string DeviceOf(int com) {
  char path[16];
  return PortDevice(com, path, sizeof path) > 0 ? std::string(path) : std::string();
}

std::optional<std::string> StableName(const fs::path&) { return std::nullopt; }

std::vector<int> ComsOf(const fs::path& device) {
  std::vector<int> coms;
  for (int com = kFirstCom; com <= kLastCom; ++com)
    if (strcasecmp(DeviceOf(com).c_str(), device.string().c_str()) == 0) coms.push_back(com);
  return coms;
}

std::vector<std::string> SerialDevices() {
  std::vector<std::string> devices;
  for (int com = kFirstCom; com <= kLastCom; ++com)
    if (Present(com)) devices.push_back(DeviceOf(com));
  return devices;
}

void Assign(int, const fs::path&) { RefuseAssignment(); }

bool Unassign(int) { RefuseAssignment(); }

}  // namespace probelink_cli

// How COM numbers meet devices on this platform. On Linux: the user's ports
// folder, whose links give COM numbers their devices for every probelink
// caller (the window included), and the stable names the system gives serial
// adapters. On Windows the system numbers its ports itself and nothing can
// be assigned.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace probelink_cli {

namespace fs = std::filesystem;

// How a port may be named, for the command line's messages.
extern const char* const kPortHint;
// What the help says of ports.
extern const char* const kPortSentence;
// Why COM numbers cannot be assigned here; empty where they can.
extern const char* const kNoAssignment;

// The link for COMn there, whether or not it exists.
fs::path LinkOf(int com);
bool IsAssigned(int com);
// The device COMn stands for: its link's target, else the built-in device.
std::string DeviceOf(int com);
// The name under /dev/serial/by-id that leads to `device`, if there is one.
std::optional<std::string> StableName(const fs::path& device);
// The COM numbers that stand for the same device as `device`, assigned
// ones first.
std::vector<int> ComsOf(const fs::path& device);
// The devices a person may mean: adapters (ttyUSB, ttyACM), those with a
// stable name, and whatever the COM numbers stand for.
std::vector<std::string> SerialDevices();

// Points COMn at `device`, replacing its link at once (never leaving it
// missing); a Failure when the folder cannot take it or the platform
// assigns nothing.
void Assign(int com, const fs::path& device);
// Removes COMn's link; false when it had none. A Failure as for Assign.
bool Unassign(int com);

}  // namespace probelink_cli

#include "port_folder.h"

#include <algorithm>
#include <cstdlib>

#include "electronics.h"
#include "exit_status.h"
#include "probelink.h"

namespace probelink_cli {
namespace {

const fs::path kStableNames = "/dev/serial/by-id";
const char* const kAdapterPrefixes[] = {"ttyUSB", "ttyACM"};

// Missing devices (a link left behind) compare by their paths.
bool SameDevice(const fs::path& a, const fs::path& b) {
  std::error_code error;
  const bool same = fs::equivalent(a, b, error);
  return error ? a == b : same;
}

std::string Canonical(const fs::path& device) {
  std::error_code error;
  const fs::path canonical = fs::canonical(device, error);
  return (error ? device : canonical).string();
}

// $XDG_CONFIG_HOME/probelink/ports, as the library finds it.
fs::path PortFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  const fs::path base = xdg && *xdg ? fs::path(xdg) : fs::path(home ? home : "") / ".config";
  return base / "probelink" / "ports";
}

}  // namespace

const char* const kPortHint = "COM1 to COM16, or a device path such as /dev/ttyUSB0";
const char* const kPortSentence =
    "PORT is COM1 to COM16 or a device path (/dev/ttyUSB0, /dev/serial/by-id/...); "
    "`ports --assign` gives a device a COM number for good.";
const char* const kNoAssignment = "";

fs::path LinkOf(int com) { return PortFolder() / ("COM" + std::to_string(com)); }

bool IsAssigned(int com) {
  std::error_code error;
  return fs::is_symlink(LinkOf(com), error);
}

std::string DeviceOf(int com) {
  std::error_code error;
  if (IsAssigned(com)) {
    const fs::path target = fs::read_symlink(LinkOf(com), error);
    return (target.is_absolute() ? target : PortFolder() / target).string();
  }
  char path[4096];
  return PortDevice(com, path, sizeof path) > 0 ? std::string(path) : std::string();
}

std::optional<std::string> StableName(const fs::path& device) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(kStableNames, error))
    if (SameDevice(entry.path(), device)) return entry.path().string();
  return std::nullopt;
}

std::vector<int> ComsOf(const fs::path& device) {
  std::vector<int> coms;
  for (const bool assigned : {true, false})
    for (int com = kFirstCom; com <= kLastCom; ++com)
      if (IsAssigned(com) == assigned && SameDevice(DeviceOf(com), device)) coms.push_back(com);
  return coms;
}

std::vector<std::string> SerialDevices() {
  std::vector<std::string> devices;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/dev", error)) {
    const std::string name = entry.path().filename().string();
    for (const char* prefix : kAdapterPrefixes)
      if (name.starts_with(prefix)) devices.push_back(entry.path().string());
  }
  for (const auto& entry : fs::directory_iterator(kStableNames, error))
    devices.push_back(Canonical(entry.path()));
  for (int com = kFirstCom; com <= kLastCom; ++com)
    if (IsAssigned(com) || fs::exists(DeviceOf(com), error))
      devices.push_back(Canonical(DeviceOf(com)));
  std::sort(devices.begin(), devices.end());
  devices.erase(std::unique(devices.begin(), devices.end()), devices.end());
  return devices;
}

void Assign(int com, const fs::path& device) {
  std::error_code error;
  fs::create_directories(PortFolder(), error);
  const fs::path link = LinkOf(com), fresh = link.string() + ".new";
  fs::remove(fresh, error);
  fs::create_symlink(device, fresh, error);
  if (!error) fs::rename(fresh, link, error);
  if (error) throw Failure(kUsageError, "cannot write " + link.string() + ": " + error.message());
}

bool Unassign(int com) {
  if (!IsAssigned(com)) return false;
  std::error_code error;
  fs::remove(LinkOf(com), error);
  if (error)
    throw Failure(kUsageError, "cannot remove " + LinkOf(com).string() + ": " + error.message());
  return true;
}

}  // namespace probelink_cli

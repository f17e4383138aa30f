// A port as the user names it, COM1 to COM16 or a device path, and the COM
// number through which the library reaches it. A path goes through the COM
// number that already stands for its device, else through a link in a
// private ports folder that lives as long as the route: the user's own
// assignments are never changed behind their back, no COM number is taken
// from another program, and nothing is left behind.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "plain_json.h"
#include "private_port_folder.h"

namespace probelink_cli {

// 5 for "COM5", "com5" or "5"; nothing for anything else.
std::optional<int> ComNumber(std::string_view text);
// "COM5", or the absolute device path, for a text that names a port;
// nothing for one that does not.
std::optional<std::string> NormalPortText(std::string_view text);

class PortRoute {
 public:
  // `text` as NormalPortText gives it.
  explicit PortRoute(const std::string& text);
  PortRoute(const PortRoute&) = delete;
  PortRoute& operator=(const PortRoute&) = delete;

  int Com() const { return com_; }
  const std::string& Device() const { return device_; }
  // "COM5 (/dev/ttyUSB0)", or the device alone when no COM number names it.
  std::string Name() const;
  // "port" ("COM5", or null) and "device".
  Document Describe() const;

 private:
  int com_ = 0;
  bool named_ = true;  // a COM number of the user's names the device
  std::string device_;
  std::optional<PrivatePortFolder> privateFolder_;
};

}  // namespace probelink_cli

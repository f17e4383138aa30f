// A ports folder of the command's own, through which a device that no COM
// number names gets one while the command runs: the user's assignments are
// never changed behind their back, no COM number is taken from another
// program, and nothing is left behind.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace probelink_cli {

class PrivatePortFolder {
 public:
  // Links `com` to `device` there and makes it the folder the library reads;
  // a Failure where that cannot be done (or, on Windows, be done at all).
  PrivatePortFolder(int com, const std::string& device);
  ~PrivatePortFolder();
  PrivatePortFolder(const PrivatePortFolder&) = delete;
  PrivatePortFolder& operator=(const PrivatePortFolder&) = delete;

 private:
  std::filesystem::path folder_;
  std::optional<std::string> userHome_;
};

}  // namespace probelink_cli

#include <cstdlib>

#include "electronics.h"
#include "exit_status.h"
#include "port_folder.h"
#include "private_port_folder.h"

namespace probelink_cli {
namespace {

constexpr char kHomeVariable[] = "XDG_CONFIG_HOME";

}  // namespace

PrivatePortFolder::PrivatePortFolder(int com, const std::string& device) {
  std::string pattern = (fs::temp_directory_path() / "probelink-cli-XXXXXX").string();
  if (!mkdtemp(pattern.data()))
    throw Failure(kCommunicationFailure, device + ": cannot make a private ports folder");
  folder_ = pattern;
  if (const char* home = std::getenv(kHomeVariable)) userHome_ = home;
  setenv(kHomeVariable, folder_.c_str(), 1);
  Assign(com, device);
}

PrivatePortFolder::~PrivatePortFolder() {
  if (userHome_)
    setenv(kHomeVariable, userHome_->c_str(), 1);
  else
    unsetenv(kHomeVariable);
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

}  // namespace probelink_cli

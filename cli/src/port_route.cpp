#include "port_route.h"

#include <strings.h>

#include <cstdlib>

#include "electronics.h"
#include "exit_status.h"
#include "port_folder.h"

namespace probelink_cli {
namespace {

constexpr char kHomeVariable[] = "XDG_CONFIG_HOME";
// Any number serves inside a private folder; the first is as good as any.
constexpr int kPrivateCom = kFirstCom;

}  // namespace

std::optional<int> ComNumber(std::string_view text) {
  if (text.size() > 3 && strncasecmp(text.data(), "COM", 3) == 0) text.remove_prefix(3);
  const auto number = ParseNumber(text);
  if (!number || *number < kFirstCom || *number > kLastCom) return std::nullopt;
  return static_cast<int>(*number);
}

std::optional<std::string> NormalPortText(std::string_view text) {
  if (const auto com = ComNumber(text)) return "COM" + std::to_string(*com);
  if (text.find('/') == std::string_view::npos) return std::nullopt;
  return fs::absolute(text).lexically_normal().string();
}

PortRoute::PortRoute(const std::string& text) {
  if (const auto com = ComNumber(text)) {
    com_ = *com;
    device_ = DeviceOf(com_);
    return;
  }
  device_ = text;
  if (const auto coms = ComsOf(device_); !coms.empty()) {
    com_ = coms.front();
    return;
  }
  std::string pattern = (fs::temp_directory_path() / "probelink-cli-XXXXXX").string();
  if (!mkdtemp(pattern.data()))
    throw Failure(kCommunicationFailure, device_ + ": cannot make a private ports folder");
  privateHome_ = pattern;
  if (const char* home = std::getenv(kHomeVariable)) userHome_ = home;
  setenv(kHomeVariable, privateHome_.c_str(), 1);
  named_ = false;
  com_ = kPrivateCom;
  Assign(com_, device_);
}

PortRoute::~PortRoute() {
  if (privateHome_.empty()) return;
  if (userHome_)
    setenv(kHomeVariable, userHome_->c_str(), 1);
  else
    unsetenv(kHomeVariable);
  std::error_code ignored;
  fs::remove_all(privateHome_, ignored);
}

std::string PortRoute::Name() const {
  return named_ ? "COM" + std::to_string(com_) + " (" + device_ + ")" : device_;
}

Document PortRoute::Describe() const {
  return {{"port", named_ ? Document("COM" + std::to_string(com_)) : Document()},
          {"device", device_}};
}

}  // namespace probelink_cli

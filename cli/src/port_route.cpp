#include "port_route.h"

#include <strings.h>

#include "electronics.h"
#include "port_folder.h"

namespace probelink_cli {
namespace {

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
  named_ = false;
  com_ = kPrivateCom;
  privateFolder_.emplace(com_, device_);
}

std::string PortRoute::Name() const {
  return named_ ? "COM" + std::to_string(com_) + " (" + device_ + ")" : device_;
}

Document PortRoute::Describe() const {
  return {{"port", named_ ? Document("COM" + std::to_string(com_)) : Document()},
          {"device", device_}};
}

}  // namespace probelink_cli

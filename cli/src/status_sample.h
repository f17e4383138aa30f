// One sample of the window's status page: position, status word and the
// two signal channels, read the way its status poll reads them.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>

#include "session.h"

namespace probelink_cli {

struct StatusSample {
  int32_t position = 0;
  uint16_t status = 0;
  uint16_t sine = 0;
  uint16_t cosine = 0;
};

// Nothing when any read of the sample fails.
std::optional<StatusSample> ReadStatusSample(Session& session);
// Position, index state, alarm bits and signal level with its band.
nlohmann::ordered_json Describe(const StatusSample& sample);

}  // namespace probelink_cli

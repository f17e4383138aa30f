// One sample of the window's status page: position, status word and the
// two signal channels, read the way its status poll reads them.
#pragma once

#include <optional>

#include "fields.h"
#include "session.h"

namespace probelink_cli {

// Nothing when any read of the sample fails.
std::optional<Reading> ReadStatusSample(Session& session);
// Position (and its length with a scale), index state, alarm bits, signal
// level with its band, and the status word.
Document Describe(const Reading& sample, const std::optional<CountScale>& scale);

}  // namespace probelink_cli

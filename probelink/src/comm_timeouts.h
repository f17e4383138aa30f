// How the five time-outs of a COMMTIMEOUTS record bound one read or write
// call, in the platform's own terms.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>

#include "probelink.h"

namespace probelink {

using Clock = std::chrono::steady_clock;

// A total past any session: longer ones are cut to it, which also keeps a
// deadline of now plus the total inside the clock's range.
inline constexpr std::chrono::milliseconds kLongestTotal{uint64_t{1} << 40};  // 35 years

struct ReadPlan {
  std::optional<Clock::duration> total;     // no limit when empty
  std::optional<Clock::duration> interval;  // longest gap after the first byte
  bool returnAtOnce = false;                // hand back whatever has arrived
  bool returnAfterFirstByte = false;        // wait up to total for one byte only
};

ReadPlan PlanRead(const COMMTIMEOUTS& timeouts, size_t n);
std::optional<Clock::duration> PlanWrite(const COMMTIMEOUTS& timeouts, size_t n);

}  // namespace probelink

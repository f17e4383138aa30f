#include "comm_timeouts.h"

namespace probelink {
namespace {

std::optional<Clock::duration> Total(uint32_t multiplier, uint32_t constant, size_t n) {
  // Whether multiplier * n + constant passes the longest total, asked in a
  // way that cannot overflow.
  const uint64_t longest = static_cast<uint64_t>(kLongestTotal.count());
  const bool past = multiplier != 0 && n > (longest - constant) / multiplier;
  const uint64_t ms = past ? longest : uint64_t{multiplier} * n + constant;
  if (ms == 0) return std::nullopt;
  return std::chrono::milliseconds(ms);
}

}  // namespace

ReadPlan PlanRead(const COMMTIMEOUTS& t, size_t n) {
  ReadPlan plan;
  if (t.ReadIntervalTimeout == PROBELINK_MAXDWORD) {
    if (t.ReadTotalTimeoutMultiplier == 0 && t.ReadTotalTimeoutConstant == 0) {
      plan.returnAtOnce = true;
      return plan;
    }
    if (t.ReadTotalTimeoutMultiplier == PROBELINK_MAXDWORD) {
      plan.returnAfterFirstByte = true;
      plan.total = std::chrono::milliseconds(t.ReadTotalTimeoutConstant);
      return plan;
    }
  }
  plan.total = Total(t.ReadTotalTimeoutMultiplier, t.ReadTotalTimeoutConstant, n);
  if (t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != PROBELINK_MAXDWORD)
    plan.interval = std::chrono::milliseconds(t.ReadIntervalTimeout);
  return plan;
}

std::optional<Clock::duration> PlanWrite(const COMMTIMEOUTS& t, size_t n) {
  return Total(t.WriteTotalTimeoutMultiplier, t.WriteTotalTimeoutConstant, n);
}

}  // namespace probelink

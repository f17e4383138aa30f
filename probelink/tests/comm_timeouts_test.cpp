#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <tuple>

#include "comm_timeouts.h"

namespace {

using namespace std::chrono_literals;

// A total is multiplier * n + constant milliseconds however large the two
// are; past any session it saturates rather than wrap to a time long gone.
TEST(TimeoutTotals, AreMultiplierTimesCountPlusConstantAndSaturate) {
  using probelink::kLongestTotal;
  // clang-format off
  const std::tuple<uint32_t, uint32_t, size_t, std::chrono::milliseconds> cases[] = {
    {10, 25, 4, 65ms}, {4294967, 7, 4000, 17179868007ms},
    {PROBELINK_MAXDWORD, PROBELINK_MAXDWORD, 4000, kLongestTotal}, {1, 0, SIZE_MAX, kLongestTotal}};
  // clang-format on
  for (const auto& [multiplier, constant, n, total] : cases) {
    EXPECT_EQ(probelink::PlanRead({0, multiplier, constant, 0, 0}, n).total, total) << n;
    EXPECT_EQ(probelink::PlanWrite({0, 0, 0, multiplier, constant}, n), total) << n;
  }
}

}  // namespace

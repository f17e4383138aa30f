#include "status_sample.h"

#include <cmath>

#include "electronics.h"
#include "probelink.h"

namespace probelink_cli {
namespace {

namespace bit {
constexpr uint16_t kRedAlarm = 0x0004;
constexpr uint16_t kYellowAlarm = 0x0008;
constexpr uint16_t kAtIndex = 0x0200;
constexpr uint16_t kCentred = 0x0400;
constexpr uint16_t kCentring = 0x0800;
}  // namespace bit

// The window's signal bar shows a quarter of the vector length, times 1.465,
// against these marks.
constexpr double kBarPerCount = 0.25 * 1.465;
constexpr double kOverSignalBar = 385;
constexpr double kGoodBar = 119;
constexpr double kMarginalBar = 84;
// Models whose position counts four times finer than the window shows.
constexpr uint16_t kQuadModelMask = 0xE0, kQuadModel = 0x60;

// The channels stand in bits 4 to 15, in two's complement.
int Signed12(uint16_t word) { return ((word >> 4) ^ 0x800) - 0x800; }

const char* IndexState(uint16_t status) {
  if (status & bit::kCentring) return "centring";
  if (status & bit::kAtIndex) return "at-index";
  if (status & bit::kCentred) return "centred";
  return "not-at-index";
}

const char* Band(double bar) {
  if (bar > kOverSignalBar) return "over-signal";
  if (bar > kGoodBar) return "good";
  if (bar > kMarginalBar) return "marginal";
  return "low";
}

}  // namespace

std::optional<StatusSample> ReadStatusSample(Session& session) {
  StatusSample s;
  uint16_t model = 0;
  if (!session.TryRead(reg::kStatus, s.status) || !session.TryRead(reg::kSine, s.sine) ||
      !session.TryRead(reg::kCosine, s.cosine) || !session.TryRead(reg::kModel, model))
    return std::nullopt;
  ClearRxBuffer(session.Com());
  if (!session.SyncLine() || ReadShiftedPositionWren(session.Com(), &s.position) < 0)
    return std::nullopt;
  if ((model & kQuadModelMask) == kQuadModel) s.position /= 4;
  return s;
}

nlohmann::ordered_json Describe(const StatusSample& s) {
  const double x = Signed12(s.sine), y = Signed12(s.cosine);
  const double level = std::sqrt(x * x + y * y);
  return {{"position", s.position},
          {"index", IndexState(s.status)},
          {"red_alarm", (s.status & bit::kRedAlarm) != 0},
          {"yellow_alarm", (s.status & bit::kYellowAlarm) != 0},
          {"level", std::lround(level)},
          {"band", Band(level * kBarPerCount)},
          {"status", Hex(s.status, 4)}};
}

}  // namespace probelink_cli

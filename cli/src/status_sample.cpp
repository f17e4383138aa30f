#include "status_sample.h"

#include <cmath>

#include "electronics.h"
#include "measure/signal_level.h"
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

// Models whose position counts four times finer than the window shows.
constexpr uint16_t kQuadModelMask = 0xE0, kQuadModel = 0x60;

const char* IndexState(uint16_t status) {
  if (status & bit::kCentring) return "centring";
  if (status & bit::kAtIndex) return "at-index";
  if (status & bit::kCentred) return "centred";
  return "not-at-index";
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
  const double level = measure::LevelPercent(Signed12(s.sine), Signed12(s.cosine));
  return {{"position", s.position},
          {"index", IndexState(s.status)},
          {"red_alarm", (s.status & bit::kRedAlarm) != 0},
          {"yellow_alarm", (s.status & bit::kYellowAlarm) != 0},
          {"level_percent", std::round(level * 10) / 10},
          {"band", measure::BandName(measure::BandOfPercent(level))},
          {"status", Hex(s.status, 4)}};
}

}  // namespace probelink_cli

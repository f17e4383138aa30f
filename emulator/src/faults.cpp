#include "faults.h"

namespace veritrak {

FaultControl::FaultControl(const FaultSettings& s)
    : drop_(s.dropFraction),
      corrupt_(s.corruptFraction),
      refuse_(s.refuseAcks),
      ignoreWrites_(s.ignoreWrites),
      lateMs_(s.lateBy.count()) {}

void FaultControl::PullCable(TimePoint now, std::optional<std::chrono::milliseconds> duration) {
  const TimePoint until = duration ? now + *duration : TimePoint::max();
  silentUntil_ = until.time_since_epoch().count();
  ++pulls_;
}

bool FaultControl::Silent(TimePoint now) const {
  const Clock::rep until = silentUntil_;
  return until != kConnected && now.time_since_epoch().count() < until;
}

TimePoint FaultControl::SilentUntil() const {
  return TimePoint(Clock::duration(silentUntil_.load()));
}

LineNoise::LineNoise(const FaultControl& control, uint32_t seed)
    : control_(control), random_(seed) {}

bool LineNoise::Pass(uint8_t& byte) {
  if (Chance(control_.DropFraction())) return false;
  // XOR with a non-zero value always changes the byte.
  if (Chance(control_.CorruptFraction()))
    byte ^= static_cast<uint8_t>(std::uniform_int_distribution<int>(1, 255)(random_));
  return true;
}

bool LineNoise::Chance(double fraction) {
  if (fraction <= 0) return false;
  return std::uniform_real_distribution<double>(0, 1)(random_) < fraction;
}

}  // namespace veritrak

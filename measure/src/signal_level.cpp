#include "measure/signal_level.h"

#include <cmath>

namespace measure {
namespace {

// The bar's marks, in its own reading.
constexpr float kOverSignalBar = 385;
constexpr float kGoodBar = 119;
constexpr float kMarginalBar = 84;
constexpr float kBarPerQuarterLength = 1.465f;

}  // namespace

double LevelPercent(double sineCounts, double cosineCounts) {
  return std::hypot(sineCounts, cosineCounts) * kPercentPerCount;
}

double LevelPercentOfVolts(double sineVolts, double cosineVolts) {
  return LevelPercent(sineVolts / kVoltsPerCount, cosineVolts / kVoltsPerCount);
}

float BarLevel(float quarterLength) { return quarterLength * kBarPerQuarterLength; }

LevelBand BandOfBarLevel(float barLevel) {
  if (barLevel > kOverSignalBar) return LevelBand::OverSignal;
  if (barLevel > kGoodBar) return LevelBand::Good;
  return barLevel > kMarginalBar ? LevelBand::Marginal : LevelBand::Poor;
}

// The window reads the bar from a float quarter of the length; doing the
// same keeps a level on a mark in the same band here as there.
LevelBand BandOfPercent(double percent) {
  const auto quarterLength = static_cast<float>(percent / kPercentPerCount / 4);
  return BandOfBarLevel(BarLevel(quarterLength));
}

double BandFloorPercent(LevelBand band) {
  const auto percent = [](float bar) { return bar / kBarPerQuarterLength * 4 * kPercentPerCount; };
  switch (band) {
    case LevelBand::OverSignal: return percent(kOverSignalBar);
    case LevelBand::Good: return percent(kGoodBar);
    case LevelBand::Marginal: return percent(kMarginalBar);
    case LevelBand::Poor: break;
  }
  return 0;
}

const char* BandName(LevelBand band) {
  switch (band) {
    case LevelBand::OverSignal: return "Over Signal";
    case LevelBand::Good: return "Good";
    case LevelBand::Marginal: return "Marginal";
    case LevelBand::Poor: break;
  }
  return "Poor";
}

}  // namespace measure

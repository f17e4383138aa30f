// One scale for the signal level: the status page's bar reading, the
// strength plot's percent and the bands agree on the same samples.
#include "measure/signal_level.h"

#include <gtest/gtest.h>

#include <cmath>

namespace measure {
namespace {

// The bar's own reading, as the status acquisition makes it: a quarter of
// the vector length of four samples, averaged, in floats.
LevelBand BandOnTheBar(double sineCounts, double cosineCounts) {
  float sum = 0;
  for (int i = 0; i < 4; ++i)
    sum += static_cast<float>(std::hypot(sineCounts, cosineCounts) * 0.25);
  return BandOfBarLevel(BarLevel(sum * 0.25f));
}

TEST(SignalLevel, ThePercentAndTheBarAgreeOnEveryBand) {
  EXPECT_NEAR(LevelPercentOfVolts(0.3, 0.4), 100, 1e-9);  // 0.5 V is full scale
  EXPECT_NEAR(LevelPercent(1000, 0), 96.6796875, 1e-9);
  // The bands' floors in the strength plot's percent, and each side of them.
  const std::pair<LevelBand, double> floors[] = {{LevelBand::Marginal, 22.17},
                                                 {LevelBand::Good, 31.41},
                                                 {LevelBand::OverSignal, 101.63}};
  const char* const names[] = {"Poor", "Marginal", "Good", "Over Signal"};
  for (const auto& [band, percent] : floors) {
    EXPECT_NEAR(BandFloorPercent(band), percent, 0.01);
    for (const double step : {-0.02, 0.02}) {
      const double p = BandFloorPercent(band) + step;
      const LevelBand expected = step > 0 ? band : LevelBand(int(band) - 1);
      const double counts = p / kPercentPerCount / std::sqrt(2.0);
      EXPECT_EQ(BandOfPercent(p), expected) << p;
      EXPECT_EQ(BandOnTheBar(counts, counts), expected) << p;
      EXPECT_STREQ(BandName(BandOfPercent(p)), names[int(expected)]);
    }
  }
}

}  // namespace
}  // namespace measure

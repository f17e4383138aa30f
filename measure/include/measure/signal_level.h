// The one signal level. The status page's bar, the signal-strength plot,
// the alignment read-out, the set-up report and probelink-cli all read the
// strength of the read-head's signal here, so that the same signal gets the
// same number and the same word everywhere.
//
// The number is the signal-strength plot's percent: the length of the
// (sine, cosine) vector on a scale where a 0.5 V amplitude is 100 %. The
// word is the band of the status page's bar, whose marks the window sets on
// its own reading of the level (a quarter of the vector length times 1.465).
#pragma once

namespace measure {

// The sine and cosine channels' 12-bit counts span 1.98 V.
inline constexpr double kVoltsPerCount = 1.98 / 4096;
// Percent per 12-bit count of the vector length.
inline constexpr double kPercentPerCount = 0.25 * 1.98 * 0.1953125;

// The level of one sample, from its channels in 12-bit counts or in volts.
double LevelPercent(double sineCounts, double cosineCounts);
double LevelPercentOfVolts(double sineVolts, double cosineVolts);

enum class LevelBand { Poor, Marginal, Good, OverSignal };

// The status page's bar reading of a quarter of the vector length.
float BarLevel(float quarterLength);
// The band whose marks the bar lights for a reading.
LevelBand BandOfBarLevel(float barLevel);
// The same band for a level in percent.
LevelBand BandOfPercent(double percent);
// The lowest level of a band in percent (the band holds what lies above it).
double BandFloorPercent(LevelBand band);
// The window's own word for a band: "Good", "Marginal", "Poor", "Over Signal".
const char* BandName(LevelBand band);

}  // namespace measure

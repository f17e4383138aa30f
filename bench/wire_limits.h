// What one sample of each view costs on the serial line, and so how many
// samples a second the line can carry at most.
#pragma once

namespace bench {

// 38400 baud, 11 bits a byte.
inline constexpr double kWireBytesPerSecond = 38400.0 / 11.0;

struct WireCost {
  double bytes;   // a lone sync is 2, a register read 18, a 32-bit information read 20
  int loneSyncs;  // each needs a silence before the electronics answer it
};

inline constexpr WireCost kStatusCost{4 * (2 + 18) + (2 + 3 * 18 + 2 * 2), 7};
inline constexpr WireCost kSignalCost{2 + 4 * 2, 0};
inline constexpr WireCost kStrengthCost{2 + 6 * 2, 0};
inline constexpr WireCost kPositionCost{2 + 4 * 2, 0};
inline constexpr WireCost kSurveyCost{26 * (2 + 18) + (2 + 18) + 2 * (2 + 20), 29};

// The electronics tell a lone sync byte by one and a half byte times of
// silence after it, which the line spends as surely as a byte.
inline constexpr double kSyncSilenceBytes = 1.5;

inline constexpr double WireSamplesPerSecond(WireCost cost) {
  return kWireBytesPerSecond / (cost.bytes + kSyncSilenceBytes * cost.loneSyncs);
}

}  // namespace bench

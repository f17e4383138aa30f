#include "autoscale.h"

#include <algorithm>
#include <limits>

namespace quillon {
namespace {
// A limit 5 % past a position near the ends of the 32-bit range lies outside
// it: the limits are worked out in double and kept to the range.
int32_t Trunc(double value) {
  constexpr double lowest = std::numeric_limits<int32_t>::min();
  constexpr double highest = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::clamp(value, lowest, highest));
}
}  // namespace

void FitPosition(int32_t p, int32_t& max, int32_t& min) {
  if (p == 0) {
    max = 1;
    min = -1;
    return;
  }
  const int32_t wide = Trunc(p + 0.05 * p);
  const int32_t narrow = Trunc(p - 0.05 * p);
  max = p > 0 ? wide : narrow;
  min = p > 0 ? narrow : wide;
}

bool StretchPosition(int32_t p, int32_t& max, int32_t& min) {
  bool moved = false;
  if (p > max) {
    max = Trunc(p < 1 ? 0.95 * p : 1.05 * p);
    moved = true;
  }
  if (p < min) {
    min = Trunc(p < 0 ? 1.05 * p : 0.95 * p);
    moved = true;
  }
  return moved;
}

void FitVelocity(float v, float& max, float& min) {
  max = v + 0.01f;
  min = v - 0.01f;
}

bool StretchVelocity(float v, float& max, float& min) {
  bool moved = false;
  if (v > max) {
    max = v > 0 ? v * 1.05f : v * 0.95f;
    moved = true;
  }
  if (!(v >= min)) {  // also when v is not a number
    min = v >= 0 ? v * 0.95f : v * 1.05f;
    moved = true;
  }
  return moved;
}

}  // namespace quillon

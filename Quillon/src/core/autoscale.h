// Fitting the value axes of the strength and position plots to the data:
// a fresh fit around the newest value, and widening by 5 % past a new
// extreme so that a slow drift does not replot on every sample.
#pragma once

#include <cstdint>

namespace quillon {

void FitPosition(int32_t p, int32_t& max, int32_t& min);
// True when the limits moved.
bool StretchPosition(int32_t p, int32_t& max, int32_t& min);
void FitVelocity(float v, float& max, float& min);
bool StretchVelocity(float v, float& max, float& min);

}  // namespace quillon

// The electronics' 12-bit signal words: the value stands in bits 4 to 15.
#pragma once

#include <cstdint>

#include "probelink_registers.h"

namespace quillon {

// x and y channels: two's complement, -2048 to 2047.
inline int SignedSignal(uint16_t word) { return ((word >> 4) ^ 0x800) - 0x800; }
// The span of the x and y channels, -2048 to 2047 counts, in volts.
inline constexpr double kFullScaleVolts = 1.98;
inline double SignalVolts(uint16_t word) { return SignedSignal(word) / 4096.0 * kFullScaleVolts; }
// magnitude and angle: 0 to 4095.
inline int UnsignedSignal(uint16_t word) { return (word >> 4) & 0xFFF; }
using probelink::JoinPosition;
inline int32_t WrapSlot(int32_t slot, int32_t size) { return ((slot % size) + size) % size; }

}  // namespace quillon

// The electronics' 12-bit signal words: the value stands in bits 4 to 15.
#pragma once

#include <cstdint>

namespace quillon {

// x and y channels: two's complement, -2048 to 2047.
inline int SignedSignal(uint16_t word) { return ((word >> 4) ^ 0x800) - 0x800; }
// The span of the x and y channels, -2048 to 2047 counts, in volts.
inline constexpr double kFullScaleVolts = 1.98;
inline double SignalVolts(uint16_t word) { return SignedSignal(word) / 4096.0 * kFullScaleVolts; }
// magnitude and angle: 0 to 4095.
inline int UnsignedSignal(uint16_t word) { return (word >> 4) & 0xFFF; }
// A 30-bit two's-complement position from its three register words.
inline int32_t JoinPosition(uint16_t hi, uint16_t mid, uint16_t lo) {
  const uint32_t raw = (uint32_t{hi} << 16 | mid) << 12 | ((lo >> 4) & 0xFFFu);
  return static_cast<int32_t>(raw << 2) >> 2;
}
inline int32_t WrapSlot(int32_t slot, int32_t size) { return ((slot % size) + size) % size; }

}  // namespace quillon

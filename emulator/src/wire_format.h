// The bytes and timing of the serial line, as the electronics see them.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>

namespace veritrak {

using Clock = std::chrono::steady_clock;
using TimePoint = Clock::time_point;

// 38400 baud with a start bit, 8 data bits, even parity and a stop bit.
inline constexpr std::chrono::nanoseconds kPacedByteTime{11'000'000'000LL / 38400};

inline constexpr uint8_t kStartByte = 0x80;
inline constexpr uint8_t kReplyByte = 0x90;   // data replies, acknowledgements, sync answers
inline constexpr uint8_t kRefuseByte = 0x15;  // anything but kReplyByte refuses
inline constexpr uint8_t kMarkerByte = 0xFF;  // two of them lead every stream record
inline constexpr uint8_t kStopByte = 0xA5;

inline constexpr size_t kHeaderSize = 4;  // start, command, length, length again
inline constexpr size_t kChecksumSize = 2;

inline uint16_t Checksum16(std::span<const uint8_t> bytes) {
  uint16_t sum = 0;
  for (const uint8_t b : bytes) sum = static_cast<uint16_t>(sum + b);
  return sum;
}

inline uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace veritrak

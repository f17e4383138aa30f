/* The electronics' register map for C++ callers of probelink.h: register
 * numbers, the words written to the command register, the status word's
 * bits and how the position registers combine. The library, the programs
 * over it and the emulator at the far end of the line all take them from
 * here, so that they cannot drift apart. */
#ifndef PROBELINK_REGISTERS_H
#define PROBELINK_REGISTERS_H

#ifndef __cplusplus
#error "probelink_registers.h is for C++; probelink.h is the C interface"
#endif

#include <cstdint>

namespace probelink {

namespace reg {
// Unscoped, so that a register stands wherever its number does.
enum Register : uint8_t {
  kGeneral = 0x00,
  kStatusSetup = 0x02,    // output frequency setting in bits 0 to 2
  kInterpolation = 0x03,  // level - 1, in bits 4 to 15
  kIndexAngle = 0x04,
  kOverspeed = 0x06,
  kRedAlarmLevel = 0x08,
  kYellowAlarmLevel = 0x09,
  kGreenLowLevel = 0x0A,
  kModel = 0x20,  // the model code in bits 5 to 8
  kStatus = 0x21,
  kRisingEdge = 0x2B,
  kFallingEdge = 0x2C,
  kGainX = 0x50,
  kGainY = 0x52,
  // The signal channels and the position, read from the sample of the moment.
  kCosine = 0x64,
  kSine = 0x65,
  kMagnitude = 0x66,
  kPositionLow = 0x67,     // position bits 0 to 11 in bits 4 to 15: the angle
  kPositionMiddle = 0x68,  // bits 12 to 27
  kPositionHigh = 0x69,    // bits 28 and 29
  kInterpolatedAngle = 0x6A,
  // 0x24 to 0x2A read the same measurements as 0x64 to 0x6A.
  kMirrorFirst = 0x24,
  kMirrorLast = 0x2A,
  kCommand = 0x80,
};

inline constexpr uint8_t kMirrorOffset = 0x40;
// Register numbers from 0x80 are write addresses: 0x80 + r writes r.
inline constexpr uint8_t kWriteOffset = 0x80;

constexpr uint8_t Mirror(uint8_t measurement) { return measurement - kMirrorOffset; }
constexpr uint8_t WriteAddress(uint8_t reg) { return reg + kWriteOffset; }

// What the bare Lissajous mode streams: sine, cosine, angle and magnitude.
inline constexpr uint8_t kLissajous[] = {kSine, kCosine, kPositionLow, Mirror(kMagnitude)};
}  // namespace reg

// The words written to reg::kCommand.
namespace command_word {
enum CommandWord : uint16_t { kZeroArm = 0x02, kZeroCounter = 0x04, kCentreIndex = 0x14 };
}  // namespace command_word

// The bits of reg::kStatus.
namespace status {
enum StatusBit : uint16_t {
  kRedAlarm = 1 << 2,
  kYellowAlarm = 1 << 3,
  kAtIndex = 1 << 9,
  kCentred = 1 << 10,
  kCentring = 1 << 11,
};
}  // namespace status

// A register read or write as one word: the register in bits 16 to 23.
constexpr uint32_t Word(uint8_t reg, uint16_t value) { return uint32_t{reg} << 16 | value; }

// The 30-bit two's-complement position of its three registers.
constexpr int32_t JoinPosition(uint16_t high, uint16_t middle, uint16_t low) {
  const uint32_t joined = (uint32_t{high} << 16 | middle) << 12 | ((low >> 4) & 0xFFFu);
  return static_cast<int32_t>(joined << 2) >> 2;
}

}  // namespace probelink

#endif

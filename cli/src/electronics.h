// What the program knows of the electronics beyond the library's calls:
// register numbers, command words, and the names the window gives codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace probelink_cli {

namespace reg {
inline constexpr uint8_t kStatusSetup = 0x02;    // output frequency setting in bits 0 to 2
inline constexpr uint8_t kInterpolation = 0x03;  // level - 1, in bits 4 to 15
inline constexpr uint8_t kModel = 0x20;
inline constexpr uint8_t kStatus = 0x21;
inline constexpr uint8_t kCosine = 0x64;
inline constexpr uint8_t kSine = 0x65;
inline constexpr uint8_t kMagnitude = 0x26;
inline constexpr uint8_t kAngle = 0x67;
inline constexpr uint8_t kPositionLow = 0x67;     // position bits 0 to 11, in bits 4 to 15
inline constexpr uint8_t kPositionMiddle = 0x68;  // bits 12 to 27
inline constexpr uint8_t kPositionHigh = 0x69;    // bits 28 and 29
inline constexpr uint8_t kCommand = 0x80;
// A register is written at its number plus this.
inline constexpr uint8_t kWriteOffset = 0x80;
}  // namespace reg

namespace command {
inline constexpr uint16_t kZeroArm = 0x02;
inline constexpr uint16_t kZeroCounter = 0x04;
inline constexpr uint16_t kCentreIndex = 0x14;
}  // namespace command

inline constexpr int kFirstCom = 1;
inline constexpr int kLastCom = 16;
inline constexpr int kLowestInterpolation = 4;
inline constexpr int kHighestInterpolation = 4096;
inline constexpr int kFastestFrequency = 1;
inline constexpr int kSlowestFrequency = 6;

constexpr uint32_t Word(uint8_t reg, uint16_t value) { return uint32_t{reg} << 16 | value; }

// The sine and cosine channels stand in bits 4 to 15, in two's complement.
constexpr int Signed12(uint16_t word) { return ((word >> 4) ^ 0x800) - 0x800; }

// The 30-bit two's-complement position of its three registers.
constexpr int32_t JoinPosition(uint16_t high, uint16_t middle, uint16_t low) {
  const uint32_t joined = ((uint32_t{high} << 16 | middle) << 12) | ((low >> 4) & 0xFFFu);
  return static_cast<int32_t>(joined << 2) >> 2;
}

// The model code in bits 5 to 8 of the model register.
constexpr int ModelCode(uint16_t modelRegister) { return (modelRegister >> 5) & 0xF; }

// The model whose counter counts four times finer than the status page shows.
constexpr bool CountsFourFold(int modelCode) { return modelCode == 3; }

// Hexadecimal with 0x, else decimal: a leading zero is not octal.
std::optional<long> ParseNumber(std::string_view text);

// Model codes 0 to 4 are the electronics the window accepts.
std::optional<std::string> ModelName(int code);
// The output frequency of a status-setup register in MHz; nothing for the
// setting the window leaves unnamed.
std::optional<double> OutputFrequencyMHz(uint16_t statusSetup);
// "0x21", "0x0200": register numbers and words as the engineering display shows them.
std::string Hex(uint32_t value, int digits);

}  // namespace probelink_cli

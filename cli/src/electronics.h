// What the program knows of the electronics beyond the library's calls:
// register numbers, command words, and the names the window gives codes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

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
inline constexpr uint8_t kCommand = 0x80;
// A register is written at its number plus this.
inline constexpr uint8_t kWriteOffset = 0x80;
}  // namespace reg

namespace command {
inline constexpr uint16_t kZeroArm = 0x02;
inline constexpr uint16_t kZeroCounter = 0x04;
inline constexpr uint16_t kCentreIndex = 0x14;
}  // namespace command

// The engineering display's survey, in its order.
inline constexpr std::array<uint8_t, 26> kSurveyRegisters = {
    0x00, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x50, 0x51, 0x52,
    0x53, 0x54, 0x20, 0x21, 0x64, 0x65, 0x66, 0x69, 0x68, 0x67, 0x6A, 0x2B, 0x2C};

inline constexpr int kFirstCom = 1;
inline constexpr int kLastCom = 16;
inline constexpr int kLowestInterpolation = 4;
inline constexpr int kHighestInterpolation = 4096;
inline constexpr int kFastestFrequency = 1;
inline constexpr int kSlowestFrequency = 6;

constexpr uint32_t Word(uint8_t reg, uint16_t value) { return uint32_t{reg} << 16 | value; }

// The sine and cosine channels stand in bits 4 to 15, in two's complement.
constexpr int Signed12(uint16_t word) { return ((word >> 4) ^ 0x800) - 0x800; }

// Model codes 0 to 4 are the electronics the window accepts.
std::optional<std::string> ModelName(int code);
// The output frequency of a status-setup register, as the window shows it.
std::string OutputFrequency(uint16_t statusSetup);
// "0x21", "0x0200": register numbers and words as the engineering display shows them.
std::string Hex(uint32_t value, int digits);

}  // namespace probelink_cli

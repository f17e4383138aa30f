// The engineering display's names for the registers: the caption beside
// each box, whose "Addr" is not always the register's number ("GainX  Addr
// 10" shows register 0x50), so the program names every register it shows
// and takes the captions as well as the numbers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace probelink_cli {

struct RegisterCaption {
  uint8_t reg;
  const char* caption;
};

// The display's register boxes in the order of its survey.
inline constexpr std::array<RegisterCaption, 26> kSurvey = {{
    {0x00, "GenReg0 Addr 00"},
    {0x02, "Addr 02"},
    {0x03, "Addr 03"},
    {0x04, "Addr 04"},
    {0x05, "Offset Test Addr 05"},
    {0x06, "Addr 06"},
    {0x07, "Addr 07"},
    {0x08, "Red Alrm Addr 08"},
    {0x09, "Yellow Alrm Addr 09"},
    {0x0A, "GreenLo Addr 0A"},
    {0x50, "GainX  Addr 10"},
    {0x51, "OffsetX Addr 11"},
    {0x52, "GainY Addr 12"},
    {0x53, "OffsetY Addr 13"},
    {0x54, "Phase Addr 14"},
    {0x20, "Version Addr 20"},
    {0x21, "Status Addr 21"},
    {0x64, "yAD Addr 24"},
    {0x65, "xAD Addr 25"},
    {0x66, "Mag Addr 26"},
    {0x69, "Angle 29:28 Addr 29"},
    {0x68, "Angle 27:12 Addr 28"},
    {0x67, "Angle 11:0 Addr 27"},
    {0x6A, "IntAngle Addr 2A"},
    {0x2B, "IWPos Edge Addr 2B"},
    {0x2C, "IWNeg Edge Addr 2C"},
}};

// The caption of a register on the display.
std::optional<std::string> CaptionOf(uint8_t reg);
// A register by its caption, by the name before "Addr" or by "Addr NN"
// alone, in any case and with or without blanks: "GainX", "gainx addr 10",
// "Addr 10" and "red alrm" all name registers.
std::optional<uint8_t> RegisterNamed(std::string_view text);
// Why a number is no register that can be read: the write addresses from
// 0x80 up. Nothing for a readable one.
std::optional<std::string> WhyUnreadable(int number);
// For a number that the display shows as another register's "Addr" (0x10 is
// "GainX  Addr 10", register 0x50), the sentence that says so.
std::optional<std::string> DisplayAddressNote(uint8_t reg);

}  // namespace probelink_cli

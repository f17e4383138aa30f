// What the program knows of the electronics beyond the library's calls and
// its register map: the ranges it accepts and the names the window gives
// codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "probelink_registers.h"

namespace probelink_cli {

namespace reg = probelink::reg;
namespace command = probelink::command_word;
namespace bit = probelink::status;
using probelink::JoinPosition;
using probelink::Word;

inline constexpr int kFirstCom = 1;
inline constexpr int kLastCom = 16;
inline constexpr int kLowestInterpolation = 4;
inline constexpr int kHighestInterpolation = 4096;
inline constexpr int kFastestFrequency = 1;
inline constexpr int kSlowestFrequency = 6;

// The sine and cosine channels stand in bits 4 to 15, in two's complement.
constexpr int Signed12(uint16_t word) { return ((word >> 4) ^ 0x800) - 0x800; }

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

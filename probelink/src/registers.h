// Register reads and writes of the three register families, shared by their
// own exports and the synchronised family calls.
#pragma once

#include <cstdint>

#include "transport.h"

namespace probelink {

namespace command {
inline constexpr uint8_t kWrite = 0x50;
inline constexpr uint8_t kRead = 0x51;
inline constexpr uint8_t kFinchWrite = 0xA3;
inline constexpr uint8_t kFinchRead = 0xA4;
}  // namespace command

// Base family: 16-bit addresses; -2, -1, or the 16-bit value.
int32_t ReadBase(Transport& line, uint16_t address);
// Base family write of the word W; the address field carries W itself, or W
// with its bytes swapped.
int32_t WriteBase(Transport& line, uint16_t word, bool swapAddress);

// Long-request families (Wren and Finch): the 32-bit register word goes out
// whole. Reads return -2, -1 or 0 with the value stored.
int32_t ReadLong(Transport& line, uint8_t code, uint32_t word, uint16_t& value);
int32_t WriteLong(Transport& line, uint8_t code, uint32_t word);

}  // namespace probelink

// What the electronics send back to a request.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace veritrak {

// The reply byte, the command and the count, the data, the checksum.
std::vector<uint8_t> DataReply(uint8_t command, std::span<const uint8_t> data);
// The value's bytes low first, cut or padded with zeros to `count`.
std::vector<uint8_t> LittleEndian(uint32_t value, size_t count);

}  // namespace veritrak

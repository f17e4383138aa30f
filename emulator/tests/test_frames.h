// Frames as the host puts them on the wire, for tests that talk raw bytes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "wire_format.h"

namespace veritrak {

// Start byte, command, the length twice, the payload, the checksum.
inline std::vector<uint8_t> Framed(uint8_t command, const std::vector<uint8_t>& payload) {
  const size_t body = kHeaderSize + payload.size();
  std::vector<uint8_t> f(body + kChecksumSize);
  f[0] = kStartByte;
  f[1] = command;
  f[2] = f[3] = static_cast<uint8_t>(payload.size());
  std::copy(payload.begin(), payload.end(), f.begin() + kHeaderSize);
  const uint16_t sum = Checksum16({f.data(), body});
  f[body] = static_cast<uint8_t>(sum);
  f[body + 1] = static_cast<uint8_t>(sum >> 8);
  return f;
}

}  // namespace veritrak

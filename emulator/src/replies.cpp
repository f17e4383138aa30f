#include "replies.h"

#include <algorithm>

#include "wire_format.h"

namespace veritrak {

std::vector<uint8_t> DataReply(uint8_t command, std::span<const uint8_t> data) {
  const size_t body = kHeaderSize + data.size();
  std::vector<uint8_t> reply(body + kChecksumSize);
  reply[0] = kReplyByte;
  reply[1] = command;
  reply[2] = static_cast<uint8_t>(data.size());
  reply[3] = static_cast<uint8_t>(data.size() >> 8);
  std::copy(data.begin(), data.end(), reply.begin() + kHeaderSize);
  const uint16_t sum = Checksum16({reply.data(), body});
  reply[body] = static_cast<uint8_t>(sum);
  reply[body + 1] = static_cast<uint8_t>(sum >> 8);
  return reply;
}

std::vector<uint8_t> LittleEndian(uint32_t value, size_t count) {
  std::vector<uint8_t> bytes(count, 0);
  for (size_t i = 0; i < count && i < sizeof value; ++i)
    bytes[i] = static_cast<uint8_t>(value >> (8 * i));
  return bytes;
}

}  // namespace veritrak

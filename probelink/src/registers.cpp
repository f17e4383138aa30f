#include "registers.h"

#include "frames.h"

namespace probelink {

int32_t ReadBase(Transport& line, uint16_t address) {
  return FinishRead(line, SendReadRequest(line, command::kRead, address, 2), 2);
}

int32_t WriteBase(Transport& line, uint16_t word, bool swapAddress) {
  const uint16_t address = swapAddress ? static_cast<uint16_t>(word << 8 | word >> 8) : word;
  const uint8_t data[2] = {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8)};
  return FinishWrite(line, SendBlockRequest(line, command::kWrite, address, data));
}

int32_t ReadLong(Transport& line, uint8_t code, uint32_t word, uint16_t& value) {
  const int32_t result = FinishRead(line, SendLongRequest(line, code, word), 2);
  if (result < 0) return result;
  value = static_cast<uint16_t>(result);
  return 0;
}

int32_t WriteLong(Transport& line, uint8_t code, uint32_t word) {
  return FinishWrite(line, SendLongRequest(line, code, word));
}

}  // namespace probelink

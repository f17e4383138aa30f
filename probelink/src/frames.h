// The framed request/reply protocol: frame building, reply judgement, the
// acknowledgement and the synchronisation handshake.
#pragma once

#include <cstdint>
#include <span>

#include "transport.h"

namespace probelink {

inline constexpr uint8_t kStartByte = 0x80;
inline constexpr uint8_t kReplyByte = 0x90;
inline constexpr size_t kHeaderSize = 4;
inline constexpr size_t kChecksumSize = 2;
inline constexpr size_t kMaxPayload = 255;
// The largest data count any read command asks for.
inline constexpr uint16_t kMaxReplyData = 6;

uint16_t Checksum16(std::span<const uint8_t> bytes);
inline uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t Le32(const uint8_t* p) { return Le16(p) | uint32_t{Le16(p + 2)} << 16; }

// Each returns whether the whole frame was written in one call.
bool SendFrame(Transport& line, uint8_t code, std::span<const uint8_t> payload);
bool SendReadRequest(Transport& line, uint8_t code, uint16_t address, uint16_t count);
bool SendBareRequest(Transport& line, uint8_t code);
bool SendLongRequest(Transport& line, uint8_t code, uint32_t word);
bool SendBlockRequest(Transport& line, uint8_t code, uint16_t address,
                      std::span<const uint8_t> data);
// Writes raw bytes in one call; true only when all of them went out.
bool WriteAll(Transport& line, std::span<const uint8_t> bytes);

bool CheckReply(std::span<const uint8_t> received, uint16_t count);
// Reads the data reply to a request for count bytes (at most kMaxReplyData)
// into data; false when it is missing, short or corrupt.
bool ReadDataReply(Transport& line, uint16_t count, uint8_t* data);
// The tail of every read command: -2 not sent, -1 bad reply, else the value
// of data bytes 0..1 (count 2) or 0..3 (larger counts).
int32_t FinishRead(Transport& line, bool sent, uint16_t count);
// The tail of every write or mode command: -2 not sent, -1 refused or no
// acknowledgement, 0 accepted.
int32_t FinishWrite(Transport& line, bool sent);

int32_t SendSync(Transport& line);
bool DoSynchronize(Transport& line);
void DelayMs(uint32_t ms);

}  // namespace probelink

// Streamed records: the start frame, the marker hunt and the stop run.
#pragma once

#include <cstdint>
#include <span>

#include "transport.h"

namespace probelink {

inline constexpr int32_t kMaxStreamRegisters = 70;
inline constexpr uint8_t kMarkerByte = 0xFF;
inline constexpr uint8_t kStopByte = 0xA5;
inline constexpr int32_t kMaxStopRun = 200;

// -2 not written, -1 refused or unacknowledged, 0 streaming.
int32_t BeginStream(Transport& line, uint8_t code, std::span<const uint8_t> registers);
// Finds the next 0xFF 0xFF marker and reads the record of values.size()
// words behind it: 0, or -1 on a time-out or when no marker turns up within
// a bounded number of bytes.
int32_t ReadRecord(Transport& line, std::span<uint16_t> values);
// Number of stop bytes written for a stream of n values a record, or -1.
int32_t WriteStopRun(Transport& line, int32_t n);

}  // namespace probelink

// A running stream: the registers each record carries, when the next record
// is due, and the run of stop bytes that ends it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "transmitter.h"
#include "veritrak/emulator.h"

namespace veritrak {

class Stream {
 public:
  Stream(std::vector<uint8_t> registers, const LineSettings& line, TimePoint start);

  const std::vector<uint8_t>& Registers() const { return registers_; }
  // True once the bytes received make a stop run.
  bool SeesStop(uint8_t byte);

  bool RecordDue(TimePoint now, const Transmitter& tx) const;
  std::optional<TimePoint> Deadline(TimePoint now, const Transmitter& tx) const;
  void RecordQueued(TimePoint now);

  // The marker and the values, little-endian.
  static std::vector<uint8_t> Record(std::span<const uint16_t> values);

 private:
  std::vector<uint8_t> registers_;
  bool paced_;
  std::optional<std::chrono::nanoseconds> interval_;  // none: as fast as the line drains
  TimePoint next_;
  int stopBytes_ = 0;
};

}  // namespace veritrak

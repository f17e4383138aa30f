// The electronics' sending side: bytes wait until they are due (paced at the
// wire rate, or held back by a late answer), pass the line noise, and go into
// the pseudo-terminal as far as it takes them.
#pragma once

#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "faults.h"
#include "veritrak/emulator.h"
#include "wire_format.h"

namespace veritrak {

class Transmitter {
 public:
  Transmitter(const LineSettings& line, LineNoise& noise);

  // The bytes arrive at the host no earlier than `at`.
  void Queue(std::span<const uint8_t> bytes, TimePoint at);
  // Forgets everything not yet taken by the pseudo-terminal.
  void Clear();
  void Flush(int fd, TimePoint now);

  // When Flush next has something to do; none while the line is full.
  std::optional<TimePoint> Deadline() const;
  // The pseudo-terminal is full and holds bytes back.
  bool Blocked() const { return !line_.empty(); }
  size_t Queued() const { return queue_.size(); }
  // When the last byte queued is due.
  TimePoint QueueEnd() const { return lastDue_; }

 private:
  TimePoint NextPacket(TimePoint due) const;

  struct Byte {
    uint8_t value;
    TimePoint due;
  };

  bool paced_;
  std::chrono::microseconds packetPeriod_;
  LineNoise& noise_;
  std::deque<Byte> queue_;
  std::vector<uint8_t> line_;
  TimePoint lastDue_{};
};

// When each received byte has finished arriving: at once, or on a paced line
// one byte-time after it started, which is no earlier than the end of the one
// before it.
class ReceiveClock {
 public:
  explicit ReceiveClock(bool paced) : paced_(paced) {}
  TimePoint Stamp(TimePoint now) {
    last_ = paced_ ? std::max(now, last_) + kPacedByteTime : now;
    return last_;
  }

 private:
  bool paced_;
  TimePoint last_{};
};

}  // namespace veritrak

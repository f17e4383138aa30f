// When the bytes of a streamed record can all be here. A stream's bytes
// follow each other at the line's rate, so once they flow a read can sleep
// until the last of the record can have come and take it with one wake-up,
// instead of one for each few bytes the line hands over. A reply is waited
// for by poll: when it starts depends on the device, and its caller waits
// for it before the next exchange, so a sleep that ends late costs time.
//
// Lines hand bytes over in deliveries (a UART's FIFO, a USB adapter's
// packets), so the last bytes of a record often come a few byte times after
// they were sent. A sleep that ended before them teaches how late they
// come, and later records are waited for that much longer; a long run of
// sleeps that found everything forgets a byte of it.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "comm_timeouts.h"

namespace probelink {

class ArrivalEstimate {
 public:
  struct Sleep {
    Clock::time_point until;
    size_t awaited;  // bytes the sleep is for
  };

  void SetByteTime(Clock::duration byteTime) { byteTime_ = byteTime.count(); }
  // Bytes came at the last look, or the line fell silent or turned round.
  void SetFlowing(bool flowing) { flowing_ = flowing; }

  // For `awaited` bytes of a record still to come; none when a poll serves
  // as well.
  std::optional<Sleep> SleepFor(size_t awaited) const {
    const Clock::duration byteTime{byteTime_.load()};
    if (!flowing_ || awaited < 2 || byteTime == Clock::duration::zero()) return std::nullopt;
    const auto bytes = static_cast<Clock::rep>(awaited + late_.load());
    return Sleep{Clock::now() + bytes * byteTime, awaited};
  }

  // What the first look after a sleep found.
  void AfterSleep(size_t awaited, size_t came) {
    if (came < awaited) {
      late_ = std::max(late_.load(), std::min(awaited - came, kMostLateBytes));
      onTime_ = 0;
    } else if (++onTime_ >= kOnTimeToForget) {
      onTime_ = 0;
      if (late_ > 0) --late_;
    }
  }

 private:
  static constexpr size_t kMostLateBytes = 16;  // a UART's FIFO holds back fewer
  static constexpr uint32_t kOnTimeToForget = 64;

  std::atomic<Clock::rep> byteTime_{0};  // a byte's time on the wire at the line's rate
  std::atomic<bool> flowing_{false};
  std::atomic<size_t> late_{0};
  std::atomic<uint32_t> onTime_{0};
};

}  // namespace probelink

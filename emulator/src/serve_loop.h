// The serving thread's loop: wait for the host's bytes or the next thing due,
// hand bytes to the device, and move its answers onto the line.
#pragma once

#include <atomic>
#include <optional>

#include "device.h"
#include "faults.h"
#include "transmitter.h"
#include "wake_pipe.h"

namespace veritrak {

class ServeLoop {
 public:
  ServeLoop(int line, const WakePipe& wake, Device& device, Transmitter& tx,
            const FaultControl& faults, bool paced, const std::atomic<bool>& stopping);
  // Returns when stopping is set (and the wake pipe notified) or the line breaks.
  void Run();

 private:
  std::optional<TimePoint> NextDeadline(TimePoint now, bool connected) const;
  // False when the line has broken.
  bool Wait(TimePoint now, bool connected);
  void Receive();
  void NoticePulls();

  int line_;
  const WakePipe& wake_;
  Device& device_;
  Transmitter& tx_;
  const FaultControl& faults_;
  ReceiveClock clock_;
  uint32_t pullsSeen_ = 0;
  const std::atomic<bool>& stopping_;
};

}  // namespace veritrak

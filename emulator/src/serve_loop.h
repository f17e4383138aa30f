// The serving thread's loop: wait for the host's bytes or the next thing due,
// hand bytes to the device, and move its answers onto the line.
#pragma once

#include <atomic>
#include <optional>

#include "adapter_socket.h"
#include "device.h"
#include "faults.h"
#include "transmitter.h"
#include "wake_pipe.h"

namespace veritrak {

class ServeLoop {
 public:
  ServeLoop(int line, const WakePipe& wake, Device& device, Transmitter& tx, FaultControl& faults,
            bool paced, const std::atomic<Interruption>& interruption);
  enum class Ending { Stopped, Unplugged, LineBroken, HangUp };
  // Returns when interrupted (and the wake pipe notified), the line breaks,
  // or a line end armed for the device's next command is due.
  Ending Run();

 private:
  std::optional<TimePoint> NextDeadline(TimePoint now, bool connected) const;
  // False when the line has broken.
  bool Wait(TimePoint now, bool connected);
  void Receive();
  void NoticePulls();
  // The armed line end, once the device has answered a command taken since.
  std::optional<Emulator::LineEnd> DueLineEnd();

  int line_;
  const WakePipe& wake_;
  Device& device_;
  Transmitter& tx_;
  FaultControl& faults_;
  ReceiveClock clock_;
  uint32_t pullsSeen_ = 0;
  uint32_t commandsSeen_ = 0;
  const std::atomic<Interruption>& interruption_;
};

}  // namespace veritrak

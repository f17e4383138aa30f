// The serial line on Linux: a tty opened exclusively and driven through
// termios2, so that any baud rate can be set and read back exactly.
#pragma once

#include <memory>
#include <string>

#include "arrival_estimate.h"
#include "comm_timeouts.h"
#include "receive_buffer.h"
#include "transport.h"

namespace probelink {

class SerialPosix final : public Transport {
 public:
  // Opens an existing tty exclusively; on failure returns null and sets error
  // to the errno value.
  static std::unique_ptr<SerialPosix> Open(const std::string& path, int& error);
  ~SerialPosix() override;

  bool GetLineSetting(DCB& dcb) override;
  LineApply SetLineSetting(const DCB& dcb) override;
  bool GetTimeouts(COMMTIMEOUTS& timeouts) override;
  bool SetTimeouts(const COMMTIMEOUTS& timeouts) override;
  bool GetProperties(COMMPROP& properties) override;
  bool SetQueueSizes(uint32_t rx, uint32_t tx) override;
  bool PurgeQueues(Purge which) override;
  IoResult Read(uint8_t* buffer, size_t n) override;
  IoResult Write(const uint8_t* buffer, size_t n) override;
  void Announce(size_t n) override { received_.Announce(n); }

 private:
  SerialPosix(int fd, bool isPseudoTerminal);
  bool WaitFor(short events, const std::optional<Clock::time_point>& deadline, bool& timedOut);
  LineApply ApplyModemLines(const DCB& dcb);

  int fd_;
  bool isPseudoTerminal_;
  DCB held_;  // what termios cannot hold: modem-line controls, limits, spare characters
  COMMTIMEOUTS timeouts_;
  ReceiveBuffer received_;
  ArrivalEstimate arrival_;
};

}  // namespace probelink

// The seam between the protocol and the operating system: the handful of
// operations the protocol needs from a serial line. The POSIX implementation
// drives a tty; tests and fuzzers plug in an in-memory line.
#pragma once

#include <cstddef>
#include <cstdint>

#include "probelink.h"

namespace probelink {

struct IoResult {
  bool ok;       // the OS call itself succeeded (a time-out is not a failure)
  size_t count;  // bytes transferred before the time-out or the failure
};

enum class LineApply {
  Applied,       // everything asked for is in effect
  NoModemLines,  // the line setting took, but the device has no DTR/RTS
  Refused,
};

enum class Purge { Rx, Tx, Both };

class Transport {
 public:
  virtual ~Transport() = default;

  virtual bool GetLineSetting(DCB& dcb) = 0;
  virtual LineApply SetLineSetting(const DCB& dcb) = 0;
  virtual bool GetTimeouts(COMMTIMEOUTS& timeouts) = 0;
  virtual bool SetTimeouts(const COMMTIMEOUTS& timeouts) = 0;
  virtual bool GetProperties(COMMPROP& properties) = 0;
  virtual bool SetQueueSizes(uint32_t rx, uint32_t tx) = 0;
  virtual bool PurgeQueues(Purge which) = 0;
  // Both block for at most the time-outs last set.
  virtual IoResult Read(uint8_t* buffer, size_t n) = 0;
  virtual IoResult Write(const uint8_t* buffer, size_t n) = 0;
  // The caller is about to read n bytes that follow each other on the wire,
  // a few at a time; a line may then wait for all of them in one go.
  virtual void Announce(size_t) {}
};

}  // namespace probelink

// How the program ends, and the one failure every command may end with.
#pragma once

#include <stdexcept>
#include <string>

namespace probelink_cli {

enum ExitStatus {
  kSuccess = 0,
  kCommunicationFailure = 1,  // no electronics, or they stopped answering
  kUsageError = 2,
  kRefused = 3,         // the electronics answered, and refused
  kOutOfTolerance = 4,  // align: a figure beyond its marginal bound
};

// Carries the one line told on standard error.
class Failure : public std::runtime_error {
 public:
  Failure(ExitStatus status, const std::string& message)
      : std::runtime_error(message), status_(status) {}
  ExitStatus Status() const { return status_; }

 private:
  ExitStatus status_;
};

}  // namespace probelink_cli

// A pseudo-terminal whose master side plays the far end of a serial line.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const std::string& SlavePath() const { return slavePath_; }
  int MasterFd() const { return master_; }

  void Write(const std::vector<uint8_t>& bytes) const;
  // Reads until n bytes have come or the time is up; returns what came.
  std::vector<uint8_t> Read(size_t n, std::chrono::milliseconds limit) const;
  // Bytes waiting in the slave's receive queue.
  size_t SlaveInputQueued() const;
  // Everything that arrives until the line has been quiet for `quiet`.
  std::vector<uint8_t> Drain(std::chrono::milliseconds quiet) const;
  // The far end goes away for good, as an unplugged adapter does: the slave
  // is hung up.
  void HangUp();

 private:
  int master_ = -1;
  int slave_ = -1;  // kept open so the master never sees a hang-up between users
  std::string slavePath_;
};

}  // namespace testsupport

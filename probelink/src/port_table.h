// The sixteen COM port slots of the process.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "transport.h"

namespace probelink {

constexpr int32_t kFirstPort = 1;
constexpr int32_t kLastPort = 16;

class PortTable {
 public:
  static PortTable& Instance();

  // Never null: a port that is not open selects a line on which every
  // operation fails, so each call fails in its first step as on real ports.
  std::shared_ptr<Transport> Select(int32_t port) const;
  int32_t Open(int32_t port);
  int32_t Close(int32_t port);
  // Puts a line of the caller's into a slot, as if it had been opened.
  void Install(int32_t port, std::shared_ptr<Transport> line);
  int LastOsError() const { return lastOsError_; }
  static bool InRange(int32_t port) { return port >= kFirstPort && port <= kLastPort; }

 private:
  mutable std::mutex mutex_;  // guards the slots, never held during I/O
  std::shared_ptr<Transport> slots_[kLastPort + 1];
  std::atomic<int32_t> lastOpenResult_{0};
  std::atomic<int> lastOsError_{0};
};

}  // namespace probelink

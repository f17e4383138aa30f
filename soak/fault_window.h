// The fault in force and its end. The driver puts a fault in force for a
// while; whoever comes first after that while, the driver or a person at the
// failure box, clears it, as a technician plugs the cable back before
// pressing Yes.
#pragma once

#include <chrono>
#include <functional>
#include <mutex>

namespace soak {

using Clock = std::chrono::steady_clock;

class FaultWindow {
 public:
  // `clear` runs once, from the thread that ends the fault.
  void Open(std::function<void()> clear, Clock::duration length);
  // Clears the fault once its time is up; true when none is in force.
  bool ClearIfDue();

 private:
  std::mutex mutex_;
  std::function<void()> clear_;
  Clock::time_point end_;
};

}  // namespace soak

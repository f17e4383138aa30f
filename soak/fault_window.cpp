#include "fault_window.h"

#include <utility>

namespace soak {

void FaultWindow::Open(std::function<void()> clear, Clock::duration length) {
  const std::lock_guard lock(mutex_);
  clear_ = std::move(clear);
  end_ = Clock::now() + length;
}

bool FaultWindow::ClearIfDue() {
  const std::lock_guard lock(mutex_);
  if (!clear_) return true;
  if (Clock::now() < end_) return false;
  std::exchange(clear_, nullptr)();
  return true;
}

}  // namespace soak

#include "adapter_socket.h"

namespace veritrak {

AdapterSocket::AdapterSocket()
    : pty_(std::make_unique<PseudoTerminal>()), path_(pty_->SlavePath()) {}

std::string AdapterSocket::Path() const {
  const std::lock_guard lock(mutex_);
  return path_;
}

// The lock taken before the notice keeps it from falling between the serving
// thread's look at the flag and its wait.
void AdapterSocket::Stop() {
  interruption_ = Interruption::Stop;
  wake_.Notify();
  const std::lock_guard lock(mutex_);
  changed_.notify_all();
}

void AdapterSocket::Unplug() {
  std::unique_lock lock(mutex_);
  Interruption none = Interruption::None;
  if (!pty_ || !serving_ || !interruption_.compare_exchange_strong(none, Interruption::Unplug))
    return;
  wake_.Notify();
  changed_.wait(lock, [this] { return !pty_ || !serving_; });
}

std::string AdapterSocket::Plug() {
  auto fresh = std::make_unique<PseudoTerminal>();
  const std::lock_guard lock(mutex_);
  if (!pty_) {
    pty_ = std::move(fresh);
    path_ = pty_->SlavePath();
    changed_.notify_all();
  }
  return path_;
}

std::optional<int> AdapterSocket::AwaitLine() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return pty_ || interruption_ == Interruption::Stop; });
  if (interruption_ == Interruption::Stop) return std::nullopt;
  return pty_->Master();
}

void AdapterSocket::CloseLine() {
  const std::lock_guard lock(mutex_);
  pty_.reset();
  Interruption unplug = Interruption::Unplug;
  interruption_.compare_exchange_strong(unplug, Interruption::None);
  changed_.notify_all();
}

void AdapterSocket::ServingEnded() {
  const std::lock_guard lock(mutex_);
  serving_ = false;
  changed_.notify_all();
}

}  // namespace veritrak

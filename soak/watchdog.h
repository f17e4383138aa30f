// Whether the window's thread still answers: a no-op posted to it every
// 250 ms must run within a second, or it counts as a hang. The search and
// the reconnection block the window by design while their busy window says
// so; a stall under it is excused up to a few seconds and reported apart.
// A window that does not answer for two minutes has its stacks dumped and
// ends the program.
#pragma once

#include <QObject>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "tally.h"

class QWidget;

namespace soak {

class Watchdog : public QObject {
 public:
  // Lives on the GUI thread; watches from its own until Stop.
  Watchdog(QWidget& busyWindow, Tally& tally);
  ~Watchdog() override;
  void Stop();

  double LongestStallSeconds() const { return longestStallMs_ / 1000.0; }
  double LongestBusySeconds() const { return longestBusyMs_ / 1000.0; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  using Clock = std::chrono::steady_clock;

  void Run();
  void Watch(uint64_t ping, Clock::time_point sent);
  bool Nap(Clock::time_point until);
  [[noreturn]] void GiveUp(Clock::duration waited);

  Tally& tally_;
  std::atomic<bool> busyShown_{false}, busySeen_{false};
  std::atomic<uint64_t> answered_{0};
  std::atomic<int64_t> longestStallMs_{0}, longestBusyMs_{0};
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace soak

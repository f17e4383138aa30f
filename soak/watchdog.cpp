#include "watchdog.h"

#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "stack_dump.h"

namespace soak {
namespace {

using namespace std::chrono_literals;

constexpr auto kPingInterval = 250ms;
constexpr auto kAnswerLimit = 1s;
constexpr auto kBusyLimit = 5s;
constexpr auto kGiveUpLimit = 120s;
constexpr auto kLook = 10ms;

int64_t Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
}

void KeepLonger(std::atomic<int64_t>& longest, int64_t ms) {
  int64_t known = longest;
  while (ms > known && !longest.compare_exchange_weak(known, ms)) {
  }
}

}  // namespace

Watchdog::Watchdog(QWidget& busyWindow, Tally& tally) : tally_(tally) {
  busyShown_ = busyWindow.isVisible();
  busyWindow.installEventFilter(this);
  thread_ = std::thread([this] { Run(); });
}

Watchdog::~Watchdog() { Stop(); }

void Watchdog::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

bool Watchdog::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::Show) busyShown_ = busySeen_ = true;
  if (event->type() == QEvent::Hide) busyShown_ = false;
  return false;
}

// Posted to this object, so that a ping still queued when the watchdog goes
// is dropped with it.
void Watchdog::Run() {
  for (uint64_t ping = 1;; ++ping) {
    const Clock::time_point sent = Clock::now();
    QMetaObject::invokeMethod(
        this, [this, ping] { answered_ = ping; }, Qt::QueuedConnection);
    Watch(ping, sent);
    if (!Nap(sent + kPingInterval)) return;
  }
}

// A stall is excused when the busy window showed at any time during it; that
// is settled when the stall passes the answer limit.
void Watchdog::Watch(uint64_t ping, Clock::time_point sent) {
  busySeen_ = busyShown_.load();
  bool settled = false, excused = false, counted = false;
  while (answered_ < ping) {
    if (!Nap(Clock::now() + kLook)) return;
    const Clock::duration waited = Clock::now() - sent;
    if (!settled && waited > kAnswerLimit) {
      settled = true;
      excused = busySeen_;
    }
    if (settled && !counted && (!excused || waited > kBusyLimit)) {
      counted = true;
      ++tally_.hangs;
    }
    if (waited > kGiveUpLimit) GiveUp(waited);
  }
  const int64_t stall = Ms(Clock::now() - sent);
  KeepLonger(longestStallMs_, stall);
  if (excused && !counted) KeepLonger(longestBusyMs_, stall);
  if (counted) {
    std::printf("hang: the window answered only after %.1f s%s\n", stall / 1000.0,
                excused ? " (its busy window showing)" : "");
    std::fflush(stdout);
  }
}

// False once the watchdog is stopping.
bool Watchdog::Nap(Clock::time_point until) {
  std::unique_lock lock(mutex_);
  return !wake_.wait_until(lock, until, [this] { return stopping_; });
}

void Watchdog::GiveUp(Clock::duration waited) {
  std::printf("soak: the window has not answered for %lld s; the stacks follow\n",
              static_cast<long long>(Ms(waited) / 1000));
  std::fflush(stdout);
  tally_.Save();
  DumpStacks();
  std::_Exit(3);
}

}  // namespace soak

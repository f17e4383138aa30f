#include "signal_control.h"

#include <algorithm>
#include <cerrno>
#include <initializer_list>
#include <optional>

namespace veritrak {
namespace {

using SteadyClock = std::chrono::steady_clock;
using Moment = SteadyClock::time_point;

// Something the program does by itself at a set time, once.
struct Schedule {
  Schedule() = default;
  Schedule(Moment start, std::optional<std::chrono::milliseconds> after) {
    if (after) at = start + *after;
  }
  // True once, when its time has come.
  bool Due() {
    if (!at || SteadyClock::now() < *at) return false;
    at.reset();
    return true;
  }
  std::optional<Moment> at;
};

std::optional<Moment> Earliest(std::initializer_list<std::optional<Moment>> moments) {
  std::optional<Moment> earliest;
  for (const auto& moment : moments)
    if (moment && (!earliest || *moment < *earliest)) earliest = moment;
  return earliest;
}

// Waits for a signal, or until `deadline` when there is one; 0 on time-out.
int NextSignal(const sigset_t& signals, std::optional<Moment> deadline) {
  for (;;) {
    timespec wait{};
    if (deadline) {
      const auto left = std::max(*deadline - SteadyClock::now(), SteadyClock::duration::zero());
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
      wait.tv_sec = ns / 1'000'000'000;
      wait.tv_nsec = ns % 1'000'000'000;
    }
    const int sig = sigtimedwait(&signals, nullptr, deadline ? &wait : nullptr);
    if (sig > 0) return sig;
    if (errno == EAGAIN) return 0;
  }
}

}  // namespace

sigset_t BlockControlSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  for (const int sig : {SIGINT, SIGTERM, SIGUSR1, SIGUSR2, SIGRTMIN}) sigaddset(&signals, sig);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  return signals;
}

void AnswerSignals(const sigset_t& signals, Emulator& emulator, PortLink& link,
                   const ProgramOptions& options) {
  const Moment start = SteadyClock::now();
  Schedule pull(start, options.silentAfter), unplug(start, options.vanishAfter), plug;
  for (;;) {
    const int sig = NextSignal(signals, Earliest({pull.at, unplug.at, plug.at}));
    if (sig == SIGINT || sig == SIGTERM) return;
    if (sig == SIGUSR2) emulator.PlugCable();
    if (sig == SIGUSR1 || pull.Due()) emulator.PullCable(options.silentFor);
    if ((sig == SIGRTMIN || unplug.Due()) && !plug.at) {
      link.Dangle();
      emulator.UnplugAdapter();
      plug.at = SteadyClock::now() + options.vanishFor;
    }
    if (plug.Due()) link.Retarget(emulator.PlugAdapter());
  }
}

}  // namespace veritrak

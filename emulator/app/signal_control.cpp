#include "signal_control.h"

#include <cerrno>
#include <optional>

namespace veritrak {
namespace {

// Waits for a signal, or until `deadline` when there is one; 0 on time-out.
int NextSignal(const sigset_t& signals,
               std::optional<std::chrono::steady_clock::time_point> deadline) {
  for (;;) {
    timespec wait{};
    if (deadline) {
      const auto left = std::max(*deadline - std::chrono::steady_clock::now(),
                                 std::chrono::steady_clock::duration::zero());
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
  for (const int sig : {SIGINT, SIGTERM, SIGUSR1, SIGUSR2}) sigaddset(&signals, sig);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  return signals;
}

void AnswerSignals(const sigset_t& signals, Emulator& emulator, const ProgramOptions& options) {
  std::optional<std::chrono::steady_clock::time_point> pullAt;
  if (options.silentAfter) pullAt = std::chrono::steady_clock::now() + *options.silentAfter;
  for (;;) {
    switch (NextSignal(signals, pullAt)) {
      case SIGINT:
      case SIGTERM:
        return;
      case SIGUSR2:
        emulator.PlugCable();
        break;
      case 0:
        pullAt.reset();
        [[fallthrough]];
      case SIGUSR1:
        emulator.PullCable(options.silentFor);
        break;
      default:
        break;
    }
  }
}

}  // namespace veritrak

#include "interrupt.h"

#include <atomic>
#include <thread>

namespace probelink_cli {
namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

constexpr std::chrono::milliseconds kSleepSlice{20};

}  // namespace

void NoteInterrupt() { interrupted.store(true); }

bool Interrupted() { return interrupted.load(); }

void SleepUnlessInterrupted(std::chrono::duration<double> time) {
  const auto until = std::chrono::steady_clock::now() +
                     std::chrono::duration_cast<std::chrono::steady_clock::duration>(time);
  for (auto now = std::chrono::steady_clock::now(); now < until && !Interrupted();
       now = std::chrono::steady_clock::now())
    std::this_thread::sleep_for(
        std::min<std::chrono::steady_clock::duration>(until - now, kSleepSlice));
}

}  // namespace probelink_cli

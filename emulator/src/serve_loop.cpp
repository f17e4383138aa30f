#include "serve_loop.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace veritrak {
namespace {

// The wait until `deadline`, to the nanosecond: a lone sync byte is told
// from a frame by a fraction of a millisecond. Null waits for an event.
const timespec* Timeout(TimePoint now, std::optional<TimePoint> deadline, timespec& wait) {
  if (!deadline || *deadline == TimePoint::max()) return nullptr;
  const auto ns = *deadline <= now ? 0 : std::chrono::duration_cast<std::chrono::nanoseconds>(
                                             *deadline - now).count();
  wait.tv_sec = static_cast<time_t>(std::min<int64_t>(ns / 1000000000, INT_MAX));
  wait.tv_nsec = static_cast<long>(ns % 1000000000);
  return &wait;
}

std::optional<TimePoint> Earlier(std::optional<TimePoint> a, std::optional<TimePoint> b) {
  if (!a) return b;
  if (!b) return a;
  return std::min(*a, *b);
}

}  // namespace

ServeLoop::ServeLoop(int line, const WakePipe& wake, Device& device, Transmitter& tx,
                     FaultControl& faults, bool paced,
                     const std::atomic<Interruption>& interruption)
    : line_(line),
      wake_(wake),
      device_(device),
      tx_(tx),
      faults_(faults),
      clock_(paced),
      interruption_(interruption) {}

// While the cable is pulled nothing goes out and the device stands still,
// so a stream does not spin on a line that swallows everything.
ServeLoop::Ending ServeLoop::Run() {
  while (interruption_ == Interruption::None) {
    NoticePulls();
    const TimePoint now = Clock::now();
    const bool connected = !faults_.Silent(now);
    if (connected) {
      device_.Advance(now);
      tx_.Flush(line_, now);
    } else {
      tx_.Clear();
    }
    if (const auto end = DueLineEnd()) {
      if (*end == Emulator::LineEnd::HangUp) return Ending::HangUp;
      faults_.PullCable(now, std::nullopt);
      continue;
    }
    if (!Wait(now, connected)) return Ending::LineBroken;
  }
  return interruption_ == Interruption::Stop ? Ending::Stopped : Ending::Unplugged;
}

std::optional<Emulator::LineEnd> ServeLoop::DueLineEnd() {
  const uint32_t taken = device_.CommandsTaken();
  const bool fresh = taken != commandsSeen_;
  if (!faults_.LineEndArmed()) commandsSeen_ = taken;
  if (!fresh || tx_.Queued() > 0 || tx_.Blocked()) return std::nullopt;
  commandsSeen_ = taken;
  return faults_.TakeLineEnd();
}

std::optional<TimePoint> ServeLoop::NextDeadline(TimePoint now, bool connected) const {
  if (!connected) return faults_.SilentUntil();
  return Earlier(device_.Deadline(now), tx_.Deadline());
}

bool ServeLoop::Wait(TimePoint now, bool connected) {
  const short out = connected && tx_.Blocked() ? POLLOUT : 0;
  pollfd fds[2] = {{line_, static_cast<short>(POLLIN | out), 0}, {wake_.ReadEnd(), POLLIN, 0}};
  timespec wait{};
  if (ppoll(fds, 2, Timeout(now, NextDeadline(now, connected), wait), nullptr) < 0)
    return errno == EINTR;
  if (fds[1].revents & POLLIN) wake_.Drain();
  if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return false;
  if (fds[0].revents & POLLIN) Receive();
  return true;
}

void ServeLoop::Receive() {
  uint8_t buffer[4096];
  const ssize_t n = ::read(line_, buffer, sizeof buffer);
  const TimePoint now = Clock::now();
  if (n <= 0 || faults_.Silent(now)) return;  // a pulled cable loses what was sent
  NoticePulls();
  for (ssize_t i = 0; i < n; ++i) device_.Receive(buffer[i], clock_.Stamp(now));
}

// Without this a start byte taken just before a pull would be answered once
// the cable is back, and the host would find a stray reply byte ahead of the
// answer to its next command.
void ServeLoop::NoticePulls() {
  const uint32_t pulls = faults_.Pulls();
  if (pulls == pullsSeen_) return;
  pullsSeen_ = pulls;
  device_.LoseInput();
}

}  // namespace veritrak

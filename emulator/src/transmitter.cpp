#include "transmitter.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace veritrak {
namespace {

// A paced line is served a few bytes at a time, not one wake-up per byte.
constexpr size_t kPacedBatch = 4;

}  // namespace

Transmitter::Transmitter(const LineSettings& line, LineNoise& noise)
    : paced_(line.paced),
      packetPeriod_(line.paced ? line.packetPeriod : std::chrono::microseconds{0}),
      noise_(noise) {}

void Transmitter::Queue(std::span<const uint8_t> bytes, TimePoint at) {
  for (const uint8_t b : bytes) {
    lastDue_ = paced_ ? std::max(at, lastDue_) + kPacedByteTime : std::max(at, lastDue_);
    queue_.push_back({b, lastDue_});
  }
}

void Transmitter::Clear() {
  queue_.clear();
  line_.clear();
  lastDue_ = TimePoint{};
}

void Transmitter::Flush(int fd, TimePoint now) {
  while (!queue_.empty() && queue_.front().due <= now) {
    uint8_t b = queue_.front().value;
    queue_.pop_front();
    if (noise_.Pass(b)) line_.push_back(b);
  }
  size_t written = 0;
  while (written < line_.size()) {
    const ssize_t r = ::write(fd, line_.data() + written, line_.size() - written);
    if (r > 0) {
      written += static_cast<size_t>(r);
    } else if (r < 0 && errno == EINTR) {
      continue;
    } else {
      // A full pseudo-terminal keeps the rest; a broken one loses it.
      if (r < 0 && errno != EAGAIN) written = line_.size();
      break;
    }
  }
  line_.erase(line_.begin(), line_.begin() + static_cast<std::ptrdiff_t>(written));
}

std::optional<TimePoint> Transmitter::Deadline() const {
  if (Blocked() || queue_.empty()) return std::nullopt;
  if (!paced_) return queue_.front().due;
  if (packetPeriod_.count() > 0) return NextPacket(queue_.front().due);
  return queue_[std::min(kPacedBatch, queue_.size()) - 1].due;
}

// The first packet boundary at or after `due`: what is due by then goes in it.
TimePoint Transmitter::NextPacket(TimePoint due) const {
  const Clock::duration period = packetPeriod_;
  const auto packets = (due.time_since_epoch() + period - Clock::duration{1}) / period;
  return TimePoint{packets * period};
}

}  // namespace veritrak

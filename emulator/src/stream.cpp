#include "stream.h"

namespace veritrak {
namespace {

// The host's stop run is at least 13 bytes; a few of them in a row suffice,
// so that a byte lost on the way does not keep the stream running.
constexpr int kStopRun = 4;
// A paced stream samples each record shortly before the line needs it, far
// enough ahead that a late wake-up on a busy machine does not leave the line
// idle (2 ms lost about 1 % of the records at a load of four on two cores).
constexpr std::chrono::milliseconds kPacedLookahead{10};
// An unthrottled stream keeps this much in hand so the line never waits.
constexpr size_t kUnthrottledBacklog = 256;
constexpr std::chrono::milliseconds kMaxCatchUp{20};

}  // namespace

Stream::Stream(std::vector<uint8_t> registers, const LineSettings& line, TimePoint start)
    : registers_(std::move(registers)), paced_(line.paced), next_(start) {
  if (!paced_ && line.recordRate > 0)
    interval_ = std::chrono::nanoseconds(static_cast<int64_t>(1e9 / line.recordRate));
}

bool Stream::SeesStop(uint8_t byte) {
  stopBytes_ = byte == kStopByte ? stopBytes_ + 1 : 0;
  return stopBytes_ >= kStopRun;
}

bool Stream::RecordDue(TimePoint now, const Transmitter& tx) const {
  if (tx.Blocked()) return false;
  if (paced_) return tx.QueueEnd() <= now + kPacedLookahead;
  if (!interval_) return tx.Queued() < kUnthrottledBacklog;
  return tx.Queued() == 0 && now >= next_;
}

std::optional<TimePoint> Stream::Deadline(TimePoint now, const Transmitter& tx) const {
  if (tx.Blocked()) return std::nullopt;
  if (paced_) return std::max(now, tx.QueueEnd() - kPacedLookahead);
  if (!interval_) return RecordDue(now, tx) ? std::optional(now) : std::nullopt;
  return tx.Queued() == 0 ? std::optional(next_) : std::nullopt;
}

// Wake-ups come a millisecond apart at best, so a record or two late is made
// up at once; a stream that fell far behind (a full line) starts its schedule
// afresh rather than catching up in a burst.
void Stream::RecordQueued(TimePoint now) {
  if (!interval_) return;
  next_ += *interval_;
  if (next_ + kMaxCatchUp < now) next_ = now + *interval_;
}

std::vector<uint8_t> Stream::Record(std::span<const uint16_t> values) {
  std::vector<uint8_t> record{kMarkerByte, kMarkerByte};
  for (const uint16_t v : values) {
    record.push_back(static_cast<uint8_t>(v));
    record.push_back(static_cast<uint8_t>(v >> 8));
  }
  return record;
}

}  // namespace veritrak

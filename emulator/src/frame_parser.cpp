#include "frame_parser.h"

#include <algorithm>

namespace veritrak {
namespace {

// A stream start carries its register count six times over, then the list.
constexpr size_t kStreamHeader = 8;

bool IsStreamCommand(uint8_t command) { return command == 0x65 || command == 0xA8; }

}  // namespace

FrameParser::FrameParser(std::chrono::nanoseconds gap, FrameSink& sink) : gap_(gap), sink_(sink) {}

void FrameParser::Feed(uint8_t byte, TimePoint at) {
  if (!pending_.empty() && at - last_ >= gap_) Expire(at);
  if (pending_.empty() && byte != kStartByte) return;  // stray bytes wait for a start byte
  Append(byte, at);
}

void FrameParser::Expire(TimePoint now) {
  if (pending_.empty() || now - last_ < gap_) return;
  const bool lone = pending_.size() == 1;
  pending_.clear();
  if (lone) sink_.OnLoneSync(last_ + gap_);
}

std::optional<TimePoint> FrameParser::Deadline() const {
  if (pending_.empty()) return std::nullopt;
  return last_ + gap_;
}

void FrameParser::Append(uint8_t byte, TimePoint at) {
  pending_.push_back(byte);
  last_ = at;
  if (pending_.size() == kHeaderSize && pending_[2] != pending_[3]) {
    SkipStartByte();
    return;
  }
  const std::optional<size_t> expected = ExpectedLength();
  if (expected && pending_.size() == *expected) Finish();
}

// The bare Lissajous start shares its command code with the stream start;
// only the repeated count tells them apart.
std::optional<size_t> FrameParser::ExpectedLength() const {
  if (pending_.size() < kHeaderSize) return std::nullopt;
  const uint8_t length = pending_[2];
  const size_t plain = kHeaderSize + length + kChecksumSize;
  if (!IsStreamCommand(pending_[1]) || length == 0) return plain;
  if (pending_.size() < kStreamHeader) return std::nullopt;
  const bool countSixTimes = std::all_of(pending_.begin() + 2, pending_.begin() + kStreamHeader,
                                         [length](uint8_t b) { return b == length; });
  return countSixTimes ? kStreamHeader + length + kChecksumSize : plain;
}

// A frame with a wrong checksum is dropped whole and never answered.
void FrameParser::Finish() {
  const size_t body = pending_.size() - kChecksumSize;
  const bool intact = Le16(&pending_[body]) == Checksum16({pending_.data(), body});
  Frame frame;
  frame.command = pending_[1];
  frame.streamStart = pending_.size() != kHeaderSize + pending_[2] + kChecksumSize;
  const size_t first = frame.streamStart ? kStreamHeader : kHeaderSize;
  frame.payload.assign(pending_.begin() + static_cast<std::ptrdiff_t>(first),
                       pending_.begin() + static_cast<std::ptrdiff_t>(body));
  pending_.clear();
  if (intact) sink_.OnFrame(frame, last_);
}

// A header whose two length bytes differ was no frame: look for the next
// start byte among what came after it.
void FrameParser::SkipStartByte() {
  const std::vector<uint8_t> rest(pending_.begin() + 1, pending_.end());
  pending_.clear();
  for (const uint8_t b : rest) Feed(b, last_);
}

}  // namespace veritrak

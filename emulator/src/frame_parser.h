// Splits the host's byte stream into frames and lone sync bytes.
//
// A frame's bytes follow each other at once; a sync byte stands alone. So a
// start byte is a sync only once `gap` has passed with nothing behind it,
// and a frame that stalls for `gap` is abandoned.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "wire_format.h"

namespace veritrak {

struct Frame {
  uint8_t command = 0;
  // The payload; for a stream start, the register list.
  std::vector<uint8_t> payload;
  bool streamStart = false;
};

class FrameSink {
 public:
  virtual void OnLoneSync(TimePoint at) = 0;
  virtual void OnFrame(const Frame& frame, TimePoint at) = 0;

 protected:
  ~FrameSink() = default;
};

class FrameParser {
 public:
  FrameParser(std::chrono::nanoseconds gap, FrameSink& sink);

  // `at` is when the byte finished arriving; times never go backwards.
  void Feed(uint8_t byte, TimePoint at);
  // Settles a start byte or a stalled frame whose gap has run out by `now`.
  void Expire(TimePoint now);
  // When Expire has something to settle.
  std::optional<TimePoint> Deadline() const;
  void Reset() { pending_.clear(); }

 private:
  void Append(uint8_t byte, TimePoint at);
  std::optional<size_t> ExpectedLength() const;
  void Finish();
  void SkipStartByte();

  std::chrono::nanoseconds gap_;
  FrameSink& sink_;
  std::vector<uint8_t> pending_;
  TimePoint last_{};
};

}  // namespace veritrak

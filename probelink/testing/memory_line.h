// An in-memory serial line for the protocol: every write, line setting and
// read can be inspected, and the "electronics" answer from a table of
// requests or from a hook. The protocol tests and the reply fuzzer put it in
// a port slot in place of a tty.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <span>
#include <vector>

#include "transport.h"

using Bytes = std::vector<uint8_t>;
inline const Bytes kAck{0x90};

class MemoryLine final : public probelink::Transport {
 public:
  std::function<void(std::span<const uint8_t>)> onWrite;  // may Feed() an answer
  // Else it plays a device that answers exactly the requests in `replies`,
  // and other lone sync bytes when `syncs`.
  std::map<Bytes, Bytes> replies;
  bool syncs = true;
  // Outcome of each successive SetLineSetting; Applied once these run out.
  std::deque<probelink::LineApply> lineResults;
  std::vector<DCB> settings;
  std::vector<Bytes> writes;
  std::vector<uint32_t> readTimeouts;  // the total time-out in force at each read
  bool gone = false;                   // every read and write fails, as on a device unplugged

  void Feed(const Bytes& bytes) { rx_.insert(rx_.end(), bytes.begin(), bytes.end()); }
  size_t Pending() const { return rx_.size(); }

  bool GetLineSetting(DCB& dcb) override { return dcb = current_, true; }
  probelink::LineApply SetLineSetting(const DCB& dcb) override {
    settings.push_back(dcb);
    const probelink::LineApply result =
        lineResults.empty() ? probelink::LineApply::Applied : lineResults.front();
    if (!lineResults.empty()) lineResults.pop_front();
    if (result != probelink::LineApply::Refused) current_ = dcb;
    return result;
  }
  bool GetTimeouts(COMMTIMEOUTS& t) override { return t = timeouts_, true; }
  bool SetTimeouts(const COMMTIMEOUTS& t) override { return timeouts_ = t, true; }
  bool GetProperties(COMMPROP& p) override { return p = COMMPROP{}, true; }
  bool SetQueueSizes(uint32_t, uint32_t) override { return true; }
  bool PurgeQueues(probelink::Purge which) override {
    if (which != probelink::Purge::Tx) rx_.clear();
    return true;
  }
  // Hands over what is there at once: a shortfall stands for a time-out.
  probelink::IoResult Read(uint8_t* buffer, size_t n) override {
    readTimeouts.push_back(timeouts_.ReadTotalTimeoutConstant);
    if (gone) return {false, 0};
    const size_t got = std::min(n, rx_.size());
    std::copy_n(rx_.begin(), got, buffer);
    rx_.erase(rx_.begin(), rx_.begin() + static_cast<long>(got));
    return {true, got};
  }
  probelink::IoResult Write(const uint8_t* buffer, size_t n) override {
    if (gone) return {false, 0};
    writes.emplace_back(buffer, buffer + n);
    const auto known = replies.find(writes.back());
    if (onWrite)
      onWrite({buffer, n});
    else if (known != replies.end())
      Feed(known->second);
    else if (n == 1 && buffer[0] == 0x80 && syncs)
      Feed(kAck);
    return {true, n};
  }

 private:
  std::deque<uint8_t> rx_;
  DCB current_{};
  COMMTIMEOUTS timeouts_{};
};

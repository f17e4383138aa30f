// An in-memory serial line for the protocol tests that a pseudo-terminal
// cannot serve (modem lines) and for byte sequences fed verbatim.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <span>
#include <vector>

#include "transport.h"

class MemoryLine final : public probelink::Transport {
 public:
  // Called with every write; may Feed() an answer.
  std::function<void(std::span<const uint8_t>)> onWrite;
  // Outcome of each successive SetLineSetting; Applied once these run out.
  std::deque<probelink::LineApply> lineResults;
  std::vector<DCB> settings;  // every line setting written
  std::vector<std::vector<uint8_t>> writes;
  int reads = 0;

  void Feed(std::span<const uint8_t> bytes) { rx_.insert(rx_.end(), bytes.begin(), bytes.end()); }
  size_t Pending() const { return rx_.size(); }

  bool GetLineSetting(DCB& dcb) override {
    dcb = current_;
    return true;
  }
  probelink::LineApply SetLineSetting(const DCB& dcb) override {
    settings.push_back(dcb);
    probelink::LineApply result = probelink::LineApply::Applied;
    if (!lineResults.empty()) {
      result = lineResults.front();
      lineResults.pop_front();
    }
    if (result != probelink::LineApply::Refused) current_ = dcb;
    return result;
  }
  bool GetTimeouts(COMMTIMEOUTS& t) override {
    t = timeouts_;
    return true;
  }
  bool SetTimeouts(const COMMTIMEOUTS& t) override {
    timeouts_ = t;
    return true;
  }
  bool GetProperties(COMMPROP& p) override {
    p = COMMPROP{};
    return true;
  }
  bool SetQueueSizes(uint32_t, uint32_t) override { return true; }
  bool PurgeQueues(probelink::Purge which) override {
    if (which != probelink::Purge::Tx) rx_.clear();
    return true;
  }
  // Hands over what is there at once: a shortfall stands for a time-out.
  probelink::IoResult Read(uint8_t* buffer, size_t n) override {
    ++reads;
    const size_t got = std::min(n, rx_.size());
    std::copy_n(rx_.begin(), got, buffer);
    rx_.erase(rx_.begin(), rx_.begin() + static_cast<long>(got));
    return {true, got};
  }
  probelink::IoResult Write(const uint8_t* buffer, size_t n) override {
    writes.emplace_back(buffer, buffer + n);
    if (onWrite) onWrite({buffer, n});
    return {true, n};
  }

 private:
  std::deque<uint8_t> rx_;
  DCB current_{};
  COMMTIMEOUTS timeouts_{};
};

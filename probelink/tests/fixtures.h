// Fixtures: an in-memory line in a port slot, on which every write, line
// setting and read can be inspected, for the protocol; and a pseudo-terminal
// linked as a COM port for what only a real tty shows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <numeric>
#include <span>
#include <thread>

#include "port_table.h"
#include "probelink.h"
#include "pty_pair.h"
#include "temp_config_home.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;
using probelink::LineApply;

// Frames are built here from their layout, not by the library, so that both
// must agree: the head, the body, then the sum of all their bytes, low first.
inline Bytes Framed(Bytes head, const Bytes& body) {
  head.insert(head.end(), body.begin(), body.end());
  const unsigned sum = std::accumulate(head.begin(), head.end(), 0u);
  head.insert(head.end(), {static_cast<uint8_t>(sum), static_cast<uint8_t>(sum >> 8)});
  return head;
}
inline Bytes Request(uint8_t code, const Bytes& payload) {
  const auto n = static_cast<uint8_t>(payload.size());
  return Framed({0x80, code, n, n}, payload);
}
inline Bytes DataReply(const Bytes& data) {
  return Framed({0x90, 0, static_cast<uint8_t>(data.size()), 0}, data);
}
inline Bytes Reply16(uint16_t v) { return DataReply({uint8_t(v), uint8_t(v >> 8)}); }
inline const Bytes kAck{0x90};

// An export with everything but its port number bound.
template <class F, class... Args>
std::function<int32_t(int32_t)> Call(F f, Args... args) {
  return [=](int32_t port) { return f(port, args...); };
}

class MemoryLine final : public probelink::Transport {
 public:
  std::function<void(std::span<const uint8_t>)> onWrite;  // may Feed() an answer
  // Else it plays a device that answers exactly the requests in `replies`,
  // and other lone sync bytes when `syncs`.
  std::map<Bytes, Bytes> replies;
  bool syncs = true;
  // Outcome of each successive SetLineSetting; Applied once these run out.
  std::deque<LineApply> lineResults;
  std::vector<DCB> settings;
  std::vector<Bytes> writes;
  std::vector<uint32_t> readTimeouts;  // the total time-out in force at each read

  void Feed(const Bytes& bytes) { rx_.insert(rx_.end(), bytes.begin(), bytes.end()); }
  size_t Pending() const { return rx_.size(); }

  bool GetLineSetting(DCB& dcb) override { return dcb = current_, true; }
  LineApply SetLineSetting(const DCB& dcb) override {
    settings.push_back(dcb);
    const LineApply result = lineResults.empty() ? LineApply::Applied : lineResults.front();
    if (!lineResults.empty()) lineResults.pop_front();
    if (result != LineApply::Refused) current_ = dcb;
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
    const size_t got = std::min(n, rx_.size());
    std::copy_n(rx_.begin(), got, buffer);
    rx_.erase(rx_.begin(), rx_.begin() + static_cast<long>(got));
    return {true, got};
  }
  probelink::IoResult Write(const uint8_t* buffer, size_t n) override {
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

class MemoryLineTest : public ::testing::Test {
 public:
  static constexpr int32_t kPort = 9;
  void SetUp() override { probelink::PortTable::Instance().Install(kPort, line_); }
  void TearDown() override { ClosePort(kPort); }
  std::shared_ptr<MemoryLine> line_ = std::make_shared<MemoryLine>();
};

class PtyPortTest : public ::testing::Test {
 protected:
  static constexpr int32_t kPort = 5;
  void SetUp() override {
    home_.LinkPort(kPort, pty_.SlavePath());
    ASSERT_EQ(OpenPort(kPort), 0);
    ASSERT_EQ(ConfigPort(kPort, 100, 38400), 0);
  }
  void TearDown() override {
    for (int32_t port = 1; port <= 16; ++port) ClosePort(port);
  }
  testsupport::TempConfigHome home_;
  testsupport::PtyPair pty_;
};

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

#include "memory_line.h"
#include "port_table.h"
#include "probelink.h"
#include "pty_pair.h"
#include "temp_config_home.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
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

// An export with everything but its port number bound.
template <class F, class... Args>
std::function<int32_t(int32_t)> Call(F f, Args... args) {
  return [=](int32_t port) { return f(port, args...); };
}

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

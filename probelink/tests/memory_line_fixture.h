// An in-memory line in a port slot, on which every write, line setting and
// read can be inspected, for the protocol.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <span>
#include <thread>

#include "memory_line.h"
#include "port_table.h"
#include "probelink.h"
#include "wire_frames.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using probelink::LineApply;

inline Bytes Reply16(uint16_t v) { return Reply({uint8_t(v), uint8_t(v >> 8)}); }

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

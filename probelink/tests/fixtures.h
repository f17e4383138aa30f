// Fixtures: a pseudo-terminal linked as COM5 with a scripted device behind
// it, and an in-memory line installed in a port slot.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "memory_line.h"
#include "port_table.h"
#include "probelink.h"
#include "pty_pair.h"
#include "scripted_device.h"
#include "temp_config_home.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

inline double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Polls a condition with short sleeps until it holds or the limit passes.
template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit = 2s) {
  for (const auto start = Clock::now(); !condition();) {
    if (Clock::now() - start > limit) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

class PtyPortTest : public ::testing::Test {
 protected:
  static constexpr int32_t kPort = 5;

  void SetUp() override {
    home_.LinkPort(kPort, pty_.SlavePath());
    ASSERT_EQ(OpenPort(kPort), 0);
    ASSERT_EQ(ConfigPort(kPort, 100, 38400), 0);
  }
  void TearDown() override {
    // Requests that need no answer may still be on their way to the device.
    WaitUntil([&] { return device_.Problems().empty(); }, 1s);
    ClosePort(kPort);
    EXPECT_EQ(device_.Problems(), "");
  }
  // The host's bytes once at least n have come.
  Bytes Sent(size_t n) {
    EXPECT_TRUE(device_.WaitReceived(n, 2s));
    return device_.Received();
  }

  testsupport::TempConfigHome home_;
  testsupport::PtyPair pty_;
  ScriptedDevice device_{pty_};
};

class MemoryLineTest : public ::testing::Test {
 protected:
  static constexpr int32_t kPort = 9;

  void SetUp() override { probelink::PortTable::Instance().Install(kPort, line_); }
  void TearDown() override { ClosePort(kPort); }

  std::shared_ptr<MemoryLine> line_ = std::make_shared<MemoryLine>();
};

// A pseudo-terminal linked as a COM port, for what only a real tty shows.
#pragma once

#include "memory_line_fixture.h"
#include "pty_pair.h"
#include "temp_config_home.h"

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

// An emulator serving in-process, linked as a COM port in a private
// configuration folder and opened through probelink the way the main program
// opens it; and the read-head settings that make its readings predictable.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "probelink.h"
#include "temp_config_home.h"
#include "veritrak/emulator.h"
#include "wire_format.h"
#include "wire_frames.h"

namespace veritrak {

using namespace std::chrono_literals;

// A head standing at `start` (or moving at `speed`), with no noise and one
// amplitude: every reading is predictable.
inline HeadSettings Standing(int32_t start, double speed = 0) {
  HeadSettings h;
  h.startPosition = start;
  h.speed = speed;
  h.noise = 0;
  h.amplitudeLow = h.amplitudeHigh = 800;
  return h;
}

// What a Lissajous point carries: sine, cosine, angle and magnitude.
inline constexpr uint8_t kSignalRegisters[] = {0x65, 0x64, 0x67, 0x26};

// Polls until `condition` holds or `limit` has passed.
inline bool Eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds limit = 10s) {
  for (const auto deadline = std::chrono::steady_clock::now() + limit; !condition();) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

class EmulatorOnPort : public ::testing::Test {
 public:
  static constexpr int32_t kPort = 5;
  static constexpr int32_t kHostTimeoutMs = 100;

 protected:
  EmulatorOnPort() { options_.head = Standing(4096 * 3 + 1000); }
  void TearDown() override { ClosePort(kPort); }
  void Serve() {
    emulator_ = std::make_unique<Emulator>(options_);
    home_.LinkPort(kPort, emulator_->DevicePath());
    ASSERT_EQ(OpenPort(kPort), 0);
    ASSERT_EQ(ConfigPort(kPort, kHostTimeoutMs, 38400), 0);
  }

  // A Wren register read that must succeed.
  uint16_t Read(uint8_t reg) {
    uint16_t value = 0;
    EXPECT_EQ(ReadRegisterWren(kPort, uint32_t{reg} << 16, &value), 0) << "register " << int{reg};
    return value;
  }
  // Writes raw bytes and reads up to `n` back within the port's time-out.
  Bytes Exchange(const Bytes& bytes, size_t n) {
    EXPECT_EQ(WriteRs232Data(kPort, static_cast<int32_t>(bytes.size()), bytes.data()),
              static_cast<int32_t>(bytes.size()));
    Bytes reply(n);
    int32_t received = 0;
    ReadRs232Data(kPort, static_cast<int32_t>(n), reply.data(), &received);
    reply.resize(static_cast<size_t>(received));
    return reply;
  }
  // Back in step and answering, with nothing else on the line: a stream
  // still running, or a stray byte, would keep a lone sync byte from being
  // answered alone.
  void ExpectInStep() {
    EXPECT_EQ(DoSynchronize(kPort), 1);
    EXPECT_EQ(ReadMSPVersion(kPort), 0x0512);
    EXPECT_TRUE(Exchange({}, 1).empty());
  }

  Options options_;  // what Serve() serves
  testsupport::TempConfigHome home_;
  std::unique_ptr<Emulator> emulator_;
};

}  // namespace veritrak

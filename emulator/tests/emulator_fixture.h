// An emulator serving in-process, linked as a COM port in a private
// configuration folder and opened through probelink the way the main program
// opens it; and frames as the host puts them on the wire.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "probelink.h"
#include "temp_config_home.h"
#include "veritrak/emulator.h"
#include "wire_format.h"

namespace veritrak {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

inline Bytes Join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
// The head, the body, then the sum of all their bytes, low byte first: built
// here from the layout rather than by the emulator's own code.
inline Bytes Framed(const Bytes& head, const Bytes& body) {
  Bytes frame = Join(head, body);
  unsigned sum = 0;
  for (const uint8_t b : frame) sum += b;
  return Join(frame, {static_cast<uint8_t>(sum), static_cast<uint8_t>(sum >> 8)});
}
inline Bytes Request(uint8_t command, const Bytes& payload) {
  const auto n = static_cast<uint8_t>(payload.size());
  return Framed({kStartByte, command, n, n}, payload);
}

// A standing head, no noise and one amplitude: every reading is predictable.
inline Options SteadyOptions() {
  Options o;
  o.head.startPosition = 4096 * 3 + 1000;
  o.head.speed = 0;
  o.head.noise = 0;
  o.head.amplitudeLow = o.head.amplitudeHigh = 700;
  return o;
}

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
  void TearDown() override { ClosePort(kPort); }
  void Serve(const Options& options = SteadyOptions()) {
    emulator_ = std::make_unique<Emulator>(options);
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

  testsupport::TempConfigHome home_;
  std::unique_ptr<Emulator> emulator_;
};

}  // namespace veritrak

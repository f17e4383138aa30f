#include "emulator_fixture.h"

#include <thread>

namespace veritrak {

Options SteadyOptions() {
  Options o;
  o.head.startPosition = 4096 * 3 + 1000;
  o.head.speed = 0;
  o.head.noise = 0;
  o.head.amplitudeLow = o.head.amplitudeHigh = 700;
  o.device.resetTime = std::chrono::milliseconds(300);
  return o;
}

bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

void EmulatorOnPort::TearDown() {
  ClosePort(kPort);
  emulator_.reset();
}

void EmulatorOnPort::Serve(const Options& options) {
  emulator_ = std::make_unique<Emulator>(options);
  home_.LinkPort(kPort, emulator_->DevicePath());
  ASSERT_EQ(OpenPort(kPort), 0);
  ASSERT_EQ(ConfigPort(kPort, kHostTimeoutMs, 38400), 0);
}

uint16_t EmulatorOnPort::Read(uint8_t reg) {
  uint16_t value = 0;
  EXPECT_EQ(ReadRegisterWren(kPort, uint32_t{reg} << 16, &value), 0) << "register " << int{reg};
  return value;
}

std::vector<uint8_t> EmulatorOnPort::Exchange(const std::vector<uint8_t>& bytes, size_t n) {
  EXPECT_EQ(WriteRs232Data(kPort, static_cast<int32_t>(bytes.size()), bytes.data()),
            static_cast<int32_t>(bytes.size()));
  std::vector<uint8_t> reply(n);
  int32_t received = 0;
  ReadRs232Data(kPort, static_cast<int32_t>(n), reply.data(), &received);
  reply.resize(static_cast<size_t>(received));
  return reply;
}

bool EmulatorOnPort::LineQuiet() {
  uint8_t byte = 0;
  int32_t received = 0;
  return ReadRs232Data(kPort, 1, &byte, &received) == -1 && received == 0;
}

}  // namespace veritrak

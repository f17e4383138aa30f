#include "emulator_fixture.h"

#include <thread>

namespace veritrak {

Bytes Framed(Bytes head, const Bytes& body) {
  head.insert(head.end(), body.begin(), body.end());
  unsigned sum = 0;
  for (const uint8_t b : head) sum += b;
  head.push_back(static_cast<uint8_t>(sum));
  head.push_back(static_cast<uint8_t>(sum >> 8));
  return head;
}

Options SteadyOptions() {
  Options o;
  o.head.startPosition = 4096 * 3 + 1000;
  o.head.speed = 0;
  o.head.noise = 0;
  o.head.amplitudeLow = o.head.amplitudeHigh = 700;
  o.device.resetTime = 300ms;
  return o;
}

bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(5ms);
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

Bytes EmulatorOnPort::Exchange(const Bytes& bytes, size_t n) {
  EXPECT_EQ(WriteRs232Data(kPort, static_cast<int32_t>(bytes.size()), bytes.data()),
            static_cast<int32_t>(bytes.size()));
  Bytes reply(n);
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

// A stream still running, or a stray byte, would keep a lone sync byte from
// being answered alone.
void EmulatorOnPort::ExpectInStep() {
  EXPECT_EQ(DoSynchronize(kPort), 1);
  EXPECT_EQ(ReadMSPVersion(kPort), 0x0512);
  EXPECT_TRUE(LineQuiet());
}

}  // namespace veritrak

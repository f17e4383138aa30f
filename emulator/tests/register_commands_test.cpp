// The register, Epot, zero, centring and reset commands, round trip through
// probelink: how the electronics behave. What they report to each
// information command is in wire_test; the phases of the centring sequence
// are in signal_model_test.
#include <gtest/gtest.h>

#include "emulator_fixture.h"

namespace veritrak {
namespace {

using RegisterCommands = EmulatorOnPort;

TEST_F(RegisterCommands, WritesPositionAndTheTwoStepZero) {
  Options o = SteadyOptions();
  o.head.startPosition = -123456;
  Serve(o);
  const uint16_t status = Read(0x21);
  for (uint32_t word : {0x820003u, 0x830090u, 0xD00123u, 0xA1FFFFu})
    EXPECT_EQ(WriteRegisterWren(kPort, word), 0);
  EXPECT_EQ(WriteRegisterFinch(kPort, 0x89012C), 0);
  uint16_t finch = 0;
  EXPECT_EQ(ReadRegisterFinch(kPort, 0x090000, &finch), 0);
  EXPECT_EQ((std::tuple{Read(0x02), Read(0x03), Read(0x50), Read(0x21), finch}),
            std::tuple(3, 0x90, 0x123, status, 300))
      << "settings take the value, the status measurement ignores it";
  EXPECT_EQ(emulator_->WrittenWords(),
            (std::vector<uint32_t>{0x820003, 0x830090, 0xD00123, 0xA1FFFF, 0x89012C}))
      << "in order, and reads leave no entry";
  int32_t position = 0;
  auto host = [&] { return ReadShiftedPositionWren(kPort, &position) == 0 ? position : -1; };
  EXPECT_EQ(host(), -123456);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800004), 0);
  EXPECT_EQ(host(), -123456) << "0x04 alone does nothing";
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800002), 0);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800004), 0);
  EXPECT_EQ(host(), -123456 & 4095) << "the counter keeps the signal phase";
}

// The electronics are deaf for the reset time, then answer with their
// power-on settings, one more power cycle, the Epot wiper as flashed and the
// index no longer centred.
TEST_F(RegisterCommands, CentringEpotValuesAndSoftwareResets) {
  Options o = SteadyOptions();
  o.head.speed = 40000;
  o.head.travel = 8192;
  o.device.resetTime = 800ms;
  Serve(o);
  EXPECT_EQ(Read(0x21) & 0xC00, 0);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800014), 0);
  EXPECT_TRUE(Eventually([&] { return (Read(0x21) & 0xC00) == 0x400; })) << "centred";
  uint8_t e[4] = {};
  EXPECT_EQ(WriteEpotValues(kPort, 0x1234), 0);
  EXPECT_EQ(ReadEpotValues(kPort, &e[0], &e[1], &e[2], &e[3]), 0);
  EXPECT_EQ(Bytes(e, e + 4), (Bytes{0x12, 0x34, 0x80, 0x80})) << "the wiper, then the flashed";
  EXPECT_EQ(FlashEpot(kPort), 0);
  EXPECT_EQ(ReadEpotValues(kPort, &e[0], &e[1], &e[2], &e[3]), 0);
  EXPECT_EQ(Bytes(e, e + 4), (Bytes{0x12, 0x34, 0x12, 0x34}));
  const int32_t cycles = ReadPowerOnCycles(kPort);
  for (auto reset : {SoftwareSystemReset, SoftwareReset_M}) {
    EXPECT_EQ(WriteRegisterWren(kPort, 0x820005), 0);
    EXPECT_EQ(WriteEpotValues(kPort, 0x4321), 0);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(reset(kPort), 0);
    EXPECT_EQ(SendSync(kPort), -1) << "deaf";
    ASSERT_TRUE(Eventually([] { return DoSynchronize(kPort) == 1; }));
    EXPECT_GE(std::chrono::steady_clock::now() - start, o.device.resetTime);
    EXPECT_EQ((std::tuple{Read(0x02), Read(0x21) & 0xC00}), std::tuple(0x0011, 0));
    EXPECT_EQ(ReadEpotValues(kPort, &e[0], &e[1], &e[2], &e[3]), 0);
    EXPECT_EQ(Bytes(e, e + 2), (Bytes{0x12, 0x34}));
    EXPECT_EQ(ReadPowerOnCycles(kPort), cycles + (reset == SoftwareSystemReset ? 1 : 2));
  }
}

}  // namespace
}  // namespace veritrak

// The electronics' answers to the host: byte for byte on the line to raw
// requests, and round trip through probelink for the register, Epot, zero,
// centring and reset commands. How the parser tells frames from sync bytes
// and noise is in frame_parser_test; the phases of the centring sequence are
// in signal_model_test.
#include "emulator_fixture.h"

namespace veritrak {
namespace {

using Device = EmulatorOnPort;

TEST_F(Device, EachRequestGetsItsAnswerByteForByteAndNothingMore) {
  Serve();
  const Bytes status = Request(0x51, {0x00, 0x40, 0x02, 0x00});
  const Bytes two = Join(Request(0x51, {0, 0, 0x03, 0}), Request(0x63, {0, 0, 2, 0}));
  const Bytes bad = Join({0x80, 0x51, 4, 4, 0x00, 0x41, 0x02, 0x00}, {0x1B, 0x01});  // a stale sum
  // clang-format off
  const std::pair<Bytes, Bytes> cases[] = {
    // The power-on status setup 0x0011 answers a base read, as the register it lands on.
    {status, {0x90, 0x51, 0x02, 0x00, 0x11, 0x00, 0xF4, 0x00}},
    // The information commands answer with as many bytes as asked for.
    {Request(0x60, {0, 0, 4, 0}), Reply({0x12, 0x05, 0, 0}, 0x60)},
    {Request(0x80, {0, 0, 2, 0}), Reply({0x12, 0x05}, 0x80)},
    {Request(0x81, {0, 0, 2, 0}), Reply({0x5A, 0x3C}, 0x81)},
    {Request(0x62, {0, 0, 4, 0}), Reply({0xD2, 0x04, 0, 0}, 0x62)},
    {Request(0x82, {0, 0, 2, 0}), Reply({0xD2, 0x04}, 0x82)},
    {Request(0x63, {0, 0, 4, 0}), Reply({56, 0, 0, 0}, 0x63)},
    {Request(0x83, {0, 0, 6, 0}), Reply({56, 0, 0, 0, 0, 0}, 0x83)},
    {Request(0x91, {0, 0, 4, 0}), Reply({0x80, 0x80, 0x80, 0x80}, 0x91)},  // the Epot wipers
    {Request(0xA4, {0, 0, 0x20, 0}), Reply({0x22, 0x00}, 0xA4)},  // model 1, hardware 2
    {Request(0x51, {0, 0, 0x82, 0}), Reply({0, 0}, 0x51)},  // a write address reads nothing
    {two, Join(Reply({0xF0, 0x0F}, 0x51), Reply({56, 0}, 0x63))},  // answered in order
    {Request(0x50, {0xC0, 0x45, 0x02, 0x00, 0x45, 0xC0}), {kReplyByte}},  // a base block write
    {bad, {}}, {Request(0x77, {0, 0, 2, 0}), {}},
    {Request(0x51, {0, 0, 0x21}), {}}, {Request(0x50, {1, 2}), {}}};  // misshapen
  // clang-format on
  for (const auto& [request, answer] : cases)
    EXPECT_EQ(Exchange(request, answer.size() + 1), answer) << ::testing::PrintToString(request);
  EXPECT_EQ(DoSynchronize(kPort), 1);
}

TEST_F(Device, WritesPositionAndTheTwoStepZero) {
  options_.head.startPosition = -123456;
  Serve();
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
TEST_F(Device, CentringEpotValuesAndSoftwareResets) {
  options_.head.speed = 40000;
  options_.head.travel = 8192;
  options_.device.resetTime = 800ms;
  Serve();
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
    EXPECT_GE(std::chrono::steady_clock::now() - start, options_.device.resetTime);
    EXPECT_EQ((std::tuple{Read(0x02), Read(0x21) & 0xC00}), std::tuple(0x0011, 0));
    EXPECT_EQ(ReadEpotValues(kPort, &e[0], &e[1], &e[2], &e[3]), 0);
    EXPECT_EQ(Bytes(e, e + 2), (Bytes{0x12, 0x34}));
    EXPECT_EQ(ReadPowerOnCycles(kPort), cycles + (reset == SoftwareSystemReset ? 1 : 2));
  }
}

}  // namespace
}  // namespace veritrak

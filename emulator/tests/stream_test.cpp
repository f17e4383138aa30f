// Streams, the Lissajous mode and their stop runs, through probelink.
#include <gtest/gtest.h>

#include "emulator_fixture.h"

namespace veritrak {
namespace {

int32_t Joined(uint16_t high, uint16_t middle, uint16_t low) {
  const uint32_t x = ((uint32_t{high} * 0x10000 + middle) << 12) | ((low >> 4) & 0xFFF);
  return static_cast<int32_t>(x << 2) >> 2;
}

class Streams : public EmulatorOnPort {};

TEST_F(Streams, RecordsCarryTheirRegistersUntilTheStopRun) {
  Serve();
  const int32_t start = SteadyOptions().head.startPosition;
  const uint8_t position[] = {0x67, 0x69, 0x68, 0x03}, setup[] = {0x02, 0x03};
  ASSERT_EQ(BeginAsyncWren(kPort, 4, position), 0);
  uint16_t w[4] = {};
  for (int i = 0; i < 50; ++i) {
    ASSERT_EQ(ReadAsyncWren(kPort, 4, w), 0);
    EXPECT_EQ(Joined(w[1], w[2], w[0]), start);
    EXPECT_EQ(w[3], 0x0FF0);
  }
  EXPECT_EQ(EndAsync(kPort, 4), 13);
  ExpectInStep();
  ASSERT_EQ(BeginAsyncFinch(kPort, 2, setup), 0);
  ASSERT_EQ(ReadAsyncFinch(kPort, 2, w), 0);
  EXPECT_EQ(std::vector<uint16_t>(w, w + 2), (std::vector<uint16_t>{0x0011, 0x0FF0}));
  EXPECT_EQ(EndAsync(kPort, 2), 9);
  ExpectInStep();
  EXPECT_EQ(EndAsync(kPort, 10), 25) << "a stop run while idle is ignored";
  ExpectInStep();
}

TEST_F(Streams, AStrengthStreamFollowsAMovingHead) {
  Options o = SteadyOptions();
  o.head.speed = 200000;
  Serve(o);
  const uint8_t regs[] = {0x65, 0x64, 0x69, 0x68, 0x67, 0x00};
  ASSERT_EQ(BeginAsyncWren(kPort, 6, regs), 0);
  uint16_t first[6] = {}, w[6] = {};
  ASSERT_EQ(ReadAsyncWren(kPort, 6, first), 0);
  EXPECT_TRUE(Eventually([&] {
    EXPECT_EQ(ReadAsyncWren(kPort, 6, w), 0);
    EXPECT_LE(w[2], 3);
    EXPECT_EQ(w[5], 0x0012) << "the general register";
    return Joined(w[2], w[3], w[4]) != Joined(first[2], first[3], first[4]);
  }));
  EXPECT_EQ(EndAsync(kPort, 6), 17);
  ExpectInStep();
}

TEST_F(Streams, LissajousPointsCarrySineCosineAngleAndMagnitude) {
  Serve();
  const uint16_t x = Read(0x65), y = Read(0x64), angle = Read(0x67), magnitude = Read(0x26);
  ASSERT_EQ(BeginLissMode(kPort), 0);
  for (int i = 0; i < 20; ++i) {
    uint16_t a = 0, b = 0, c = 0, d = 0;
    ASSERT_EQ(ReadLissPoint(kPort, &a, &b, &c, &d), 0);
    EXPECT_EQ(std::tuple(b, a, c, d), std::tuple(x, y, angle, magnitude));
  }
  EXPECT_EQ(EndLissMode(kPort), 0);
  ExpectInStep();
}

TEST_F(Streams, UnpacedRecordsComeAtTheRateAskedFor) {
  Options o = SteadyOptions();
  o.line.recordRate = 200;
  Serve(o);
  const uint8_t regs[] = {0x21};
  ASSERT_EQ(BeginAsyncWren(kPort, 1, regs), 0);
  const auto start = std::chrono::steady_clock::now();
  uint16_t w = 0;
  for (int i = 0; i < 40; ++i) ASSERT_EQ(ReadAsyncWren(kPort, 1, &w), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 39 * 5ms - 10ms);
  EndAsync(kPort, 1);
  ExpectInStep();
}

}  // namespace
}  // namespace veritrak

// Streams, the Lissajous mode and their stop runs, through probelink.
#include <gtest/gtest.h>

#include <chrono>

#include "emulator_fixture.h"

namespace veritrak {
namespace {

using namespace std::chrono_literals;

int32_t Joined(uint16_t hi, uint16_t mid, uint16_t lo) {
  const uint32_t x = ((uint32_t{hi} * 0x10000 + mid) << 12) | ((lo >> 4) & 0xFFF);
  return static_cast<int32_t>(x << 2) >> 2;
}

class Streams : public EmulatorOnPort {
 protected:
  // After a stop run the host purges and re-synchronises; a stream still
  // running would keep the line from ever answering a sync byte alone.
  void ExpectStoppedAndInStep() {
    EXPECT_EQ(DoSynchronize(kPort), 1);
    EXPECT_EQ(ReadMSPVersion(kPort), 0x0512);
    EXPECT_TRUE(LineQuiet());
  }
};

TEST_F(Streams, PositionStreamOfFourRegistersAndItsStop) {
  Serve();
  const uint8_t regs[] = {0x67, 0x69, 0x68, 0x40};
  ASSERT_EQ(BeginAsyncWren(kPort, 4, regs), 0);
  for (int i = 0; i < 50; ++i) {
    uint16_t w[4] = {};
    ASSERT_EQ(ReadAsyncWren(kPort, 4, w), 0);
    EXPECT_EQ(Joined(w[1], w[2], w[0]), SteadyOptions().head.startPosition);
    EXPECT_LE(w[3], 55);
  }
  EXPECT_EQ(EndAsync(kPort, 4), 13);
  ExpectStoppedAndInStep();
}

TEST_F(Streams, StrengthStreamOfSixRegistersFollowsAMovingHead) {
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
    EXPECT_LE(w[5], 55);
    return Joined(w[2], w[3], w[4]) != Joined(first[2], first[3], first[4]);
  }));
  EXPECT_EQ(EndAsync(kPort, 6), 17);
  ExpectStoppedAndInStep();
}

TEST_F(Streams, LissajousPointsCarryTheSignalRegisters) {
  Serve();
  const uint16_t x = Read(0x65), y = Read(0x64), angle = Read(0x67), mag = Read(0x26);
  ASSERT_EQ(BeginLissMode(kPort), 0);
  for (int i = 0; i < 20; ++i) {
    uint16_t a = 0, b = 0, c = 0, d = 0;
    ASSERT_EQ(ReadLissPoint(kPort, &a, &b, &c, &d), 0);
    EXPECT_EQ(b, x);
    EXPECT_EQ(a, y);
    EXPECT_EQ(c, angle);
    EXPECT_EQ(d, mag);
  }
  EXPECT_EQ(EndLissMode(kPort), 0);
  ExpectStoppedAndInStep();
}

TEST_F(Streams, FinchStreamRunsLikeTheWrenStream) {
  Serve();
  const uint8_t regs[] = {0x02, 0x03};
  ASSERT_EQ(BeginAsyncFinch(kPort, 2, regs), 0);
  uint16_t w[2] = {};
  ASSERT_EQ(ReadAsyncFinch(kPort, 2, w), 0);
  EXPECT_EQ(w[0], 0x0011);
  EXPECT_EQ(w[1], 0x0FF0);
  EXPECT_EQ(EndAsync(kPort, 2), 9);
  ExpectStoppedAndInStep();
}

TEST_F(Streams, StopRunWhileIdleIsIgnored) {
  Serve();
  EXPECT_EQ(EndAsync(kPort, 10), 25);
  EXPECT_EQ(ReadMSPVersion(kPort), 0x0512);
  EXPECT_TRUE(LineQuiet());
}

TEST_F(Streams, UnpacedRecordRateIsTheOneAskedFor) {
  Options o = SteadyOptions();
  o.line.recordRate = 200;
  Serve(o);
  const uint8_t regs[] = {0x21};
  ASSERT_EQ(BeginAsyncWren(kPort, 1, regs), 0);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 40; ++i) {
    uint16_t w = 0;
    ASSERT_EQ(ReadAsyncWren(kPort, 1, &w), 0);
  }
  EXPECT_GE(std::chrono::steady_clock::now() - start, 39 * 5ms - 10ms);
  EndAsync(kPort, 1);
  ExpectStoppedAndInStep();
}

}  // namespace
}  // namespace veritrak

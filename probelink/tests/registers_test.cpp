// Every base read's address, the Epot values' order, the calls that refuse
// what they cannot serve, and the composite position reads. Every other
// command's frame and answer is in frames_test.
#include "memory_line_fixture.h"

namespace {

TEST_F(MemoryLineTest, EveryBaseReadAsksForItsOwnAddress) {
  // clang-format off
  const std::pair<int32_t (*)(int32_t), uint8_t> reads[] = {
      {ReadStatus, 0x40}, {ReadVersion, 0x41}, {ReadyAD, 0x42}, {ReadxAD, 0x43},
      {ReadVectorMag, 0x44}, {ReadAngle, 0x45}, {ReadPositiveIndexWindow, 0x49},
      {ReadNegativeIndexWindow, 0x4C}, {ReadStateFreqReg, 0x4F}, {ReadInterpDepth, 0x50},
      {ReadIndexAngle, 0x51}, {ReadGainX, 0x52}, {ReadOffsetX, 0x53}, {ReadGainY, 0x54},
      {ReadOffsetY, 0x55}, {ReadPhase, 0x56}};
  // clang-format on
  for (const auto& [read, high] : reads) {
    line_->Feed(Reply16(0xFFFF));
    EXPECT_EQ(read(kPort), 0xFFFF) << "a 16-bit value never looks like a failure";
    EXPECT_EQ(line_->writes.back(), Request(0x51, {0, high, 2, 0})) << int{high};
  }
}

TEST_F(MemoryLineTest, EpotValuesComeOutHighByteFirstAndWhatCannotBeServedIsRefused) {
  line_->Feed(Reply({0x11, 0x22, 0x33, 0x44}));
  uint8_t v[4] = {};
  ASSERT_EQ(ReadEpotValues(kPort, &v[0], &v[1], &v[2], &v[3]), 0);
  EXPECT_EQ(line_->writes.back(), Request(0x91, {0, 0, 4, 0}));
  EXPECT_EQ(Bytes(v, v + 4), (Bytes{0x22, 0x11, 0x44, 0x33}));
  line_->Feed(Reply({0x11, 0x22, 0x33, 0x44}));  // there to be read, were they not refused
  EXPECT_EQ(ReadEpotValues(kPort, &v[0], nullptr, &v[2], &v[3]), -1);
  for (uint16_t count : {0, 1, 3, 7, 200}) EXPECT_EQ(ReadValueFinch(kPort, 0x70, count), -1);
  EXPECT_EQ(line_->writes.size(), 1u) << "refused calls send nothing";
}

using Registers = std::map<Bytes, Bytes>;
Registers Wren(uint16_t high, uint16_t middle, uint16_t low) {
  auto at = [](uint8_t reg) { return Request(0x51, {0, 0, reg, 0}); };
  return {{at(0x69), Reply16(high)}, {at(0x68), Reply16(middle)}, {at(0x27), Reply16(low)}};
}
Registers Base(uint16_t high, uint16_t middle, uint16_t low) {
  auto at = [](uint8_t address) { return Request(0x51, {0, address, 2, 0}); };
  return {{at(0x08), Reply16(high)}, {at(0x07), Reply16(middle)}, {at(0x46), Reply16(low)}};
}

TEST_F(MemoryLineTest, PositionsJoinThreeReadsWithAReSynchronisationBetweenEachTwo) {
  // clang-format off
  const std::tuple<int32_t (*)(int32_t, int32_t*), Registers, int32_t> cases[] = {
    {ReadShiftedPositionWren, Wren(3, 0xFFFF, 0xFFF0), -1},  // 30 bits, two's complement
    {ReadShiftedPositionWren, Wren(1, 0, 0), 0x10000000},
    {ReadShiftedPositionWren, Wren(2, 0, 0), -0x20000000},
    {ReadShiftedPositionWren, Wren(0xFFF0, 1, 0x123F), 0x1123},
    {ReadPosition, Base(0xAB08, 0x0123, 0x0456), 0x08123456},  // the first register's low byte
    {ReadShiftedPosition, Base(0xAB08, 0x0123, 0x0456), static_cast<int32_t>(0xF8123456)}};
  // clang-format on
  for (const auto& [read, registers, expected] : cases) {
    line_->replies = registers;
    line_->syncs = true;
    line_->writes.clear();
    int32_t position = 0;
    ASSERT_EQ(read(kPort, &position), 0);
    EXPECT_EQ(position, expected);
    EXPECT_EQ(line_->writes.size(), 5u);
    EXPECT_EQ(read(kPort, nullptr), -1);
    line_->syncs = false;
    EXPECT_EQ(read(kPort, &position), -1) << "a failed re-synchronisation";
    EXPECT_EQ(position, expected) << "leaves the output alone";
  }
  line_->replies = Wren(1, 2, 3);
  line_->replies.erase(Request(0x51, {0, 0, 0x27, 0}));
  line_->syncs = true;
  int32_t position = 0;
  EXPECT_EQ(ReadShiftedPositionWren(kPort, &position), -1) << "a failed read";
}

}  // namespace

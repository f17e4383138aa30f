// The register, information and Epot commands, and the composite position
// reads with their re-synchronisation.
#include <map>

#include "fixtures.h"

namespace {

// Answers lone syncs and Wren register reads from a register map; counts
// the syncs and can go silent after a given number of reads.
class RegisterDevice {
 public:
  explicit RegisterDevice(MemoryLine& line) : line_(line) {
    line.onWrite = [this](std::span<const uint8_t> bytes) { Answer(bytes); };
  }
  std::map<uint8_t, uint16_t> registers;
  int syncs = 0;
  int readsLeft = 1000;

 private:
  void Answer(std::span<const uint8_t> bytes) {
    if (bytes.size() == 1 && bytes[0] == 0x80) {
      ++syncs;
      line_.Feed(kAck);
    } else if (bytes.size() == 10 && bytes[1] == 0x51 && readsLeft-- > 0) {
      line_.Feed(Reply16(registers[bytes[6]]));
    }
  }
  MemoryLine& line_;
};

TEST_F(PtyPortTest, BaseFamilyWritesCarryTheWordInBothAddressForms) {
  device_.Expect({0x80, 0x50, 6, 6, 0x23, 0xF1, 0x02, 0x00, 0x23, 0xF1, 0x06, 0x03}, kAck);
  EXPECT_EQ(WriteInterpReg(kPort, 0x0123), 0);
  device_.Expect({0x80, 0x50, 6, 6, 0xC0, 0x45, 0x02, 0x00, 0x45, 0xC0, 0xE8, 0x02}, kAck);
  EXPECT_EQ(WriteGenReg(kPort, 0x45), 0);
}

TEST_F(PtyPortTest, WrenWriteOfTheIndexCentringCommand) {
  device_.Expect({0x80, 0x50, 4, 4, 0x14, 0x00, 0x80, 0x00, 0x6C, 0x01}, kAck);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800014), 0);
}

TEST_F(PtyPortTest, WritesFailOnARefusedOrMissingAcknowledgement) {
  const Bytes request{0x80, 0x50, 4, 4, 0x14, 0x00, 0x80, 0x00, 0x6C, 0x01};
  device_.Expect(request, {0x91});
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800014), -1);
  device_.Expect(request, {});
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800014), -1);
}

TEST_F(PtyPortTest, SoftwareResetWaitsForNothing) {
  device_.Expect({0x80, 0x64, 4, 4, 0, 0, 0, 0, 0xEC, 0x00}, {});
  ASSERT_EQ(ConfigPort(kPort, 3000, 38400), 0);
  const auto start = Clock::now();
  EXPECT_EQ(SoftwareSystemReset(kPort), 0);
  EXPECT_LT(MsSince(start), 1500) << "no reply may be awaited (the time-out is 3000 ms)";
}

TEST_F(MemoryLineTest, EveryBaseReadAsksForItsOwnAddress) {
  const std::pair<int32_t (*)(int32_t), uint16_t> reads[] = {
      {ReadStatus, 0x4000},      {ReadVersion, 0x4100},
      {ReadyAD, 0x4200},         {ReadxAD, 0x4300},
      {ReadVectorMag, 0x4400},   {ReadAngle, 0x4500},
      {ReadPositiveIndexWindow, 0x4900}, {ReadNegativeIndexWindow, 0x4C00},
      {ReadStateFreqReg, 0x4F00}, {ReadInterpDepth, 0x5000},
      {ReadIndexAngle, 0x5100},  {ReadGainX, 0x5200},
      {ReadOffsetX, 0x5300},     {ReadGainY, 0x5400},
      {ReadOffsetY, 0x5500},     {ReadPhase, 0x5600}};
  for (const auto& [read, address] : reads) {
    line_->Feed(Reply16(0xFFFF));
    EXPECT_EQ(read(kPort), 0xFFFF) << "a 16-bit value cannot look like a failure";
    const auto& frame = line_->writes.back();
    ASSERT_EQ(frame.size(), 10u);
    EXPECT_EQ(frame[1], 0x51);
    EXPECT_EQ(frame[4] | frame[5] << 8, address);
    EXPECT_EQ(frame[6], 2) << "count 2";
  }
}

TEST_F(MemoryLineTest, InformationReadsDecodeSixteenAndThirtyTwoBitValues) {
  line_->Feed(Reply16(0x0512));
  EXPECT_EQ(ReadMSPVersion(kPort), 0x0512);
  EXPECT_EQ(line_->writes.back()[1], 0x60);
  line_->Feed(Reply32(123456));
  EXPECT_EQ(ReadPowerOnTime(kPort), 123456);
  EXPECT_EQ(line_->writes.back()[1], 0x62);
  EXPECT_EQ(line_->writes.back()[6], 4) << "count 4";
  line_->Feed(Reply32(0x80000001));
  EXPECT_LT(ReadPowerOnCycles_M(kPort), 0) << "values from 0x80000000 come back negative";
  EXPECT_EQ(line_->writes.back()[1], 0x83);
  line_->Feed(Reply16(0xBEEF));
  EXPECT_EQ(ReadMSPChecksum_M(kPort), 0xBEEF);
}

TEST_F(MemoryLineTest, EpotValuesComeOutHighByteFirst) {
  line_->Feed(DataReply({0x11, 0x22, 0x33, 0x44}));
  uint8_t a = 0, b = 0, c = 0, d = 0;
  ASSERT_EQ(ReadEpotValues(kPort, &a, &b, &c, &d), 0);
  EXPECT_EQ(a, 0x22);
  EXPECT_EQ(b, 0x11);
  EXPECT_EQ(c, 0x44);
  EXPECT_EQ(d, 0x33);
  EXPECT_EQ(ReadEpotValues(kPort, &a, nullptr, &c, &d), -1);

  line_->Feed(kAck);
  EXPECT_EQ(WriteEpotValues(kPort, 0x1234), 0);
  EXPECT_EQ(line_->writes.back(),
            (Bytes{0x80, 0x90, 6, 6, 0, 0, 2, 0, 0x34, 0x12, 0x64, 0x01}));
  line_->Feed(kAck);
  EXPECT_EQ(FlashEpot(kPort), 0);
  EXPECT_EQ(line_->writes.back(), (Bytes{0x80, 0x92, 4, 4, 0, 0, 0, 0, 0x1A, 0x01}));
}

TEST_F(MemoryLineTest, FinchValueReadsTakeOnlyCountsTheyCanDecode) {
  line_->Feed(Reply16(0x4321));
  EXPECT_EQ(ReadValueFinch(kPort, 0x70, 2), 0x4321);
  line_->Feed(Reply32(0x00054321));
  EXPECT_EQ(ReadValueFinch(kPort, 0x70, 4), 0x54321);
  const size_t sent = line_->writes.size();
  for (uint16_t count : {0, 1, 3, 7, 200}) EXPECT_EQ(ReadValueFinch(kPort, 0x70, count), -1);
  EXPECT_EQ(line_->writes.size(), sent) << "refused counts send nothing";
}

TEST_F(MemoryLineTest, WrenPositionJoinsThirtyBitsAcrossThreeSynchronisedReads) {
  RegisterDevice device(*line_);
  const struct {
    uint16_t hi, mid, lo;
    int32_t position;
  } cases[] = {{0x0003, 0xFFFF, 0xFFF0, -1},
               {0x0001, 0x0000, 0x0000, 0x10000000},
               {0x0002, 0x0000, 0x0000, -0x20000000},
               {0xFFF0, 0x0001, 0x123F, 0x1123}};
  for (const auto& c : cases) {
    device.registers = {{0x69, c.hi}, {0x68, c.mid}, {0x27, c.lo}};
    device.syncs = 0;
    int32_t position = 0;
    ASSERT_EQ(ReadShiftedPositionWren(kPort, &position), 0);
    EXPECT_EQ(position, c.position);
    EXPECT_EQ(device.syncs, 2) << "one re-synchronisation between each two reads";
  }
}

TEST_F(MemoryLineTest, AFailedStepEndsThePositionReadWithTheOutputUnchanged) {
  RegisterDevice device(*line_);
  device.registers = {{0x69, 1}, {0x68, 2}, {0x27, 3}};
  device.readsLeft = 2;
  int32_t position = 77;
  EXPECT_EQ(ReadShiftedPositionWren(kPort, &position), -1);
  EXPECT_EQ(position, 77);
  EXPECT_EQ(ReadShiftedPositionWren(kPort, nullptr), -1);
}

TEST_F(MemoryLineTest, BasePositionReadsSignExtendFromBitTwentySeven) {
  line_->onWrite = [this](std::span<const uint8_t> bytes) {
    if (bytes.size() == 1) return line_->Feed(kAck);
    const uint16_t address = bytes[4] | bytes[5] << 8;
    if (address == 0x0800) line_->Feed(Reply16(0xAB08));  // only the low byte counts
    if (address == 0x0700) line_->Feed(Reply16(0x0123));
    if (address == 0x4600) line_->Feed(Reply16(0x0456));
  };
  int32_t position = 0;
  ASSERT_EQ(ReadPosition(kPort, &position), 0);
  EXPECT_EQ(position, 0x08123456);
  ASSERT_EQ(ReadShiftedPosition(kPort, &position), 0);
  EXPECT_EQ(position, static_cast<int32_t>(0xF8123456));
  EXPECT_EQ(line_->writes.size(), 10u) << "three reads and two syncs each";
}

}  // namespace

// The register, information, Epot, zero, centring and reset commands, round
// trip through probelink: what the electronics report and how they behave.
#include <gtest/gtest.h>

#include "emulator_fixture.h"

namespace veritrak {
namespace {

class RegisterCommands : public EmulatorOnPort {};

int32_t HostPosition() {
  int32_t position = 0;
  EXPECT_EQ(ReadShiftedPositionWren(EmulatorOnPort::kPort, &position), 0);
  return position;
}

TEST_F(RegisterCommands, InformationReadsReportWhatTheElectronicsWereGiven) {
  Options o = SteadyOptions();
  o.device = {.modelCode = 3,
              .firmwareVersion = 0x0527,
              .firmwareChecksum = 0xBEEF,
              .powerOnHours = 70000,
              .powerOnCycles = 4321};
  Serve(o);
  // clang-format off
  const std::pair<int32_t, int32_t> reads[] = {
    {ReadMSPVersion(kPort), 0x0527}, {ReadMSPVersion_M(kPort), 0x0527}, {ReadMSPChecksum_M(kPort), 0xBEEF},
    {ReadPowerOnTime(kPort), 70000}, {ReadPowerOnTime_M(kPort), 70000}, {ReadPowerOnCycles(kPort), 4321},
    {ReadPowerOnCycles_M(kPort), 4321}, {ReadValueFinch(kPort, 0x63, 4), 4321},
    {ReadValueFinch(kPort, 0x62, 2), 70000 & 0xFFFF}, {(Read(0x20) >> 5) & 0xF, 3}};
  // clang-format on
  for (size_t i = 0; i < std::size(reads); ++i) EXPECT_EQ(reads[i].first, reads[i].second) << i;
}

// The base family's reads arrive as Wren reads of register 0x02, which is
// what the main program's completion handlers rely on: a valid reply.
TEST_F(RegisterCommands, TheBaseFamilyIsAnsweredAsTheWrenFamilyWould) {
  Serve();
  const int32_t setup = Read(0x02);
  for (auto read :
       {ReadStatus, ReadVersion, ReadyAD, ReadxAD, ReadVectorMag, ReadAngle,
        ReadPositiveIndexWindow, ReadNegativeIndexWindow, ReadStateFreqReg, ReadInterpDepth,
        ReadIndexAngle, ReadGainX, ReadOffsetX, ReadGainY, ReadOffsetY, ReadPhase})
    EXPECT_EQ(read(kPort), setup);
  int32_t position = 0;
  EXPECT_EQ(ReadShiftedPosition(kPort, &position), 0);
  EXPECT_EQ(WriteRegister(kPort, 0x1234) + WriteInterpReg(kPort, 0x0123) +
                WriteIndexAngleReg(kPort, 0x0045) + WriteGenReg(kPort, 0x45) +
                WriteStateFreqReg(kPort, 0x03),
            0);
  EXPECT_EQ(Read(0x02), setup) << "base writes leave the registers alone";
}

TEST_F(RegisterCommands, WritesChangeWhatIsReadBackAndTheJournalKeepsTheAcknowledgedOnes) {
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
  Device().SetRefuseAcks(true);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x820001), -1);
  Device().SetRefuseAcks(false);
  EXPECT_EQ(Read(0x02), 3) << "a refused write is not carried out";
  EXPECT_EQ(Device().WrittenWords(),
            (std::vector<uint32_t>{0x820003, 0x830090, 0xD00123, 0xA1FFFF, 0x89012C}))
      << "reads and refused writes leave no entry";
}

TEST_F(RegisterCommands, PositionJoinsItsRegistersAndZeroingTakesTwoStepsAndKeepsThePhase) {
  Options o = SteadyOptions();
  o.head.startPosition = -123456;
  Serve(o);
  EXPECT_EQ(HostPosition(), -123456);
  EXPECT_EQ(Read(0x27), Read(0x67));
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800004), 0);
  EXPECT_EQ(HostPosition(), -123456) << "0x04 alone does nothing";
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800002), 0);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800004), 0);
  EXPECT_EQ(HostPosition(), -123456 & 4095);
}

TEST_F(RegisterCommands, CentreIndexCommandRunsTheCentringSequence) {
  Options o = SteadyOptions();
  o.head.speed = 40000;
  o.head.travel = 8192;
  Serve(o);
  EXPECT_EQ(Read(0x21) & 0xC00, 0);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800014), 0);
  EXPECT_NE(Read(0x21) & 0xC00, 0) << "centring, or already centred";
  EXPECT_TRUE(Eventually([&] { return (Read(0x21) & 0xC00) == 0x400; })) << "centred";
  EXPECT_NE(Read(0x2B), 0);
  EXPECT_NE(Read(0x2C), 0);
}

// The electronics are deaf for the reset time, then answer with their
// power-on settings, one more power cycle and the Epot wiper as flashed.
TEST_F(RegisterCommands, EpotValuesAndSoftwareResets) {
  Options o = SteadyOptions();
  o.device.resetTime = 800ms;
  Serve(o);
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
    EXPECT_EQ(Read(0x02), 0x0011);
    EXPECT_EQ(ReadEpotValues(kPort, &e[0], &e[1], &e[2], &e[3]), 0);
    EXPECT_EQ(Bytes(e, e + 2), (Bytes{0x12, 0x34}));
    EXPECT_EQ(ReadPowerOnCycles(kPort), cycles + (reset == SoftwareSystemReset ? 1 : 2));
  }
}

}  // namespace
}  // namespace veritrak

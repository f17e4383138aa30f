// Every request-and-reply command, round-trip through probelink.
#include <gtest/gtest.h>

#include <chrono>

#include "emulator_fixture.h"

namespace veritrak {
namespace {

using namespace std::chrono_literals;

int32_t HostPosition() {
  int32_t position = 0;
  EXPECT_EQ(ReadShiftedPositionWren(EmulatorOnPort::kPort, &position), 0);
  return position;
}

class RegisterCommands : public EmulatorOnPort {};

TEST_F(RegisterCommands, IdentificationReadsAsTheMainProgramChecksThem) {
  Options o = SteadyOptions();
  o.device.modelCode = 3;
  o.device.firmwareVersion = 0x0527;
  Serve(o);
  ASSERT_EQ(DoSynchronize(kPort), 1);
  const int32_t version = ReadMSPVersion(kPort);
  EXPECT_EQ(version, 0x0527);
  EXPECT_EQ((version >> 8) & 0xF, 5);
  EXPECT_EQ((Read(0x20) >> 5) & 0xF, 3);
}

TEST_F(RegisterCommands, InformationReadsAndTheirAlternateSet) {
  Options o = SteadyOptions();
  o.device.powerOnHours = 70000;
  o.device.powerOnCycles = 4321;
  o.device.firmwareChecksum = 0xBEEF;
  Serve(o);
  EXPECT_EQ(ReadPowerOnTime(kPort), 70000);
  EXPECT_EQ(ReadPowerOnCycles(kPort), 4321);
  EXPECT_EQ(ReadMSPVersion_M(kPort), 0x0512);
  EXPECT_EQ(ReadMSPChecksum_M(kPort), 0xBEEF);
  EXPECT_EQ(ReadPowerOnTime_M(kPort), 70000);
  EXPECT_EQ(ReadPowerOnCycles_M(kPort), 4321);
  EXPECT_EQ(ReadValueFinch(kPort, 0x63, 4), 4321);
  EXPECT_EQ(ReadValueFinch(kPort, 0x62, 2), 70000 & 0xFFFF);
}

// The base family's reads arrive as Wren reads of register 0x02, which is
// what the threads' completion handlers rely on: a valid reply.
TEST_F(RegisterCommands, BaseFamilyIsAnsweredAsTheWrenFamilyWould) {
  Serve();
  const int32_t setup = Read(0x02);
  EXPECT_EQ(ReadStatus(kPort), setup);
  for (auto read :
       {ReadVersion, ReadyAD, ReadxAD, ReadVectorMag, ReadAngle, ReadPositiveIndexWindow,
        ReadNegativeIndexWindow, ReadStateFreqReg, ReadInterpDepth, ReadIndexAngle, ReadGainX,
        ReadOffsetX, ReadGainY, ReadOffsetY, ReadPhase})
    EXPECT_GE(read(kPort), 0);
  uint16_t value = 0;
  EXPECT_EQ(ReadRegister(kPort, 0x4000, &value), 0);
  EXPECT_EQ(value, setup);
  EXPECT_EQ(WriteRegister(kPort, 0x1234), 0);
  EXPECT_EQ(WriteInterpReg(kPort, 0x0123), 0);
  EXPECT_EQ(WriteIndexAngleReg(kPort, 0x0045), 0);
  EXPECT_EQ(WriteGenReg(kPort, 0x45), 0);
  EXPECT_EQ(WriteStateFreqReg(kPort, 0x03), 0);
  int32_t position = 0;
  EXPECT_EQ(ReadPosition(kPort, &position), 0);
  EXPECT_EQ(ReadShiftedPosition(kPort, &position), 0);
  EXPECT_EQ(Read(0x02), setup) << "base writes leave the Wren registers alone";
}

TEST_F(RegisterCommands, WritesToWriteAddressesChangeWhatIsReadBack) {
  Serve();
  EXPECT_EQ(WriteRegisterWren(kPort, 0x820003), 0);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x830000 + 9 * 16), 0);
  EXPECT_EQ(WriteRegisterWren(kPort, 0xD00000 + 0x0123), 0);  // GainX
  EXPECT_EQ(Read(0x02), 3);
  EXPECT_EQ(Read(0x03), 9 * 16);
  EXPECT_EQ(Read(0x50), 0x0123);
  const uint16_t status = Read(0x21);
  EXPECT_EQ(WriteRegisterWren(kPort, 0xA1FFFF), 0) << "a measurement acknowledges";
  EXPECT_EQ(Read(0x21), status) << "and ignores the write";
}

TEST_F(RegisterCommands, JournalKeepsTheAcknowledgedWordsInOrder) {
  Serve();
  EXPECT_EQ(WriteRegisterWren(kPort, 0x830030), 0);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800002), 0);
  Device().SetRefuseAcks(true);
  EXPECT_LT(WriteRegisterWren(kPort, 0x820001), 0);
  Device().SetRefuseAcks(false);
  Read(0x03);
  EXPECT_EQ(Device().WrittenWords(), (std::vector<uint32_t>{0x830030, 0x800002}))
      << "reads and refused writes leave no entry";
}

TEST_F(RegisterCommands, FinchFamilySharesTheRegisters) {
  Serve();
  EXPECT_EQ(WriteRegisterFinch(kPort, 0x890000 + 300), 0);
  uint16_t value = 0;
  EXPECT_EQ(ReadRegisterFinch(kPort, 0x090000, &value), 0);
  EXPECT_EQ(value, 300);
  EXPECT_EQ(Read(0x09), 300);
}

TEST_F(RegisterCommands, SynchronisedReadsAndWritesOfEachFamily) {
  Serve();
  uint16_t value = 0;
  EXPECT_EQ(SyncAndWrite(kPort, 1, 0xFF820004), 1) << "cut to 24 bits";
  EXPECT_EQ(SyncAndRead(kPort, 1, 0x020000, &value), 1);
  EXPECT_EQ(value, 4);
  EXPECT_EQ(SyncAndWrite(kPort, 2, 0x820005), 1);
  EXPECT_EQ(SyncAndRead(kPort, 2, 0x020000, &value), 1);
  EXPECT_EQ(value, 5);
  EXPECT_EQ(SyncAndRead(kPort, 0, 0x4000, &value), 1);
  EXPECT_EQ(SyncAndWrite(kPort, 0, 0xC105), 1);
}

TEST_F(RegisterCommands, PositionReadJoinsTheThreePositionRegisters) {
  Options o = SteadyOptions();
  o.head.startPosition = -123456;
  Serve(o);
  EXPECT_EQ(HostPosition(), -123456);
  EXPECT_EQ(Read(0x27), Read(0x67));
}

TEST_F(RegisterCommands, ZeroCommandNeedsItsTwoStepsAndKeepsTheSignalPhase) {
  Serve();
  const int32_t start = SteadyOptions().head.startPosition;
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800004), 0);
  EXPECT_EQ(HostPosition(), start) << "0x04 alone does nothing";
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800002), 0);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800004), 0);
  EXPECT_EQ(HostPosition(), start % 4096);
}

TEST_F(RegisterCommands, CentreIndexCommandRunsTheCentringSequence) {
  Options o = SteadyOptions();
  o.head.speed = 40000;
  o.head.travel = 8192;
  Serve(o);
  EXPECT_EQ(Read(0x21) & 0xC00, 0);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x800014), 0);
  EXPECT_TRUE(Read(0x21) & 0x800) << "centring";
  EXPECT_TRUE(Eventually([&] { return (Read(0x21) & 0xC00) == 0x400; })) << "centred";
  EXPECT_NE(Read(0x2B), 0);
  EXPECT_NE(Read(0x2C), 0);
}

TEST_F(RegisterCommands, EpotValuesAreWrittenReadAndFlashed) {
  Serve();
  uint8_t a = 0, b = 0, c = 0, d = 0;
  EXPECT_EQ(WriteEpotValues(kPort, 0x1234), 0);
  EXPECT_EQ(ReadEpotValues(kPort, &a, &b, &c, &d), 0);
  EXPECT_EQ(a, 0x12);
  EXPECT_EQ(b, 0x34);
  EXPECT_EQ(c, 0x80);
  EXPECT_EQ(d, 0x80);
  EXPECT_EQ(FlashEpot(kPort), 0);
  EXPECT_EQ(ReadEpotValues(kPort, &a, &b, &c, &d), 0);
  EXPECT_EQ(c, 0x12);
  EXPECT_EQ(d, 0x34);
}

struct ResetCommand {
  const char* name;
  int32_t (*send)(int32_t port);
};

void PrintTo(const ResetCommand& command, std::ostream* os) { *os << command.name; }

class SoftwareReset : public EmulatorOnPort, public ::testing::WithParamInterface<ResetCommand> {};

// The electronics are deaf for the reset time, then answer with their
// power-on settings and one more power cycle.
TEST_P(SoftwareReset, IsDeafForAWhileThenRestoresPowerOnValues) {
  constexpr auto kResetTime = 300ms;
  Options o = SteadyOptions();
  o.device.resetTime = kResetTime;
  Serve(o);
  const int32_t cycles = ReadPowerOnCycles(kPort);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x820005), 0);
  EXPECT_EQ(WriteEpotValues(kPort, 0x4321), 0);
  const auto reset = std::chrono::steady_clock::now();
  ASSERT_EQ(GetParam().send(kPort), 0);
  EXPECT_EQ(SendSync(kPort), -1);
  ASSERT_TRUE(Eventually([] { return DoSynchronize(kPort) == 1; }));
  EXPECT_GE(std::chrono::steady_clock::now() - reset, kResetTime);
  EXPECT_EQ(Read(0x02), 0x0011);
  EXPECT_EQ(ReadPowerOnCycles(kPort), cycles + 1);
  uint8_t a = 0, b = 0, c = 0, d = 0;
  EXPECT_EQ(ReadEpotValues(kPort, &a, &b, &c, &d), 0);
  EXPECT_EQ(a, 0x80) << "the wiper returns to the flashed value";
}

INSTANTIATE_TEST_SUITE_P(BothResetCommands, SoftwareReset,
                         ::testing::Values(ResetCommand{"Plain", SoftwareSystemReset},
                                           ResetCommand{"Alternate", SoftwareReset_M}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace veritrak

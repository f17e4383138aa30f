// Each fault shows up as the result codes probelink promises, and the line
// recovers once the fault is lifted.
#include <gtest/gtest.h>

#include "emulator_fixture.h"

namespace veritrak {
namespace {

class Faults : public EmulatorOnPort {
 protected:
  void SetUp() override { Serve(); }
  void ExpectRecovered() {
    ExpectInStep();
    EXPECT_EQ(WriteRegisterWren(kPort, 0x820002), 0);
  }
};

TEST_F(Faults, EachFaultFailsWhatItShouldUntilLifted) {
  // clang-format off
  const std::tuple<const char*, std::function<void(Emulator&, bool)>, int32_t, int32_t, int32_t> cases[] = {
    {"drop", [](Emulator& e, bool on) { e.SetDropFraction(on); }, -1, -1, -1},
    {"corrupt", [](Emulator& e, bool on) { e.SetCorruptFraction(on); }, -1, -1, -1},
    {"refuse", [](Emulator& e, bool on) { e.SetRefuseAcks(on); }, 0, 0x0512, -1},  // reads still pass
    {"cable", [](Emulator& e, bool on) { on ? e.PullCable() : e.PlugCable(); }, -1, -1, -1}};
  // clang-format on
  for (const auto& [name, fault, sync, version, write] : cases) {
    fault(Device(), true);
    EXPECT_EQ(
        (std::tuple{SendSync(kPort), ReadMSPVersion(kPort), WriteRegisterWren(kPort, 0x820006)}),
        std::tuple(sync, version, write))
        << name;
    EXPECT_EQ(Device().CablePulled(), std::string(name) == "cable");
    fault(Device(), false);
    ClearRxBuffer(kPort);
    ExpectRecovered();
  }
}

TEST_F(Faults, RefusedAcknowledgementsLeaveWritesAndStartsUndone) {
  Device().SetRefuseAcks(true);
  const uint8_t regs[] = {0x21};
  EXPECT_EQ(WriteRegisterFinch(kPort, 0x820006) + WriteEpotValues(kPort, 0x1111) +
                FlashEpot(kPort) + BeginLissMode(kPort) + BeginAsyncWren(kPort, 1, regs),
            -5);
  EXPECT_EQ(Read(0x02), 0x0011) << "a refused write is not carried out";
  EXPECT_TRUE(LineQuiet()) << "a refused start streams nothing";
  Device().SetRefuseAcks(false);
  ExpectRecovered();
}

TEST_F(Faults, SomeDroppedBytesFailSomeReads) {
  Device().SetDropFraction(0.05);
  int failed = 0;
  for (int i = 0; i < 15; ++i) {
    ClearRxBuffer(kPort);
    failed += ReadMSPVersion(kPort) < 0;
  }
  EXPECT_GT(failed, 0);
  EXPECT_LT(failed, 15);
  Device().SetDropFraction(0);
  ExpectRecovered();
}

TEST_F(Faults, LateAnswersMissTheTimeOutAndArriveWholeLater) {
  Device().SetLateBy(400ms);
  EXPECT_EQ(ReadMSPVersion(kPort), -1);
  Device().SetLateBy(0ms);
  ASSERT_EQ(ConfigPort(kPort, 5000, 38400), 0);
  EXPECT_EQ(Exchange({}, 8), (Bytes{0x90, 0x60, 0x02, 0x00, 0x12, 0x05, 0x09, 0x01}));
  ASSERT_EQ(ConfigPort(kPort, kHostTimeoutMs, 38400), 0);
  ExpectRecovered();
}

TEST_F(Faults, ACablePulledForAWhileComesBackByItself) {
  Device().PullCable(600ms);
  EXPECT_EQ(SendSync(kPort), -1);
  EXPECT_TRUE(Eventually([] { return DoSynchronize(kPort) == 1; }));
  EXPECT_FALSE(Device().CablePulled());
  ExpectRecovered();
}

// The cable pulled in the middle of a live view: the records stop, and come
// back when it is plugged in, for the electronics never stopped streaming.
TEST_F(Faults, ACablePulledInTheMiddleOfAStream) {
  const uint8_t regs[] = {0x65, 0x64, 0x67, 0x26};
  ASSERT_EQ(BeginAsyncWren(kPort, 4, regs), 0);
  uint16_t w[4] = {};
  ASSERT_EQ(ReadAsyncWren(kPort, 4, w), 0);
  Device().PullCable();
  ClearRxBuffer(kPort);
  EXPECT_TRUE(Eventually([&] { return ReadAsyncWren(kPort, 4, w) == -1; }));
  Device().PlugCable();
  EXPECT_TRUE(Eventually([&] { return ReadAsyncWren(kPort, 4, w) == 0; }));
  EXPECT_EQ(EndAsync(kPort, 4), 13);
  ExpectRecovered();
}

using FaultOptions = EmulatorOnPort;

TEST_F(FaultOptions, FaultsGivenAtStartAreInForceFromTheFirstByte) {
  Options o = SteadyOptions();
  o.faults.refuseAcks = true;
  Serve(o);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x820002), -1);
  EXPECT_EQ(ReadMSPVersion(kPort), 0x0512);
}

}  // namespace
}  // namespace veritrak

// Each fault shows up as the result codes probelink promises, and the line
// recovers once the fault is lifted.
#include <gtest/gtest.h>

#include <chrono>

#include "emulator_fixture.h"

namespace veritrak {
namespace {

using namespace std::chrono_literals;

class Faults : public EmulatorOnPort {
 protected:
  void SetUp() override { Serve(); }

  void ExpectRecovered() {
    EXPECT_EQ(DoSynchronize(kPort), 1);
    EXPECT_EQ(ReadMSPVersion(kPort), 0x0512);
    EXPECT_EQ(WriteRegisterWren(kPort, 0x820002), 0);
  }
};

TEST_F(Faults, DroppedBytesLeaveRepliesShort) {
  Device().SetDropFraction(1);
  EXPECT_EQ(SendSync(kPort), -1);
  EXPECT_EQ(ReadMSPVersion(kPort), -1);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x820002), -1);
  Device().SetDropFraction(0);
  ExpectRecovered();
}

TEST_F(Faults, SomeDroppedBytesFailSomeReads) {
  Device().SetDropFraction(0.05);
  int failed = 0;
  for (int i = 0; i < 15; ++i) {
    ClearRxBuffer(kPort);
    if (ReadMSPVersion(kPort) < 0) ++failed;
  }
  EXPECT_GT(failed, 0);
  EXPECT_LT(failed, 15);
  Device().SetDropFraction(0);
  ExpectRecovered();
}

TEST_F(Faults, CorruptedBytesFailTheReplyChecks) {
  Device().SetCorruptFraction(1);
  EXPECT_EQ(SendSync(kPort), -1);
  EXPECT_EQ(ReadMSPVersion(kPort), -1);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x820002), -1);
  Device().SetCorruptFraction(0);
  ExpectRecovered();
}

TEST_F(Faults, RefusedAcknowledgementsFailWritesAndStartsButNotReads) {
  Device().SetRefuseAcks(true);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x820006), -1);
  EXPECT_EQ(WriteRegisterFinch(kPort, 0x820006), -1);
  EXPECT_EQ(WriteEpotValues(kPort, 0x1111), -1);
  EXPECT_EQ(FlashEpot(kPort), -1);
  EXPECT_EQ(BeginLissMode(kPort), -1);
  const uint8_t regs[] = {0x21};
  EXPECT_EQ(BeginAsyncWren(kPort, 1, regs), -1);
  EXPECT_EQ(Read(0x02), 0x0011) << "a refused write is not carried out";
  EXPECT_TRUE(LineQuiet()) << "a refused start streams nothing";
  Device().SetRefuseAcks(false);
  ExpectRecovered();
}

TEST_F(Faults, LateAnswersMissTheTimeOutAndArriveWholeLater) {
  Device().SetLateBy(400ms);
  EXPECT_EQ(ReadMSPVersion(kPort), -1);
  Device().SetLateBy(0ms);
  ASSERT_EQ(ConfigPort(kPort, 5000, 38400), 0);
  uint8_t reply[8] = {};
  int32_t received = 0;
  EXPECT_EQ(ReadRs232Data(kPort, 8, reply, &received), 1);
  EXPECT_EQ(reply[0], 0x90);
  EXPECT_EQ(reply[4] | (reply[5] << 8), 0x0512);
  ASSERT_EQ(ConfigPort(kPort, kHostTimeoutMs, 38400), 0);
  ExpectRecovered();
}

TEST_F(Faults, PulledCableSilencesTheLineUntilPluggedBack) {
  Device().PullCable();
  EXPECT_TRUE(Device().CablePulled());
  EXPECT_EQ(SendSync(kPort), -1);
  EXPECT_EQ(ReadMSPVersion(kPort), -1);
  Device().PlugCable();
  EXPECT_FALSE(Device().CablePulled());
  ExpectRecovered();
}

TEST_F(Faults, CablePulledForAWhileComesBackByItself) {
  Device().PullCable(300ms);
  EXPECT_EQ(SendSync(kPort), -1);
  EXPECT_TRUE(Eventually([] { return DoSynchronize(kPort) == 1; }));
  EXPECT_FALSE(Device().CablePulled());
  ExpectRecovered();
}

// The cable pulled in the middle of a live view: the records stop, and come
// back when it is plugged in, for the electronics never stopped streaming.
TEST_F(Faults, PulledCableInTheMiddleOfAStream) {
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

class FaultOptions : public EmulatorOnPort {};

TEST_F(FaultOptions, FaultsGivenAtStartAreInForceFromTheFirstByte) {
  Options o = SteadyOptions();
  o.faults.refuseAcks = true;
  Serve(o);
  EXPECT_EQ(WriteRegisterWren(kPort, 0x820002), -1);
  EXPECT_EQ(ReadMSPVersion(kPort), 0x0512);
}

}  // namespace
}  // namespace veritrak

// Each fault shows up as the result codes probelink promises, and the line
// recovers once the fault is lifted.
#include <filesystem>

#include "emulator_fixture.h"

namespace veritrak {
namespace {

using Faults = EmulatorOnPort;

TEST_F(Faults, EachFaultFailsWhatItShouldUntilLifted) {
  Serve();
  const uint8_t regs[] = {0x21};
  // clang-format off
  // The last column: whether the host's bytes reached the electronics, which
  // then carried out the write of 6 to register 2 and the stream starts.
  using Fault = std::function<void(Emulator&, bool)>;
  const std::tuple<const char*, Fault, int, int, int, bool> cases[] = {
    {"drop", [](Emulator& e, bool on) { e.SetDropFraction(on); }, -1, -1, -1, true},
    {"corrupt", [](Emulator& e, bool on) { e.SetCorruptFraction(on); }, -1, -1, -1, true},
    {"cable", [](Emulator& e, bool on) { on ? e.PullCable() : e.PlugCable(); }, -1, -1, -1, false},
    {"refuse", [](Emulator& e, bool on) { e.SetRefuseAcks(on); }, 0, 0x0512, -1, false}};
  // clang-format on
  for (const auto& [name, fault, sync, version, write, reached] : cases) {
    fault(*emulator_, true);
    EXPECT_EQ((std::tuple{SendSync(kPort), ReadMSPVersion(kPort),
                          WriteRegisterFinch(kPort, 0x820006), WriteEpotValues(kPort, 0x1111),
                          FlashEpot(kPort), BeginLissMode(kPort), BeginAsyncWren(kPort, 1, regs)}),
              std::tuple(sync, version, write, write, write, write, write))
        << name;
    fault(*emulator_, false);
    if (reached) EndAsync(kPort, 4);
    ExpectInStep();
    EXPECT_EQ(Read(0x02), reached ? 6 : 2) << name;
    EXPECT_EQ(WriteRegisterWren(kPort, 0x820002), 0);
  }
}

// A fault given in the options is in force from the first byte on.
TEST_F(Faults, DroppedBytesFromTheOptionsFailSomeReads) {
  options_.faults.dropFraction = 0.05;
  Serve();
  int failed = 0;
  for (int i = 0; i < 15; ++i) {
    ClearRxBuffer(kPort);
    failed += ReadMSPVersion(kPort) < 0;
  }
  EXPECT_TRUE(failed > 0 && failed < 15) << failed;
  emulator_->SetDropFraction(0);
  ExpectInStep();
}

TEST_F(Faults, LateAnswersMissTheTimeOutAndArriveWholeLater) {
  Serve();
  emulator_->SetLateBy(1000ms);
  EXPECT_EQ(ReadMSPVersion(kPort), -1);
  emulator_->SetLateBy(0ms);
  ASSERT_EQ(ConfigPort(kPort, 5000, 38400), 0);
  EXPECT_EQ(Exchange({}, 8), (Bytes{0x90, 0x60, 0x02, 0x00, 0x12, 0x05, 0x09, 0x01}));
  ASSERT_EQ(ConfigPort(kPort, kHostTimeoutMs, 38400), 0);
  ExpectInStep();
}

// Pulled for a while, or in the middle of a live view: the records stop, and
// come back when it is plugged in, for the electronics never stopped.
TEST_F(Faults, APulledCableComesBackByItselfOrWhenPluggedIn) {
  Serve();
  emulator_->PullCable(300ms);
  EXPECT_TRUE(Eventually([] { return DoSynchronize(kPort) == 1; }));
  EXPECT_FALSE(emulator_->CablePulled());
  ASSERT_EQ(BeginAsyncWren(kPort, 4, kSignalRegisters), 0);
  uint16_t w[4] = {};
  ASSERT_EQ(ReadAsyncWren(kPort, 4, w), 0);
  emulator_->PullCable();
  ClearRxBuffer(kPort);
  EXPECT_TRUE(Eventually([&] { return ReadAsyncWren(kPort, 4, w) == -1; }));
  emulator_->PlugCable();
  EXPECT_TRUE(Eventually([&] { return ReadAsyncWren(kPort, 4, w) == 0; }));
  EXPECT_EQ(EndAsync(kPort, 4), 13);
  ExpectInStep();
}

// Unplugged in the middle of a stream, the adapter hangs up the host's
// handle; plugged back in, the electronics it leads to stream on where they
// were, twice over, whatever name each pseudo-terminal gets.
TEST_F(Faults, AnUnpluggedAdapterHangsUpTheHostAndComesBackOnANewLine) {
  Serve();
  ASSERT_EQ(BeginAsyncWren(kPort, 4, kSignalRegisters), 0);
  for (int round = 0; round < 2; ++round) {
    const std::string before = emulator_->DevicePath();
    emulator_->UnplugAdapter();
    EXPECT_EQ(SendSync(kPort), -2);
    EXPECT_FALSE(std::filesystem::exists(before));
    ClosePort(kPort);
    home_.LinkPort(kPort, emulator_->PlugAdapter());
    ASSERT_EQ(OpenPort(kPort), 0);
    ASSERT_EQ(ConfigPort(kPort, kHostTimeoutMs, 38400), 0);
    uint16_t w[4] = {};
    EXPECT_TRUE(Eventually([&] { return ReadAsyncWren(kPort, 4, w) == 0; }));
  }
  EXPECT_EQ(EndAsync(kPort, 4), 13);
  ExpectInStep();
}

}  // namespace
}  // namespace veritrak

// Identification and the device commands of the connection, against the
// emulated electronics: what they write on the wire and what reads back.
#include <QElapsedTimer>

#include "emulated_connection.h"

namespace quillon {
namespace {

using Connection = EmulatedConnection;

// Every model of the firmware family, and nothing else; a port already open
// is used as it is, a port with nothing behind it identifies nothing.
TEST_F(Connection, IdentifiesEveryModelOfTheFamilyAndNothingElse) {
  // clang-format off
  const std::tuple<uint16_t, uint16_t, const char*> cases[] = {
      {0, 0x0512, "Kestrel"}, {1, 0x0512, "Kestrel"}, {2, 0x0512, "Heron"}, {3, 0x0512, "Osprey"},
      {4, 0x0512, "Plover"}, {5, 0x0512, nullptr}, {15, 0x0512, nullptr}, {1, 0x0412, nullptr}};
  // clang-format on
  QString message;
  int32_t result = -1;
  for (const auto& [model, firmware, name] : cases) {
    SCOPED_TRACE(testing::Message() << "model " << model << " firmware " << firmware);
    veritrak::Options options = Emulated(model);
    options.device.firmwareVersion = firmware;
    Start(options);
    message.clear(), result = -1;
    EXPECT_EQ(com_->Identify(message, result), name != nullptr);
    EXPECT_EQ(message, name ? QString(name) + " Electronics Found on COM5" : QString());
    EXPECT_EQ(result, name ? 0 : -1);
    EXPECT_EQ(com_->Baud(), name ? 38400u : 9600u) << "the default stays until identified";
    TearDown();
  }
  Start();
  ASSERT_EQ(OpenPort(kPort), 0);
  EXPECT_TRUE(com_->Identify(message, result));
  TearDown();
  home_.LinkPort(kPort, home_.Root() / "no-device");
  com_ = std::make_unique<ComData>(kPort, window_);
  EXPECT_FALSE(com_->Identify(message, result));
}

TEST_F(Connection, CommandsWriteTheirWordsAndChangeWhatReadsBack) {
  StartIdentified(Emulated(1, 123456, 0));
  EXPECT_EQ(com_->InterpCode(), 0xFF) << "the power-on setting";
  EXPECT_EQ(window_.shownInterpCode, com_->InterpCode());
  EXPECT_EQ(window_.shownStatusSetup, com_->StatusSetup());
  ASSERT_TRUE(com_->SetInterpolation(256) && com_->SetFrequency(5) && com_->CenterIndex());
  ASSERT_TRUE(com_->ReadSetup());
  EXPECT_EQ(com_->InterpCode(), 256);
  EXPECT_EQ(com_->StatusSetup() & 0x7, 5u);
  ASSERT_TRUE(com_->WriteRawRegister(0x830030) && com_->ReadSetup());
  EXPECT_EQ(com_->InterpCode(), 3);
  com_->CaptureZeroOffset();
  EXPECT_EQ(com_->ZeroOffset, 123456);
  EXPECT_TRUE(!com_->ZeroRequest && com_->AxisChanged[PositionPlot]);
  // The counter restarts from the signal's own phase: only the periods go.
  ASSERT_TRUE(com_->ZeroPosition());
  com_->CaptureZeroOffset();
  EXPECT_TRUE(com_->ZeroOffset >= 0 && com_->ZeroOffset < 4096) << com_->ZeroOffset;
  EXPECT_EQ(emulator_->WrittenWords(),
            (std::vector<uint32_t>{0x831000, 0x820005, 0x800014, 0x830030, 0x800002, 0x800004}));
}

TEST_F(Connection, InformationIsReadUntilTheElectronicsRefuseOrFallSilent) {
  StartIdentified(Emulated(3));
  DeviceInfo info;
  ASSERT_TRUE(com_->ReadInfo(info));
  EXPECT_EQ(info.mspVersion, 0x0512);
  EXPECT_EQ((info.modelRegister >> 5) & 0xF, 3);
  EXPECT_EQ(info.powerOnHours, 1234);
  EXPECT_EQ(info.powerOnCycles, 56);
  emulator_->SetRefuseAcks(true);
  EXPECT_FALSE(com_->ZeroPosition());
  EXPECT_FALSE(com_->SetInterpolation(16));
  emulator_->SetRefuseAcks(false);
  emulator_->PullCable();
  info.mspVersion = 99;
  EXPECT_FALSE(com_->ReadInfo(info));
  EXPECT_EQ(info.mspVersion, 99) << "nothing read, nothing stored";
  EXPECT_FALSE(com_->Resync() || com_->ReadSetup());
  emulator_->PlugCable();
  EXPECT_TRUE(com_->Resync());
}

TEST_F(Connection, SoftwareResetLetsTheElectronicsRestart) {
  StartIdentified();
  ASSERT_TRUE(com_->SetInterpolation(64));
  QElapsedTimer timer;
  timer.start();
  com_->SoftwareReset();
  EXPECT_GE(timer.elapsed(), 2000);
  ASSERT_TRUE(com_->ReadSetup());
  EXPECT_NE(com_->InterpCode(), 64) << "the power-on setting is back";
}

}  // namespace
}  // namespace quillon

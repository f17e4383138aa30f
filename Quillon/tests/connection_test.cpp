// Identification and the device commands of the connection, against the
// emulated electronics.
#include <QElapsedTimer>

#include "emulated_connection.h"

namespace quillon {
namespace {

using Connection = EmulatedConnection;

TEST_F(Connection, IdentifiesEveryModelAndRefusesUnknownCodes) {
  const std::pair<uint16_t, const char*> models[] = {
      {0, "Kestrel Electronics Found on COM5"}, {1, "Kestrel Electronics Found on COM5"},
      {2, "Heron Electronics Found on COM5"},   {3, "Osprey Electronics Found on COM5"},
      {4, "Plover Electronics Found on COM5"},  {5, nullptr},
      {15, nullptr}};
  for (const auto& [code, text] : models) {
    veritrak::Options options;
    options.device.modelCode = code;
    Start(options);
    QString message;
    int32_t result = -1;
    EXPECT_EQ(com_->Identify(message, result), text != nullptr) << "model " << code;
    if (text) {
      EXPECT_EQ(message, QString(text));
      EXPECT_EQ(result, 0);
      EXPECT_EQ(com_->Baud(), 38400u);
    }
    com_.reset();
    ClosePort(kPort);
  }
}

TEST_F(Connection, FirmwareOfAnotherFamilyIsNotIdentified) {
  veritrak::Options options;
  options.device.firmwareVersion = 0x0412;
  Start(options);
  QString message;
  int32_t result = 0;
  EXPECT_FALSE(com_->Identify(message, result));
  EXPECT_EQ(com_->Baud(), 9600u) << "the default stays until identified";
}

TEST_F(Connection, IdentifyUsesAPortThatIsAlreadyOpen) {
  Start();
  ASSERT_EQ(OpenPort(kPort), 0);
  QString message;
  int32_t result = 0;
  EXPECT_TRUE(com_->Identify(message, result));
}

TEST_F(Connection, NothingOnThePortIsNotIdentified) {
  home_.LinkPort(kPort, home_.Root() / "no-device");
  com_ = std::make_unique<ComData>(kPort, window_);
  QString message;
  int32_t result = 0;
  EXPECT_FALSE(com_->Identify(message, result));
}

TEST_F(Connection, SetupIsReadAndShownAtIdentification) {
  StartIdentified();
  EXPECT_EQ(window_.shownInterpCode, com_->InterpCode());
  EXPECT_EQ(window_.shownStatusSetup, com_->StatusSetup());
  EXPECT_GT(com_->InterpCode(), 0);
}

TEST_F(Connection, InterpolationFrequencyAndRawWritesChangeWhatReadsBack) {
  StartIdentified();
  ASSERT_TRUE(com_->SetInterpolation(256));
  ASSERT_TRUE(com_->SetFrequency(5));
  ASSERT_TRUE(com_->ReadSetup());
  EXPECT_EQ(com_->InterpCode(), 256);
  EXPECT_EQ(com_->StatusSetup() & 0x7, 5u);

  ASSERT_TRUE(com_->WriteRawRegister(0x830030));
  ASSERT_TRUE(com_->ReadSetup());
  EXPECT_EQ(com_->InterpCode(), 3);
}

TEST_F(Connection, ZeroingThePositionCounterAndCapturingTheZeroOffset) {
  veritrak::Options options;
  options.head.startPosition = 123456;
  options.head.speed = 0;
  StartIdentified(options);
  com_->CaptureZeroOffset();
  EXPECT_EQ(com_->ZeroOffset, 123456);
  EXPECT_FALSE(com_->ZeroRequest);
  EXPECT_TRUE(com_->AxisChanged[PositionPlot]);

  // The counter restarts from the signal's own phase: only the periods go.
  ASSERT_TRUE(com_->ZeroPosition());
  com_->CaptureZeroOffset();
  EXPECT_GE(com_->ZeroOffset, 0);
  EXPECT_LT(com_->ZeroOffset, 4096);
  EXPECT_TRUE(com_->CenterIndex());
}

TEST_F(Connection, InformationReadsReturnTheElectronicsOwnFigures) {
  veritrak::Options options;
  options.device.modelCode = 3;
  options.device.powerOnHours = 4321;
  options.device.powerOnCycles = 77;
  StartIdentified(options);
  DeviceInfo info;
  ASSERT_TRUE(com_->ReadInfo(info));
  EXPECT_EQ((info.mspVersion >> 8) & 0xF, 5);
  EXPECT_EQ((info.modelRegister >> 5) & 0xF, 3);
  EXPECT_EQ(info.powerOnHours, 4321);
  EXPECT_EQ(info.powerOnCycles, 77);
}

TEST_F(Connection, CommandsFailWhenTheElectronicsRefuseOrFallSilent) {
  StartIdentified();
  emulator_->SetRefuseAcks(true);
  EXPECT_FALSE(com_->ZeroPosition());
  EXPECT_FALSE(com_->SetInterpolation(16));
  emulator_->SetRefuseAcks(false);
  emulator_->PullCable();
  DeviceInfo info;
  info.mspVersion = 99;
  EXPECT_FALSE(com_->ReadInfo(info));
  EXPECT_EQ(info.mspVersion, 99) << "nothing read, nothing stored";
  EXPECT_FALSE(com_->Resync());
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

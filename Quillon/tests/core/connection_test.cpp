// Identification and the device commands of the connection, against the
// emulated electronics: what they write on the wire and what reads back.
#include <QElapsedTimer>

#include "emulated_connection.h"

namespace quillon {

using Connection = EmulatedConnection;

// Every model of the firmware family 5, and nothing else, nor nothing at all.
TEST_F(Connection, IdentifiesEveryModelOfTheFamilyAndNothingElse) {
  // clang-format off
  const std::tuple<uint16_t, uint16_t, const char*> cases[] = {
      {0, 0x0512, "Kestrel"}, {1, 0x0512, "Kestrel"}, {2, 0x0512, "Heron"}, {3, 0x0512, "Osprey"},
      {4, 0x0512, "Plover"}, {5, 0x0512, nullptr}, {15, 0x0512, nullptr}, {1, 0x0412, nullptr}};
  // clang-format on
  for (const auto& [model, firmware, name] : cases) {
    SCOPED_TRACE(testing::Message() << "model " << model << " firmware " << firmware);
    EXPECT_EQ(Start(model, 0, 0, firmware), name != nullptr);
    // The baud rate shown stays the default until identified.
    EXPECT_EQ(std::tuple(message_, result_, com_->Baud()),
              std::tuple(name ? QString(name) + " Electronics Found on COM5" : QString(),
                         name ? 0 : -1, name ? 38400u : 9600u));
    TearDown();
  }
  home_.LinkPort(kPort, home_.Root() / "no-device");
  com_ = std::make_unique<ComData>(kPort, window_);
  EXPECT_FALSE(com_->Identify(message_, result_)) << "nothing on the port";
}

// The connection that found the electronics finds them again on its own port
// once an unplugged adapter is back, whatever new device the port leads to.
TEST_F(Connection, IdentifiesAgainOnceAnUnpluggedAdapterIsBack) {
  ASSERT_TRUE(Start());
  emulator_->UnplugAdapter();
  EXPECT_FALSE(com_->Identify(message_, result_));
  home_.LinkPort(kPort, emulator_->PlugAdapter());
  EXPECT_TRUE(com_->Identify(message_, result_));
}

// The words on the wire, what reads back, the zero offset captured, the
// information, and a software reset that brings back the power-on setting
// after two seconds; then commands refused or unanswered fail, and reads
// stop at the first failure and keep what was read before it.
TEST_F(Connection, CommandsWriteTheirWordsAndFailWhenRefusedOrUnanswered) {
  ASSERT_TRUE(Start(3, 123456, 0));
  EXPECT_EQ(window_.shownSetup, std::pair(com_->InterpCode(), com_->StatusSetup()));
  ASSERT_TRUE(com_->SetInterpolation(256) && com_->SetFrequency(5) && com_->CenterIndex());
  ASSERT_TRUE(com_->ReadSetup());
  EXPECT_EQ(std::pair(com_->InterpCode(), com_->StatusSetup() & 0x7), std::pair(256, 5u));
  ASSERT_TRUE(com_->WriteRawRegister(0x830030) && com_->ReadSetup());
  EXPECT_EQ(com_->InterpCode(), 3);
  com_->CaptureZeroOffset();
  EXPECT_EQ(com_->ZeroOffset, 123456);
  EXPECT_TRUE(!com_->ZeroRequest && com_->AxisChanged[PositionPlot]);
  ASSERT_TRUE(com_->ZeroPosition());
  EXPECT_EQ(emulator_->WrittenWords(),
            (std::vector<uint32_t>{0x831000, 0x820005, 0x800014, 0x830030, 0x800002, 0x800004}));
  DeviceInfo info;
  ASSERT_TRUE(com_->ReadInfo(info));
  EXPECT_EQ(std::tuple(info.mspVersion, (info.modelRegister >> 5) & 0xF, info.powerOnHours,
                       info.powerOnCycles), std::tuple(0x0512, 3, 1234, 56));
  QElapsedTimer timer;
  timer.start();
  com_->SoftwareReset();
  EXPECT_GE(timer.elapsed(), 2000);
  ASSERT_TRUE(com_->ReadSetup());
  EXPECT_EQ(com_->InterpCode(), 0xFF) << "the power-on setting is back";
  emulator_->SetRefuseAcks(true);
  EXPECT_FALSE(com_->ZeroPosition() || com_->SetInterpolation(16));
  emulator_->SetRefuseAcks(false);
  emulator_->PullCable();
  info.mspVersion = 99;
  EXPECT_FALSE(com_->ReadInfo(info));
  EXPECT_EQ(info.mspVersion, 99) << "nothing read, nothing stored";
  EXPECT_FALSE(com_->Resync() || com_->ReadSetup());
  emulator_->PlugCable();
  EXPECT_TRUE(com_->Resync());
}

}  // namespace quillon

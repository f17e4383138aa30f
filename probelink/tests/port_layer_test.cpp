// Opening, closing, exclusivity, the line setting and the time-out semantics
// of the port layer on real pseudo-terminals.
#include "fixtures.h"

namespace {

class PortLayerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (int32_t port = 1; port <= 16; ++port) ClosePort(port);
  }
  testsupport::TempConfigHome home_;
  testsupport::PtyPair pty_;
};

TEST_F(PortLayerTest, MissingDeviceStaysClosedUntilItAppears) {
  home_.LinkPort(7, home_.Root() / "no-such-device");
  EXPECT_EQ(OpenPort(7), -1);
  EXPECT_EQ(ReadStatus(7), -2) << "a closed slot must fail its first OS call";
  EXPECT_EQ(probelink::PortTable::Instance().LastOsError(), ENOENT);

  home_.LinkPort(7, pty_.SlavePath());
  EXPECT_EQ(OpenPort(7), 0) << "a failed open must not stick";
}

TEST_F(PortLayerTest, OutOfRangeOpenReportsThePreviousOpen) {
  home_.LinkPort(3, home_.Root() / "missing");
  ASSERT_EQ(OpenPort(3), -1);
  EXPECT_EQ(OpenPort(17), -1);
  home_.LinkPort(4, pty_.SlavePath());
  ASSERT_EQ(OpenPort(4), 0);
  EXPECT_EQ(OpenPort(0), 0);
  EXPECT_EQ(OpenPort(-5), 0);
}

TEST_F(PortLayerTest, OutOfRangeCallsFailWithoutTouchingAnything) {
  int32_t timeout = 0, baud = 0;
  uint16_t value = 0;
  for (int32_t port : {0, 17, -1, 1000}) {
    EXPECT_EQ(ClosePort(port), -1);
    EXPECT_EQ(ConfigPort(port, 100, 38400), -1);
    EXPECT_EQ(GetPortConfig(port, &timeout, &baud), -1);
    EXPECT_EQ(ClearRxBuffer(port), -1);
    EXPECT_EQ(ReadStatus(port), -2);
    EXPECT_EQ(DoSynchronize(port), 0);
    EXPECT_EQ(SyncAndRead(port, 1, 0x20000, &value), 0);
    EXPECT_EQ(EndAsync(port, 4), -1);
    EXPECT_EQ(SystemReset(port), -1);
  }
}

TEST_F(PortLayerTest, OpenIsExclusiveAcrossPortNumbersAndReopensAfterClose) {
  home_.LinkPort(5, pty_.SlavePath());
  home_.LinkPort(6, pty_.SlavePath());
  ASSERT_EQ(OpenPort(5), 0);
  EXPECT_EQ(OpenPort(6), -1) << "the same device must not open twice";
  EXPECT_EQ(ClosePort(5), 0);
  EXPECT_EQ(ClosePort(5), -1) << "closing a closed slot is an OS refusal";
  EXPECT_EQ(OpenPort(6), 0);
  EXPECT_EQ(ClosePort(6), 0);
  EXPECT_EQ(OpenPort(5), 0);
}

TEST_F(PortLayerTest, SecondOpenLeavesSettingAndQueuedBytesAlone) {
  home_.LinkPort(5, pty_.SlavePath());
  ASSERT_EQ(OpenPort(5), 0);
  ASSERT_EQ(ConfigPort(5, 120, 19200), 0);
  pty_.Write({1, 2, 3});
  ASSERT_TRUE(WaitUntil([&] { return pty_.SlaveInputQueued() == 3; }));
  ASSERT_EQ(OpenPort(5), 0);
  int32_t timeout = 0, baud = 0;
  ASSERT_EQ(GetPortConfig(5, &timeout, &baud), 0);
  EXPECT_EQ(timeout, 120);
  EXPECT_EQ(baud, 19200);
  uint8_t got[3] = {};
  int32_t count = 0;
  EXPECT_EQ(ReadRs232Data(5, 3, got, &count), 1);
  EXPECT_EQ(count, 3);
}

TEST_F(PortLayerTest, PortsResolveThroughTheLinkFolderOfXdgConfigHome) {
  EXPECT_EQ(probelink::PortLinkFolder(), (home_.Root() / "probelink" / "ports").string());
  home_.LinkPort(16, pty_.SlavePath());
  EXPECT_EQ(probelink::DevicePathFor(16), (home_.PortFolder() / "COM16").string());
  EXPECT_EQ(probelink::DevicePathFor(1), "/dev/ttyS0");
  EXPECT_EQ(probelink::DevicePathFor(5), "/dev/ttyUSB0");
  EXPECT_EQ(probelink::DevicePathFor(12), "/dev/ttyUSB7");
  EXPECT_EQ(probelink::DevicePathFor(13), "/dev/ttyACM0");
  EXPECT_EQ(OpenPort(16), 0) << "ports 10 to 16 resolve like the others";
}

TEST_F(PtyPortTest, ConfigPortOnAPseudoTerminalJudgesTheSettingByReadingItBack) {
  int32_t timeout = 0, baud = 0;
  ASSERT_EQ(GetPortConfig(kPort, &timeout, &baud), 0);
  EXPECT_EQ(timeout, 100);
  EXPECT_EQ(baud, 38400);
  DCB dcb{};
  COMMTIMEOUTS timeouts{};
  COMMPROP properties{};
  ASSERT_EQ(GetCompleteComConfig(kPort, &dcb, &timeouts, &properties), 0);
  EXPECT_EQ(dcb.ByteSize, 8);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
  EXPECT_EQ(dcb.fOutX, 0u);
  EXPECT_EQ(dcb.fInX, 0u);
  EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 100u);
  EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, 100u);
  EXPECT_EQ(timeouts.ReadIntervalTimeout, 0u);
  EXPECT_EQ(ConfigPort(kPort, 100, 57600), 0) << "any baud rate is taken";
  EXPECT_EQ(ConfigPort(kPort, 100, 0), -1);
}

TEST_F(PtyPortTest, AReadThatGetsNothingReturnsAfterItsTotalTimeout) {
  for (int32_t ms : {25, 50, 100}) {
    ASSERT_EQ(ConfigPort(kPort, ms, 38400), 0);
    uint8_t byte = 0;
    int32_t count = -1;
    const auto start = Clock::now();
    EXPECT_EQ(ReadRs232Data(kPort, 1, &byte, &count), -1);
    const double elapsed = MsSince(start);
    EXPECT_EQ(count, 0);
    EXPECT_GE(elapsed, ms);
    EXPECT_LT(elapsed, ms + 1000) << "the read must end at its time-out";
  }
}

TEST_F(PtyPortTest, AReadReturnsAsSoonAsItsBytesHaveCome) {
  ASSERT_EQ(ConfigPort(kPort, 5000, 38400), 0);
  pty_.Write({1, 2, 3, 4});
  uint8_t got[4] = {};
  int32_t count = 0;
  const auto start = Clock::now();
  EXPECT_EQ(ReadRs232Data(kPort, 4, got, &count), 1);
  EXPECT_LT(MsSince(start), 4000);
  EXPECT_EQ(got[3], 4);
}

TEST_F(PtyPortTest, ClearRxBufferDiscardsWhatHasArrived) {
  pty_.Write({9, 9, 9});
  ASSERT_TRUE(WaitUntil([&] { return pty_.SlaveInputQueued() == 3; }));
  EXPECT_EQ(ClearRxBuffer(kPort), 0);
  EXPECT_EQ(pty_.SlaveInputQueued(), 0u);
  EXPECT_EQ(ClearTxBuffer(kPort), 0);
  EXPECT_EQ(PurgeRxTx(kPort), 0);
}

TEST_F(PtyPortTest, SetCompleteComConfigForcesTheFramingAndTakesTheTimeouts) {
  DCB asked{};
  asked.BaudRate = 9600;
  asked.ByteSize = 7;
  asked.Parity = NOPARITY;
  asked.StopBits = TWOSTOPBITS;
  asked.fBinary = 1;
  asked.fDtrControl = DTR_CONTROL_DISABLE;
  const COMMTIMEOUTS timeouts{0, 0, 70, 0, 80};
  EXPECT_EQ(SetCompleteComConfig(kPort, asked, timeouts, 4096, 4096), 0);
  DCB dcb{};
  COMMTIMEOUTS readBack{};
  COMMPROP properties{};
  ASSERT_EQ(GetCompleteComConfig(kPort, &dcb, &readBack, &properties), 0);
  EXPECT_EQ(dcb.BaudRate, 9600u);
  EXPECT_EQ(dcb.ByteSize, 8);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
  EXPECT_EQ(readBack.WriteTotalTimeoutConstant, 80u);
  EXPECT_EQ(properties.wPacketLength, sizeof(COMMPROP));
  EXPECT_EQ(GetCompleteComConfig(kPort, &dcb, &readBack, nullptr), -3);
  EXPECT_EQ(GetCompleteComConfig(kPort, &dcb, nullptr, nullptr), -2);
}

TEST_F(MemoryLineTest, SetCompleteComConfigAppliesEvenParityAndReportsEachRefusal) {
  DCB asked{};
  asked.BaudRate = 4800;
  asked.ByteSize = 7;
  asked.Parity = ODDPARITY;
  asked.StopBits = TWOSTOPBITS;
  asked.fOutX = 1;
  asked.XonChar = 0x21;
  EXPECT_EQ(SetCompleteComConfig(kPort, asked, {}, 1024, 1024), 0);
  ASSERT_EQ(line_->settings.size(), 1u);
  const DCB& applied = line_->settings.back();
  EXPECT_EQ(applied.ByteSize, 8);
  EXPECT_EQ(applied.Parity, EVENPARITY);
  EXPECT_EQ(applied.StopBits, ONESTOPBIT);
  EXPECT_EQ(applied.BaudRate, 4800u);
  EXPECT_EQ(applied.fOutX, 1u) << "the flags pass through";
  EXPECT_EQ(applied.XonChar, 0x21);

  line_->lineResults = {probelink::LineApply::Refused};
  EXPECT_EQ(SetCompleteComConfig(kPort, asked, {}, 1024, 1024), -1);
  line_->lineResults = {probelink::LineApply::NoModemLines};
  EXPECT_EQ(SetCompleteComConfig(kPort, asked, {}, 1024, 1024), 0);
}

TEST_F(MemoryLineTest, ConfigPortSetsTheOneLineSettingAndCountsOnlyRealRefusals) {
  ASSERT_EQ(ConfigPort(kPort, 100, 38400), 0);
  const DCB& dcb = line_->settings.back();
  EXPECT_EQ(dcb.Parity, EVENPARITY);
  EXPECT_EQ(dcb.fParity, 0u) << "received parity is not checked";
  EXPECT_EQ(dcb.fDtrControl, static_cast<uint32_t>(DTR_CONTROL_DISABLE));
  EXPECT_EQ(dcb.fRtsControl, static_cast<uint32_t>(RTS_CONTROL_ENABLE));
  EXPECT_EQ(dcb.fOutxCtsFlow + dcb.fOutxDsrFlow + dcb.fOutX + dcb.fInX, 0u);

  line_->lineResults = {probelink::LineApply::NoModemLines};
  EXPECT_EQ(ConfigPort(kPort, 100, 38400), 0);
  line_->lineResults = {probelink::LineApply::Refused};
  EXPECT_EQ(ConfigPort(kPort, 100, 38400), -1);
}

}  // namespace

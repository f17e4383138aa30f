// Streams, the marker hunt, stop runs, raw transfer and the DTR reset.
#include "fixtures.h"

namespace {

const uint8_t kSignalList[] = {0x65, 0x64, 0x67, 0x26};

TEST_F(PtyPortTest, StreamStartFrameCarriesTheCountSixTimes) {
  const Bytes frame{0x80, 0x65, 4, 4, 4, 4, 4, 4, 0x65, 0x64, 0x67, 0x26, 0x53, 0x02};
  device_.Expect(frame, kAck);
  EXPECT_EQ(BeginAsyncWren(kPort, 4, kSignalList), 0);
  device_.Expect(frame, {0x22});
  EXPECT_EQ(BeginAsyncWren(kPort, 4, kSignalList), -1);
  device_.Expect(frame, {});
  EXPECT_EQ(BeginAsyncWren(kPort, 4, kSignalList), -1);
}

TEST_F(PtyPortTest, StreamedRecordsAreReadBehindTheirMarkers) {
  device_.Expect({0x80, 0x65, 2, 2, 2, 2, 2, 2, 0x67, 0x68, 0xC0, 0x01},
                 {0x90, 0xFF, 0xFF, 0x01, 0x00, 0x02, 0x00, 0xFF, 0xFF, 0x03, 0x00, 0x04, 0x80});
  const uint8_t list[] = {0x67, 0x68};
  ASSERT_EQ(BeginAsyncWren(kPort, 2, list), 0);
  uint16_t values[2] = {};
  ASSERT_EQ(ReadAsyncWren(kPort, 2, values), 0);
  EXPECT_EQ(values[0], 1);
  EXPECT_EQ(values[1], 2);
  ASSERT_EQ(ReadAsyncWren(kPort, 2, values), 0);
  EXPECT_EQ(values[1], 0x8004);
}

TEST_F(PtyPortTest, WithNothingArrivingARecordReadCostsTwoTimeouts) {
  uint16_t values[4] = {};
  const auto start = Clock::now();
  EXPECT_EQ(ReadAsyncWren(kPort, 4, values), -1);
  EXPECT_GE(MsSince(start), 200);
}

TEST_F(PtyPortTest, StopRunsAreTwoBytesAWordPlusFiveAtMostTwoHundred) {
  for (auto [n, length] : {std::pair{4, 13}, {10, 25}, {100, 200}, {0, 5}}) {
    device_.ClearLog();
    EXPECT_EQ(EndAsync(kPort, n), length);
    EXPECT_EQ(Sent(length), Bytes(length, 0xA5));
  }
  EXPECT_EQ(EndAsync(kPort, -1), -1);
  device_.ClearLog();
  EXPECT_EQ(EndLissMode(kPort), 0);
  EXPECT_EQ(Sent(13), Bytes(13, 0xA5));
}

TEST_F(PtyPortTest, LissajousModeStartsWithABareFrameAndReordersThePoint) {
  device_.Expect({0x80, 0x65, 4, 4, 0, 0, 0, 0, 0xED, 0x00},
                 {0x90, 0xFF, 0xFF, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00});
  ASSERT_EQ(BeginLissMode(kPort), 0);
  uint16_t a = 0, b = 0, c = 0, d = 0;
  ASSERT_EQ(ReadLissPoint(kPort, &a, &b, &c, &d), 0);
  EXPECT_EQ(b, 1);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(c, 3);
  EXPECT_EQ(d, 4);
}

TEST_F(PtyPortTest, RawTransferFramesNothing) {
  const uint8_t out[] = {1, 2, 3};
  EXPECT_EQ(WriteRs232Data(kPort, 3, out), 3);
  EXPECT_EQ(Sent(3), (Bytes{1, 2, 3}));
  pty_.Write({7, 8});
  uint8_t in[4] = {};
  int32_t count = 0;
  EXPECT_EQ(ReadRs232Data(kPort, 4, in, &count), -1) << "fewer than asked for";
  EXPECT_EQ(count, 2);
  EXPECT_EQ(in[1], 8);
}

TEST_F(PtyPortTest, APseudoTerminalRefusesTheDtrPulse) { EXPECT_EQ(SystemReset(kPort), -1); }

TEST_F(MemoryLineTest, TheMarkerHuntSkipsStrayBytesAndFalseStarts) {
  uint16_t values[2] = {};
  line_->Feed(Bytes{0x12, 0xFF, 0x34, 0xFF, 0xFF, 0x01, 0x00, 0x02, 0x00});
  ASSERT_EQ(ReadAsyncWren(kPort, 2, values), 0);
  EXPECT_EQ(values[0], 1);
  EXPECT_EQ(values[1], 2);

  line_->Feed(Bytes{0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x02});
  ASSERT_EQ(ReadAsyncWren(kPort, 2, values), 0);
  EXPECT_EQ(values[0], 0x01FF) << "the third 0xFF is the first data byte";
  EXPECT_EQ(values[1], 0x0200);
}

TEST_F(MemoryLineTest, AnIdleLineCostsExactlyTwoReadsAndAShortRecordFails) {
  uint16_t values[4] = {};
  EXPECT_EQ(ReadAsyncWren(kPort, 4, values), -1);
  EXPECT_EQ(line_->reads, 2);
  line_->Feed(Bytes{0xFF, 0xFF, 0x01, 0x00, 0x02});
  EXPECT_EQ(ReadAsyncFinch(kPort, 4, values), -1);
}

TEST_F(MemoryLineTest, AStreamWithoutMarkersDoesNotHoldTheCallerForever) {
  line_->Feed(Bytes(100000, 0x00));
  uint16_t values[4] = {};
  EXPECT_EQ(ReadAsyncWren(kPort, 4, values), -1);
  EXPECT_LT(line_->reads, 2000);
  EXPECT_GT(line_->Pending(), 90000u);
}

TEST_F(MemoryLineTest, StreamCallsRefuseListsTheyCannotCarry) {
  uint8_t list[71] = {};
  uint16_t values[71] = {};
  EXPECT_EQ(BeginAsyncWren(kPort, 71, list), -1);
  EXPECT_EQ(BeginAsyncFinch(kPort, 0, list), -1);
  EXPECT_EQ(BeginAsyncWren(kPort, 4, nullptr), -1);
  EXPECT_EQ(ReadAsyncWren(kPort, 71, values), -1);
  EXPECT_EQ(ReadAsyncWren(kPort, -3, values), -1);
  EXPECT_EQ(ReadLissPoint(kPort, nullptr, nullptr, nullptr, nullptr), -1);
  EXPECT_EQ(WriteRs232Data(kPort, -1, nullptr), -1);
  EXPECT_EQ(ReadRs232Data(kPort, 5, nullptr, nullptr), -1);
  EXPECT_TRUE(line_->writes.empty());

  line_->Feed(kAck);
  EXPECT_EQ(BeginAsyncFinch(kPort, 70, list), 0);
  EXPECT_EQ(line_->writes.back().size(), 80u);
  EXPECT_EQ(line_->writes.back()[1], 0xA8);
}

TEST_F(MemoryLineTest, SystemResetPulsesDtrForThreeHundredMilliseconds) {
  const auto start = Clock::now();
  ASSERT_EQ(SystemReset(kPort), 0);
  EXPECT_GE(MsSince(start), 300);
  ASSERT_EQ(line_->settings.size(), 3u);
  const uint32_t dtr[] = {DTR_CONTROL_DISABLE, DTR_CONTROL_ENABLE, DTR_CONTROL_DISABLE};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(line_->settings[i].fDtrControl, dtr[i]);
    EXPECT_EQ(line_->settings[i].fRtsControl, static_cast<uint32_t>(RTS_CONTROL_ENABLE));
  }
}

TEST_F(MemoryLineTest, SystemResetNamesTheLineChangeThatWasRefused) {
  using probelink::LineApply;
  line_->lineResults = {LineApply::NoModemLines};
  EXPECT_EQ(SystemReset(kPort), -1);
  line_->lineResults = {LineApply::Applied, LineApply::Refused};
  EXPECT_EQ(SystemReset(kPort), -2);
  line_->lineResults = {LineApply::Applied, LineApply::Applied, LineApply::Refused};
  EXPECT_EQ(SystemReset(kPort), -3);
}

}  // namespace

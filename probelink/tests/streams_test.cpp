// Stream records and the marker hunt, stop runs and the DTR reset;
// the stream starts are with the other frames in frames_test.
#include "memory_line_fixture.h"

namespace {

using Words = std::vector<uint16_t>;

TEST_F(MemoryLineTest, RecordsAreReadBehindTheirMarkersPastStrayBytesAndFalseStarts) {
  uint16_t v[4] = {};
  line_->Feed({0x90, 0x12, 0xFF, 0x34, 0xFF, 0xFF, 0x01, 0x00, 0x04, 0x80});
  ASSERT_EQ(ReadAsyncWren(kPort, 2, v), 0);
  EXPECT_EQ(Words(v, v + 2), (Words{1, 0x8004}));
  line_->Feed({0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x02});
  ASSERT_EQ(ReadAsyncFinch(kPort, 2, v), 0);
  EXPECT_EQ(Words(v, v + 2), (Words{0x01FF, 0x0200})) << "the third 0xFF is a data byte";
  line_->Feed({0xFF, 0xFF, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00});
  ASSERT_EQ(ReadLissPoint(kPort, &v[0], &v[1], &v[2], &v[3]), 0);
  EXPECT_EQ(Words(v, v + 4), (Words{2, 1, 3, 4})) << "a point's first two values swap";
  line_->Feed({0xFF, 0xFF, 0x01, 0x00, 0x02});
  EXPECT_EQ(ReadAsyncWren(kPort, 2, v), -1) << "a short record";
  line_->readTimeouts.clear();
  EXPECT_EQ(ReadAsyncWren(kPort, 2, v), -1);
  EXPECT_EQ(line_->readTimeouts.size(), 2u) << "an idle line costs exactly two time-outs";
  line_->gone = true;
  line_->readTimeouts.clear();
  EXPECT_EQ(ReadAsyncWren(kPort, 2, v), -1);
  EXPECT_EQ(line_->readTimeouts.size(), 1u) << "a device gone is not read again";
  line_->gone = false;
  line_->Feed(Bytes(100000, 0x00));
  EXPECT_EQ(ReadAsyncWren(kPort, 2, v), -1) << "the hunt for a marker is bounded";
  EXPECT_LT(line_->readTimeouts.size(), 2000u);
  EXPECT_GT(line_->Pending(), 90000u);
}

TEST_F(MemoryLineTest, StopRunsAreTwoBytesAValuePlusFiveAtMostTwoHundred) {
  for (auto [n, length] : {std::pair{4, 13}, {0, 5}, {97, 199}, {98, 200}, {100, 200}}) {
    EXPECT_EQ(EndAsync(kPort, n), length);
    EXPECT_EQ(line_->writes.back(), Bytes(length, 0xA5));
  }
  EXPECT_EQ(EndAsync(kPort, -1), -1);
  EXPECT_EQ(EndLissMode(kPort), 0);
  EXPECT_EQ(line_->writes.back(), Bytes(13, 0xA5));
}

TEST_F(MemoryLineTest, StreamAndRawCallsRefuseWhatTheyCannotCarry) {
  uint8_t list[71] = {};
  uint16_t w[71] = {};
  line_->Feed(Bytes(200, 0xFF));
  for (const auto& call :
       {Call(BeginAsyncWren, 71, list), Call(BeginAsyncFinch, 0, list),
        Call(BeginAsyncWren, 4, nullptr), Call(ReadAsyncWren, 71, w), Call(ReadAsyncFinch, 0, w),
        Call(ReadAsyncWren, 4, nullptr), Call(ReadLissPoint, w, nullptr, w, w),
        Call(WriteRs232Data, -1, list), Call(WriteRs232Data, 5, nullptr),
        Call(ReadRs232Data, 5, nullptr, nullptr)})
    EXPECT_EQ(call(kPort), -1);
  EXPECT_TRUE(line_->writes.empty());
  EXPECT_EQ(line_->Pending(), 200u) << "nothing was read either";
}

TEST_F(MemoryLineTest, SystemResetPulsesDtrForThreeHundredMilliseconds) {
  const auto start = Clock::now();
  ASSERT_EQ(SystemReset(kPort), 0);
  EXPECT_GE(Clock::now() - start, 300ms);
  ASSERT_EQ(line_->settings.size(), 3u);
  const auto& s = line_->settings;
  EXPECT_EQ(std::tuple(+s[0].fDtrControl, +s[1].fDtrControl, +s[2].fDtrControl),
            std::tuple(0u, 1u, 0u));
  EXPECT_EQ(s[0].fRtsControl + s[1].fRtsControl + s[2].fRtsControl, 3u) << "RTS held on";
  for (int32_t i = 0; i < 3; ++i) {  // the result names the line change refused
    line_->lineResults.assign(i, LineApply::Applied);
    line_->lineResults.push_back(i == 1 ? LineApply::Refused : LineApply::NoModemLines);
    EXPECT_EQ(SystemReset(kPort), -1 - i);
  }
}

}  // namespace

// The bytes on the line: exact replies, sync bytes told from frames,
// checksum failures and stray bytes.
#include <gtest/gtest.h>

#include "emulator_fixture.h"
#include "test_frames.h"

namespace veritrak {
namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kStatusRead{0x80, 0x51, 0x04, 0x04, 0x00, 0x40, 0x02, 0x00, 0x1B, 0x01};
// 0x90, the command, count 2, the power-on status setup 0x0011, the checksum.
const Bytes kStatusReply{0x90, 0x51, 0x02, 0x00, 0x11, 0x00, 0xF4, 0x00};

class Wire : public EmulatorOnPort {
 protected:
  void SetUp() override { Serve(); }
};

TEST_F(Wire, StatusReadGetsItsReplyByteForByte) {
  EXPECT_EQ(Exchange(kStatusRead, 8), kStatusReply);
  EXPECT_TRUE(LineQuiet());
}

TEST_F(Wire, LoneStartByteIsAnsweredAndAFrameStartIsNot) {
  EXPECT_EQ(Exchange({0x80}, 1), Bytes{0x90});
  EXPECT_EQ(Exchange(kStatusRead, 9), kStatusReply) << "no sync answer ahead of the reply";
}

TEST_F(Wire, InformationReadAnswersWithTheCountAsked) {
  const Bytes reply = Exchange(Framed(0x60, {0x00, 0x00, 0x04, 0x00}), 10);
  EXPECT_EQ(reply, (Bytes{0x90, 0x60, 0x04, 0x00, 0x12, 0x05, 0x00, 0x00, 0x0B, 0x01}));
}

TEST_F(Wire, WriteIsAcknowledgedWithOneByte) {
  EXPECT_EQ(Exchange(Framed(0x50, {0x03, 0x00, 0x82, 0x00}), 2), Bytes{0x90});
}

TEST_F(Wire, FrameWithAWrongChecksumGetsNoAnswer) {
  Bytes bad = kStatusRead;
  bad[8] += 1;
  EXPECT_TRUE(Exchange(bad, 1).empty());
  bad = kStatusRead;
  bad[5] ^= 0x01;  // payload changed, checksum kept
  EXPECT_TRUE(Exchange(bad, 1).empty());
  EXPECT_EQ(Exchange(kStatusRead, 8), kStatusReply);
}

TEST_F(Wire, BadFrameFollowedAtOnceByAGoodOneAnswersOnlyTheGoodOne) {
  Bytes both = kStatusRead;
  both[9] ^= 0xFF;
  both.insert(both.end(), kStatusRead.begin(), kStatusRead.end());
  EXPECT_EQ(Exchange(both, 9), kStatusReply);
}

TEST_F(Wire, StrayBytesAreSkippedUntilTheNextStartByte) {
  Bytes stray{0xA5, 0x12, 0x90, 0xFF};
  stray.insert(stray.end(), kStatusRead.begin(), kStatusRead.end());
  EXPECT_EQ(Exchange(stray, 9), kStatusReply);
}

TEST_F(Wire, UnknownCommandsAndMisshapenRequestsGoUnanswered) {
  EXPECT_TRUE(Exchange(Framed(0x77, {0, 0, 2, 0}), 1).empty());
  EXPECT_TRUE(Exchange(Framed(0x51, {0, 0, 0x21}), 1).empty());
  EXPECT_TRUE(Exchange(Framed(0x50, {1, 2}), 1).empty());
  EXPECT_EQ(DoSynchronize(kPort), 1);
}

TEST_F(Wire, FramesWrittenTogetherAreAnsweredInOrder) {
  Bytes two = Framed(0x51, {0x00, 0x00, 0x03, 0x00});
  const Bytes second = Framed(0x63, {0x00, 0x00, 0x02, 0x00});
  two.insert(two.end(), second.begin(), second.end());
  const Bytes replies = Exchange(two, 16);
  ASSERT_EQ(replies.size(), 16u);
  EXPECT_EQ(replies[1], 0x51);
  EXPECT_EQ(replies[9], 0x63);
}

TEST_F(Wire, BaseBlockWriteIsAcknowledged) {
  EXPECT_EQ(Exchange(Framed(0x50, {0xC0, 0x45, 0x02, 0x00, 0x45, 0xC0}), 1), Bytes{0x90});
}

}  // namespace
}  // namespace veritrak

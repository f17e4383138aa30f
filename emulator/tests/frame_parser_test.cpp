#include "frame_parser.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_frames.h"

namespace veritrak {
namespace {

using namespace std::chrono_literals;

constexpr auto kGap = 2ms;

TimePoint At(std::chrono::microseconds t) { return TimePoint{} + 1s + t; }

class FrameParserTest : public ::testing::Test, public FrameSink {
 protected:
  void OnLoneSync(TimePoint at) override { syncs.push_back(at); }
  void OnFrame(const Frame& frame, TimePoint) override { frames.push_back(frame); }

  void Feed(const std::vector<uint8_t>& bytes, TimePoint at,
            std::chrono::nanoseconds spacing = 0ns) {
    for (const uint8_t b : bytes) {
      parser.Feed(b, at);
      at += spacing;
    }
  }

  FrameParser parser{kGap, *this};
  std::vector<TimePoint> syncs;
  std::vector<Frame> frames;
};

TEST_F(FrameParserTest, FrameWhoseBytesFollowAtOnceIsAFrameNotASync) {
  Feed({0x80, 0x51, 0x04, 0x04, 0x00, 0x40, 0x02, 0x00, 0x1B, 0x01}, At(0us));
  parser.Expire(At(10ms));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].command, 0x51);
  EXPECT_EQ(frames[0].payload, (std::vector<uint8_t>{0x00, 0x40, 0x02, 0x00}));
  EXPECT_FALSE(frames[0].streamStart);
  EXPECT_TRUE(syncs.empty());
  EXPECT_FALSE(parser.Deadline());
}

TEST_F(FrameParserTest, FrameAtThePacedWireRateIsAFrame) {
  Feed(Framed(0x51, {0x00, 0x00, 0x21, 0x00}), At(0us), kPacedByteTime);
  EXPECT_EQ(frames.size(), 1u);
  EXPECT_TRUE(syncs.empty());
}

TEST_F(FrameParserTest, LoneStartByteIsASyncOnceTheGapHasPassed) {
  parser.Feed(kStartByte, At(0us));
  ASSERT_EQ(parser.Deadline(), At(2ms));
  parser.Expire(At(1900us));
  EXPECT_TRUE(syncs.empty());
  parser.Expire(At(2ms));
  ASSERT_EQ(syncs.size(), 1u);
  EXPECT_EQ(syncs[0], At(2ms));
  EXPECT_TRUE(frames.empty());
  EXPECT_FALSE(parser.Deadline());
}

TEST_F(FrameParserTest, ByteAfterTheGapSettlesTheSyncAndStartsAfresh) {
  parser.Feed(kStartByte, At(0us));
  Feed(Framed(0x60, {0, 0, 2, 0}), At(5ms));
  EXPECT_EQ(syncs.size(), 1u);
  EXPECT_EQ(frames.size(), 1u);
}

TEST_F(FrameParserTest, WrongChecksumGetsNothingAndTheNextFrameIsParsed) {
  std::vector<uint8_t> bad = Framed(0x51, {0x00, 0x40, 0x02, 0x00});
  bad[8] += 1;
  Feed(bad, At(0us));
  EXPECT_TRUE(frames.empty());
  Feed(Framed(0x51, {0x00, 0x00, 0x69, 0x00}), At(0us));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].payload[2], 0x69);
  parser.Expire(At(10ms));
  EXPECT_TRUE(syncs.empty());
}

TEST_F(FrameParserTest, StrayBytesAreSkippedUntilAStartByte) {
  Feed({0xA5, 0xA5, 0x12, 0x90}, At(0us));
  EXPECT_FALSE(parser.Deadline());
  Feed(Framed(0x63, {0, 0, 4, 0}), At(0us));
  EXPECT_EQ(frames.size(), 1u);
}

TEST_F(FrameParserTest, HeaderWithDifferingLengthBytesIsRescannedForAStart) {
  // A doubled start byte: the first header reads 80 80 51 04 and is no frame.
  std::vector<uint8_t> bytes{kStartByte};
  const std::vector<uint8_t> frame = Framed(0x51, {0x00, 0x00, 0x20, 0x00});
  bytes.insert(bytes.end(), frame.begin(), frame.end());
  Feed(bytes, At(0us));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].payload[2], 0x20);
}

TEST_F(FrameParserTest, StalledFrameIsAbandonedWithoutASync) {
  Feed({0x80, 0x51, 0x04}, At(0us));
  parser.Expire(At(3ms));
  EXPECT_TRUE(syncs.empty());
  EXPECT_FALSE(parser.Deadline());
  parser.Feed(kStartByte, At(10ms));
  parser.Expire(At(20ms));
  EXPECT_EQ(syncs.size(), 1u);
  EXPECT_TRUE(frames.empty());
}

TEST_F(FrameParserTest, StreamStartCarriesItsCountSixTimes) {
  Feed({0x80, 0x65, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x65, 0x64, 0x67, 0x26, 0x53, 0x02},
       At(0us));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_TRUE(frames[0].streamStart);
  EXPECT_EQ(frames[0].payload, (std::vector<uint8_t>{0x65, 0x64, 0x67, 0x26}));
}

TEST_F(FrameParserTest, BareLissajousStartIsAPlainFrame) {
  Feed({0x80, 0x65, 0x04, 0x04, 0x00, 0x00, 0x00, 0x00, 0xED, 0x00}, At(0us));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_FALSE(frames[0].streamStart);
  EXPECT_EQ(frames[0].payload, (std::vector<uint8_t>(4, 0)));
}

TEST_F(FrameParserTest, FinchStreamStartOfSixRegisters) {
  std::vector<uint8_t> f{0x80, 0xA8, 6, 6, 6, 6, 6, 6, 0x65, 0x64, 0x69, 0x68, 0x67, 0x00};
  const uint16_t sum = Checksum16(f);
  f.push_back(static_cast<uint8_t>(sum));
  f.push_back(static_cast<uint8_t>(sum >> 8));
  Feed(f, At(0us));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].command, 0xA8);
  EXPECT_TRUE(frames[0].streamStart);
  EXPECT_EQ(frames[0].payload.size(), 6u);
}

TEST_F(FrameParserTest, StreamStartOfOneRegister) {
  Feed({0x80, 0x65, 1, 1, 1, 1, 1, 1, 0x21, 0x0C, 0x01}, At(0us));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_TRUE(frames[0].streamStart);
  EXPECT_EQ(frames[0].payload, std::vector<uint8_t>{0x21});
}

TEST_F(FrameParserTest, LongestPayloadIsParsed) {
  std::vector<uint8_t> payload(255);
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i);
  Feed(Framed(0x70, payload), At(0us));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].payload, payload);
}

}  // namespace
}  // namespace veritrak

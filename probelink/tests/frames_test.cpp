// Frames on the wire, reply judgement and the synchronisation handshake.
#include <algorithm>

#include "fixtures.h"

namespace {

const Bytes kStatusRequest{0x80, 0x51, 0x04, 0x04, 0x00, 0x40, 0x02, 0x00, 0x1B, 0x01};

size_t CountOf(const Bytes& bytes, uint8_t value) {
  return static_cast<size_t>(std::count(bytes.begin(), bytes.end(), value));
}

TEST_F(PtyPortTest, StatusReadSendsTheWorkedExampleAndDecodesTheReply) {
  device_.Expect(kStatusRequest, Reply16(0xBEEF));
  EXPECT_EQ(ReadStatus(kPort), 0xBEEF);
  EXPECT_EQ(Sent(10), kStatusRequest);
}

TEST_F(PtyPortTest, RepliesAreJudgedByTheirFirstByteAndChecksum) {
  Bytes offByOne = Reply16(0x1234);
  offByOne[6]++;
  device_.Expect(kStatusRequest, offByOne);
  EXPECT_EQ(ReadStatus(kPort), -1);

  Bytes wrongStart = DataReply({0x34, 0x12});
  wrongStart[0] = 0x91;
  wrongStart[6]++;  // checksum right for the altered byte
  ASSERT_EQ(ClearRxBuffer(kPort), 0);
  device_.Expect(kStatusRequest, wrongStart);
  EXPECT_EQ(ReadStatus(kPort), -1);

  device_.Expect(kStatusRequest, Reply16(0x1234));
  EXPECT_EQ(ReadStatus(kPort), 0x1234);
}

TEST_F(PtyPortTest, ALongerReplyIsJudgedOnItsFrameAndTheRestStaysQueued) {
  Bytes reply = Reply16(7);
  reply.push_back(0xAA);
  reply.push_back(0xBB);
  device_.Expect(kStatusRequest, reply);
  EXPECT_EQ(ReadStatus(kPort), 7);
  uint8_t rest[2] = {};
  int32_t count = 0;
  EXPECT_EQ(ReadRs232Data(kPort, 2, rest, &count), 1);
  EXPECT_EQ(rest[0], 0xAA);
  EXPECT_EQ(rest[1], 0xBB);
}

TEST_F(PtyPortTest, AMissingOrShortReplyFailsAfterTheTimeout) {
  device_.Expect(kStatusRequest, {});
  auto start = Clock::now();
  EXPECT_EQ(ReadStatus(kPort), -1);
  EXPECT_GE(MsSince(start), 100);

  device_.Expect(kStatusRequest, {0x90, 0, 0, 0, 0x34});
  EXPECT_EQ(ReadStatus(kPort), -1);
}

TEST_F(PtyPortTest, SendSyncTellsInStepFromAnyOtherAnswer) {
  device_.Expect(kSync, {0x90});
  EXPECT_EQ(SendSync(kPort), 0);
  device_.Expect(kSync, {0x91});
  EXPECT_EQ(SendSync(kPort), -1);
  device_.Expect(kSync, {});
  EXPECT_EQ(SendSync(kPort), -1);
}

TEST_F(PtyPortTest, SynchronisingWithNothingAttachedGivesUpAfterThirteenSyncs) {
  // A long caller time-out makes it plain whether the 50 ms one was in force.
  ASSERT_EQ(ConfigPort(kPort, 1000, 38400), 0);
  const auto start = Clock::now();
  EXPECT_EQ(DoSynchronize(kPort), 0);
  const double elapsed = MsSince(start);
  const Bytes sent = device_.Received();
  EXPECT_EQ(sent.size(), 13u);
  EXPECT_EQ(CountOf(sent, 0x80), 13u);
  EXPECT_GE(elapsed, 13 * 50) << "each attempt waits the 50 ms time-out";
  EXPECT_LT(elapsed, 13 * 500) << "the caller's 1000 ms time-out must not be in force";
  int32_t timeout = 0, baud = 0;
  ASSERT_EQ(GetPortConfig(kPort, &timeout, &baud), 0);
  EXPECT_EQ(timeout, 1000) << "the caller's time-out is restored";
  EXPECT_EQ(baud, 38400);
}

TEST_F(PtyPortTest, SynchronisingStopsAtTheFirstAnswerAndDropsStaleBytes) {
  pty_.Write({0x90, 0x90, 0x90});  // stale bytes of an earlier exchange
  ASSERT_TRUE(WaitUntil([&] { return pty_.SlaveInputQueued() == 3; }));
  device_.Expect(kSync, {});
  device_.Expect(kSync, {0x55});
  device_.Expect(kSync, {0x90});
  EXPECT_EQ(DoSynchronize(kPort), 1);
  EXPECT_EQ(device_.Received(), Bytes(3, 0x80));
  int32_t timeout = 0, baud = 0;
  ASSERT_EQ(GetPortConfig(kPort, &timeout, &baud), 0);
  EXPECT_EQ(timeout, 100);
}

TEST_F(PtyPortTest, SyncAndReadAndWriteSpeakEachFamily) {
  uint16_t value = 0;
  device_.Expect(kSync, kAck);
  device_.Expect({0x80, 0x51, 4, 4, 0x00, 0x00, 0x20, 0x00, 0xF9, 0x00}, Reply16(0x00A0));
  EXPECT_EQ(SyncAndRead(kPort, 1, 0x200000, &value), 1);
  EXPECT_EQ(value, 0x00A0);

  device_.Expect(kSync, kAck);
  device_.Expect({0x80, 0xA4, 4, 4, 0x00, 0x00, 0x21, 0x00, 0x4D, 0x01}, Reply16(0x0204));
  EXPECT_EQ(SyncAndRead(kPort, 2, 0x210000, &value), 1);
  EXPECT_EQ(value, 0x0204);

  // Base family: only the low 16 bits, as a read request of that address.
  device_.Expect(kSync, kAck);
  device_.Expect(kStatusRequest, Reply16(0x0011));
  EXPECT_EQ(SyncAndRead(kPort, 0, 0xAB4000, &value), 1);
  EXPECT_EQ(value, 0x0011);

  // Wren and Finch writes lose the top 8 bits of the word.
  device_.Expect(kSync, kAck);
  device_.Expect({0x80, 0x50, 4, 4, 0x14, 0x00, 0x80, 0x00, 0x6C, 0x01}, kAck);
  EXPECT_EQ(SyncAndWrite(kPort, 1, 0xAB800014), 1);
  device_.Expect(kSync, kAck);
  device_.Expect({0x80, 0xA3, 4, 4, 0x30, 0x00, 0x83, 0x00, 0xDE, 0x01}, kAck);
  EXPECT_EQ(SyncAndWrite(kPort, 2, 0xFF830030), 1);

  // Base family write: low 16 bits, address swapped.
  device_.Expect(kSync, kAck);
  device_.Expect({0x80, 0x50, 6, 6, 0x56, 0x78, 0x02, 0x00, 0x78, 0x56, 0x7A, 0x02}, kAck);
  EXPECT_EQ(SyncAndWrite(kPort, 0, 0x12345678), 1);

  device_.Expect(kSync, kAck);
  device_.Expect({0x80, 0x50, 4, 4, 0x14, 0x00, 0x80, 0x00, 0x6C, 0x01}, {0x91});
  EXPECT_EQ(SyncAndWrite(kPort, 1, 0x800014), 0) << "a refused write is a failure";
}

TEST_F(PtyPortTest, UnknownFamiliesAndFailedSynchronisationSendNoCommand) {
  uint16_t value = 0;
  EXPECT_EQ(SyncAndRead(kPort, 3, 0x200000, &value), 0);
  EXPECT_EQ(SyncAndWrite(kPort, -1, 0x800014), 0);
  EXPECT_EQ(SyncAndRead(kPort, 1, 0x200000, nullptr), 0);
  EXPECT_TRUE(device_.Received().empty());

  EXPECT_EQ(SyncAndWrite(kPort, 1, 0x800014), 0);
  EXPECT_EQ(device_.Received(), Bytes(13, 0x80)) << "only the sync attempts went out";
}

TEST(LibraryVersion, IsNine) { EXPECT_EQ(DLLVersion(), 9); }

}  // namespace

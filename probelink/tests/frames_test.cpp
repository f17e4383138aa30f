// Every command's frame and the judgement of its answer, the synchronisation
// handshake and the synchronised family calls.
#include "fixtures.h"

namespace {

// The worked example, spelled out rather than built, to pin the checksum.
const Bytes kStatusRequest{0x80, 0x51, 0x04, 0x04, 0x00, 0x40, 0x02, 0x00, 0x1B, 0x01};

Bytes Changed(Bytes bytes, size_t at, int delta, size_t at2 = 0, int delta2 = 0) {
  bytes[at] = static_cast<uint8_t>(bytes[at] + delta);
  bytes[at2] = static_cast<uint8_t>(bytes[at2] + delta2);
  return bytes;
}

TEST_F(MemoryLineTest, RepliesAreJudgedByLengthFirstByteAndBothChecksumBytes) {
  const Bytes good = Reply16(0x1234);
  std::vector<std::pair<Bytes, int32_t>> cases = {
      {good, 0x1234},
      {Changed(good, 4, 1, 6, 1), 0x1235},
      {Changed(good, 6, 1), -1},
      {Changed(good, 7, 1), -1},
      {Changed(good, 0, 1, 6, 1), -1}};  // checksum kept right
  for (size_t cut = 0; cut < good.size(); ++cut) cases.push_back({{good.data(), &good[cut]}, -1});
  for (const auto& [reply, result] : cases) {
    line_->Feed(reply);
    EXPECT_EQ(ReadStatus(kPort), result) << ::testing::PrintToString(reply);
    EXPECT_EQ(line_->writes.back(), kStatusRequest);
    line_->PurgeQueues(probelink::Purge::Rx);
  }
  line_->Feed(Reply32(0x12345678));
  line_->Feed({0xAA, 0xBB});
  EXPECT_EQ(ReadPowerOnTime(kPort), 0x12345678);
  EXPECT_EQ(line_->Pending(), 2u) << "what follows the reply stays queued";
}

// A read that stores its value, seen as one that returns it.
template <class Word>
std::function<int32_t(int32_t)> Stored(int32_t (*read)(int32_t, Word, uint16_t*), Word word) {
  return [=](int32_t port) {
    uint16_t value = 0;
    const int32_t result = read(port, word, &value);
    return result < 0 ? result : value;
  };
}

TEST_F(MemoryLineTest, EachCommandSendsItsFrameAndDecodesItsAnswer) {
  const int32_t kNegative = static_cast<int32_t>(0x80012345);  // 32-bit values pass whole
  const uint8_t list[70] = {0x65, 0x64, 0x67, 0x26};
  Bytes finch(6, 70);  // a stream start carries its count six times, then the list
  finch.insert(finch.end(), list, list + 70);
  // clang-format off
  const std::tuple<std::function<int32_t(int32_t)>, Bytes, Bytes, int32_t> cases[] = {
    {ReadMSPVersion, Reply16(0xBEEF), Request(0x60, {0, 0, 2, 0}), 0xBEEF},
    {ReadPowerOnTime, Reply32(0x80012345), Request(0x62, {0, 0, 4, 0}), kNegative},
    {ReadPowerOnCycles, Reply32(0x80012345), Request(0x63, {0, 0, 4, 0}), kNegative},
    {ReadMSPVersion_M, Reply16(0xBEEF), Request(0x80, {0, 0, 2, 0}), 0xBEEF},
    {ReadMSPChecksum_M, Reply16(0xBEEF), Request(0x81, {0, 0, 2, 0}), 0xBEEF},
    {ReadPowerOnTime_M, Reply32(0x80012345), Request(0x82, {0, 0, 4, 0}), kNegative},
    {ReadPowerOnCycles_M, Reply32(0x80012345), Request(0x83, {0, 0, 4, 0}), kNegative},
    {Stored(ReadRegister, uint16_t{0x4C00}), Reply16(0x8001), Request(0x51, {0, 0x4C, 2, 0}), 0x8001},
    {Stored(ReadRegisterWren, 0x210000u), Reply16(0x8001), Request(0x51, {0, 0, 0x21, 0}), 0x8001},
    {Stored(ReadRegisterFinch, 0x210000u), Reply16(0x8001), Request(0xA4, {0, 0, 0x21, 0}), 0x8001},
    {Call(WriteRegister, 0x1234), kAck, Request(0x50, {0x12, 0x34, 2, 0, 0x34, 0x12}), 0},
    {Call(WriteInterpReg, 0x0123), kAck, Request(0x50, {0x23, 0xF1, 2, 0, 0x23, 0xF1}), 0},
    {Call(WriteIndexAngleReg, 0x45), kAck, Request(0x50, {0x45, 0xE0, 2, 0, 0x45, 0xE0}), 0},
    {Call(WriteGenReg, 0x45), kAck, Request(0x50, {0xC0, 0x45, 2, 0, 0x45, 0xC0}), 0},
    {Call(WriteStateFreqReg, 3), kAck, Request(0x50, {0xC1, 3, 2, 0, 3, 0xC1}), 0},
    {Call(WriteRegisterWren, 0x800014), kAck, Request(0x50, {0x14, 0, 0x80, 0}), 0},
    {Call(WriteRegisterFinch, 0x830030), kAck, Request(0xA3, {0x30, 0, 0x83, 0}), 0},
    {Call(WriteEpotValues, 0x1234), kAck, Request(0x90, {0, 0, 2, 0, 0x34, 0x12}), 0},
    {FlashEpot, kAck, Request(0x92, {0, 0, 0, 0}), 0},
    {Call(BeginAsyncWren, 4, list), kAck, {0x80, 0x65, 4, 4, 4, 4, 4, 4, 0x65, 0x64, 0x67, 0x26, 0x53, 2}, 0},
    {Call(BeginAsyncFinch, 70, list), kAck, Framed({0x80, 0xA8}, finch), 0},
    {BeginLissMode, kAck, Request(0x65, {0, 0, 0, 0}), 0},
    {SoftwareSystemReset, {}, Request(0x64, {0, 0, 0, 0}), 0},  // nothing is awaited while
    {SoftwareReset_M, {}, Request(0x84, {0, 0, 0, 0}), 0}};     // the electronics restart
  // clang-format on
  for (const auto& [call, answer, request, result] : cases) {
    const size_t reads = line_->readTimeouts.size();
    line_->Feed(answer);
    EXPECT_EQ(call(kPort), result) << ::testing::PrintToString(request);
    EXPECT_EQ(line_->writes.back(), request);
    EXPECT_EQ(line_->readTimeouts.size() - reads, answer.empty() ? 0u : 1u);
    if (answer.empty()) continue;
    line_->Feed(answer == kAck ? Bytes{0x91} : Bytes(answer.begin(), answer.end() - 1));
    EXPECT_EQ(call(kPort), -1) << "refused or short: " << ::testing::PrintToString(request);
  }
}

TEST_F(MemoryLineTest, SendSyncTellsInStepFromAnyOtherAnswer) {
  for (const auto& [answer, result] : {std::pair{kAck, 0}, {Bytes{0x91}, -1}, {Bytes{}, -1}}) {
    line_->Feed(answer);
    EXPECT_EQ(SendSync(kPort), result);
    EXPECT_EQ(line_->writes.back(), Bytes{0x80});
  }
}

TEST_F(MemoryLineTest, SynchronisingTriesThirteenTimesAtFiftyMillisecondsThenRestores) {
  ASSERT_EQ(ConfigPort(kPort, 1000, 19200), 0);
  EXPECT_EQ(DoSynchronize(kPort), 0);
  EXPECT_EQ(line_->writes, std::vector<Bytes>(13, Bytes{0x80}));
  EXPECT_EQ(line_->readTimeouts, std::vector<uint32_t>(13, 50));
  int32_t timeout = 0, baud = 0;
  ASSERT_EQ(GetPortConfig(kPort, &timeout, &baud), 0);
  EXPECT_EQ(std::pair(timeout, baud), std::pair(1000, 19200)) << "the caller's setting is back";

  line_->writes.clear();
  line_->Feed({0x90, 0x90, 0x90});  // left over from an earlier exchange
  std::deque<Bytes> answers{{}, {0x55}, {0x90}};
  line_->onWrite = [&](std::span<const uint8_t>) {
    line_->Feed(answers.front());
    answers.pop_front();
  };
  EXPECT_EQ(DoSynchronize(kPort), 1);
  EXPECT_EQ(line_->writes.size(), 3u) << "stale bytes dropped, and done at the first answer";
}

TEST_F(MemoryLineTest, SyncAndReadAndWriteSpeakEachFamilyAfterASync) {
  uint16_t value = 0;
  const Bytes wren = Request(0x51, {0, 0, 0x20, 0}), finch = Request(0xA4, {0, 0, 0x21, 0});
  const Bytes centre = Request(0x50, {0x14, 0, 0x80, 0});
  // clang-format off
  const std::tuple<std::function<int32_t(int32_t)>, Bytes, Bytes, int32_t, uint16_t> cases[] = {
    {Call(SyncAndRead, 1, 0x200000, &value), wren, Reply16(0x00A0), 1, 0x00A0},
    {Call(SyncAndRead, 2, 0x210000, &value), finch, Reply16(0x0204), 1, 0x0204},
    {Call(SyncAndRead, 0, 0xAB4000, &value), kStatusRequest, Reply16(0x0011), 1, 0x0011},
    {Call(SyncAndRead, 2, 0x210000, &value), finch, {0x90, 0}, 0, 0x0011},
    {Call(SyncAndWrite, 1, 0xAB800014), centre, kAck, 1, 0x0011},  // Wren and Finch: 24 bits
    {Call(SyncAndWrite, 2, 0xFF830030), Request(0xA3, {0x30, 0, 0x83, 0}), kAck, 1, 0x0011},
    {Call(SyncAndWrite, 0, 0x12345678), Request(0x50, {0x56, 0x78, 2, 0, 0x78, 0x56}), kAck, 1, 0x0011},
    {Call(SyncAndWrite, 1, 0x800014), centre, {0x91}, 0, 0x0011}};
  // clang-format on
  for (const auto& [call, request, answer, result, stored] : cases) {
    Answer({{request, answer}});
    line_->writes.clear();
    EXPECT_EQ(call(kPort), result) << ::testing::PrintToString(request);
    EXPECT_EQ(line_->writes, (std::vector<Bytes>{{0x80}, request}));
    EXPECT_EQ(value, stored);
  }
  line_->writes.clear();
  EXPECT_EQ(SyncAndRead(kPort, 3, 0x20000, &value), 0) << "unknown family";
  EXPECT_EQ(SyncAndWrite(kPort, -1, 0x800014), 0);
  EXPECT_EQ(SyncAndRead(kPort, 1, 0x20000, nullptr), 0);
  EXPECT_TRUE(line_->writes.empty());
  Answer({{centre, kAck}, {wren, Reply16(1)}}, false);
  EXPECT_EQ(SyncAndWrite(kPort, 1, 0x800014), 0);
  EXPECT_EQ(SyncAndRead(kPort, 1, 0x200000, &value), 0);
  EXPECT_EQ(line_->writes, std::vector<Bytes>(26, Bytes{0x80})) << "a failed sync sends no command";
  EXPECT_EQ(value, 0x0011);
}

}  // namespace

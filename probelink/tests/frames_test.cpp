// Every command's frame and the judgement of its answer, and the
// synchronisation handshake that the family calls and position reads rely on.
#include <cstring>

#include "memory_line_fixture.h"

namespace {

// The worked example, spelled out rather than built, to pin the checksum.
const Bytes kStatusRequest{0x80, 0x51, 0x04, 0x04, 0x00, 0x40, 0x02, 0x00, 0x1B, 0x01};

TEST_F(MemoryLineTest, RepliesAreJudgedByLengthFirstByteAndBothChecksumBytes) {
  const Bytes good{0x90, 0, 2, 0, 0x34, 0x12, 0xD8, 0x00};
  // clang-format off
  std::vector<std::pair<Bytes, int32_t>> cases = {
      {good, 0x1234}, {{0x90, 0, 2, 0, 0x35, 0x12, 0xD9, 0x00}, 0x1235},
      {{0x90, 0, 2, 0, 0x34, 0x12, 0xD9, 0x00}, -1}, {{0x90, 0, 2, 0, 0x34, 0x12, 0xD8, 0x01}, -1},
      {{0x91, 0, 2, 0, 0x34, 0x12, 0xD9, 0x00}, -1}};  // the last: checksum right, start byte not
  // clang-format on
  for (size_t cut = 0; cut < good.size(); ++cut) cases.push_back({{good.data(), &good[cut]}, -1});
  for (const auto& [reply, result] : cases) {
    line_->Feed(reply);
    EXPECT_EQ(ReadStatus(kPort), result) << ::testing::PrintToString(reply);
    line_->PurgeQueues(probelink::Purge::Rx);
  }
  line_->Feed(Reply({0x78, 0x56, 0x34, 0x12}));
  line_->Feed({0xAA, 0xBB});
  EXPECT_EQ(ReadPowerOnTime(kPort), 0x12345678);
  EXPECT_EQ(line_->Pending(), 2u) << "what follows the reply stays queued";
}

// A call that stores a 16-bit value, seen as one that returns it: the value
// when the call answers `done`, else -1.
template <class F, class... Args>
std::function<int32_t(int32_t)> Stored(int32_t done, F f, Args... args) {
  return [=](int32_t port) {
    uint16_t value = 0;
    return f(port, args..., &value) == done ? value : -1;
  };
}

TEST_F(MemoryLineTest, EachCommandSendsItsFrameAndDecodesItsAnswer) {
  const Bytes big = Reply({0x45, 0x23, 0x01, 0x80});
  const int32_t kNegative = static_cast<int32_t>(0x80012345);  // 32-bit values pass whole
  const uint8_t list[70] = {0x65, 0x64, 0x67, 0x26};
  const Bytes wren = Framed({0x80, 0x65, 4, 4, 4, 4, 4, 4}, {list, list + 4});
  const Bytes finch = Framed({0x80, 0xA8, 70, 70, 70, 70, 70, 70}, {list, list + 70});
  const Bytes six = Reply({0x21, 0x43, 5, 0, 9, 9});  // the value is data bytes 0..3
  // clang-format off
  const std::tuple<std::function<int32_t(int32_t)>, Bytes, Bytes, int32_t> cases[] = {
  {SendSync, kAck, {0x80}, 0},
  {Stored(1, SyncAndRead, 1, 0x200000), Reply16(0x00A0), Request(0x51, {0, 0, 0x20, 0}), 0x00A0},
  {Stored(1, SyncAndRead, 2, 0x210000), Reply16(0x0204), Request(0xA4, {0, 0, 0x21, 0}), 0x0204},
  // The base family takes the low 16 bits of the word; Wren and Finch writes the low 24.
  {Stored(1, SyncAndRead, 0, 0xAB4000), Reply16(0x0011), kStatusRequest, 0x0011},
  {Call(SyncAndWrite, 1, 0xAB800014), kAck, Request(0x50, {0x14, 0, 0x80, 0}), 1},
  {Call(SyncAndWrite, 2, 0xFF830030), kAck, Request(0xA3, {0x30, 0, 0x83, 0}), 1},
  {Call(SyncAndWrite, 0, 0x12345678), kAck, Request(0x50, {0x56, 0x78, 2, 0, 0x78, 0x56}), 1},
  {ReadMSPVersion, Reply16(0xBEEF), Request(0x60, {0, 0, 2, 0}), 0xBEEF},
  {ReadPowerOnTime, big, Request(0x62, {0, 0, 4, 0}), kNegative},
  {ReadPowerOnCycles, big, Request(0x63, {0, 0, 4, 0}), kNegative},
  {ReadMSPVersion_M, Reply16(0xBEEF), Request(0x80, {0, 0, 2, 0}), 0xBEEF},
  {ReadMSPChecksum_M, Reply16(0xBEEF), Request(0x81, {0, 0, 2, 0}), 0xBEEF},
  {ReadPowerOnTime_M, big, Request(0x82, {0, 0, 4, 0}), kNegative},
  {ReadPowerOnCycles_M, big, Request(0x83, {0, 0, 4, 0}), kNegative},
  {Call(ReadValueFinch, 0x70, 2), Reply16(0x4321), Request(0x70, {0, 0, 2, 0}), 0x4321},
  {Call(ReadValueFinch, 0x72, 6), six, Request(0x72, {0, 0, 6, 0}), 0x54321},
  {Stored(0, ReadRegister, 0x4C00), Reply16(0x1203), Request(0x51, {0, 0x4C, 2, 0}), 0x1203},
  {Stored(0, ReadRegisterWren, 0x210000), Reply16(0x8001), Request(0x51, {0, 0, 0x21, 0}), 0x8001},
  {Stored(0, ReadRegisterFinch, 0x210000), Reply16(2), Request(0xA4, {0, 0, 0x21, 0}), 2},
  {Call(WriteRegister, 0x1234), kAck, Request(0x50, {0x12, 0x34, 2, 0, 0x34, 0x12}), 0},
  {Call(WriteInterpReg, 0x0123), kAck, Request(0x50, {0x23, 0xF1, 2, 0, 0x23, 0xF1}), 0},
  {Call(WriteIndexAngleReg, 0x45), kAck, Request(0x50, {0x45, 0xE0, 2, 0, 0x45, 0xE0}), 0},
  {Call(WriteGenReg, 0x45), kAck, Request(0x50, {0xC0, 0x45, 2, 0, 0x45, 0xC0}), 0},
  {Call(WriteStateFreqReg, 3), kAck, Request(0x50, {0xC1, 3, 2, 0, 3, 0xC1}), 0},
  {Call(WriteRegisterWren, 0x800014), kAck, Request(0x50, {0x14, 0, 0x80, 0}), 0},
  {Call(WriteRegisterFinch, 0x830030), kAck, Request(0xA3, {0x30, 0, 0x83, 0}), 0},
  {Call(WriteEpotValues, 0x1234), kAck, Request(0x90, {0, 0, 2, 0, 0x34, 0x12}), 0},
  {FlashEpot, kAck, Request(0x92, {0, 0, 0, 0}), 0},
  // A stream start carries its count six times, then the list.
  {Call(BeginAsyncWren, 4, list), kAck, wren, 0},
  {Call(BeginAsyncFinch, 70, list), kAck, finch, 0},
  {BeginLissMode, kAck, Request(0x65, {0, 0, 0, 0}), 0},
  // Nothing is awaited while the electronics restart.
  {SoftwareSystemReset, {}, Request(0x64, {0, 0, 0, 0}), 0},
  {SoftwareReset_M, {}, Request(0x84, {0, 0, 0, 0}), 0}};
  // clang-format on
  for (const auto& [call, answer, request, result] : cases) {
    line_->replies = {{request, answer}};
    const size_t reads = line_->readTimeouts.size();
    EXPECT_EQ(call(kPort), result) << ::testing::PrintToString(request);
    EXPECT_EQ(line_->writes.back(), request);
    if (answer.empty()) {
      EXPECT_EQ(line_->readTimeouts.size(), reads) << "a reset awaits nothing";
      continue;
    }
    // Refused, short or missing: the synchronised writes answer 0 for not
    // done (1 for done), every other call -1.
    for (Bytes bad :
         {answer == kAck ? Bytes{0x91} : Bytes(answer.begin(), answer.end() - 1), Bytes{}}) {
      line_->replies = {{request, bad}};
      EXPECT_EQ(call(kPort), result == 1 ? 0 : -1) << ::testing::PrintToString(request);
    }
  }
}

TEST_F(MemoryLineTest, SynchronisingTriesThirteenTimesAtFiftyMillisecondsAndGatesEveryFamilyCall) {
  ASSERT_EQ(ConfigPort(kPort, 1000, 19200), 0);
  const COMMTIMEOUTS caller{20, 3, 1000, 2, 60};  // more than ConfigPort sets
  line_->SetTimeouts(caller);
  line_->syncs = false;
  EXPECT_EQ(DoSynchronize(kPort), 0);
  EXPECT_EQ(line_->writes, std::vector<Bytes>(13, Bytes{0x80}));
  EXPECT_EQ(line_->readTimeouts, std::vector<uint32_t>(13, 50));
  COMMTIMEOUTS t{};
  line_->GetTimeouts(t);
  EXPECT_EQ(line_->settings.back().BaudRate, 19200u);
  EXPECT_EQ(std::memcmp(&t, &caller, sizeof t), 0) << "all five of the caller's time-outs are back";
  // Without a sync in step, or for an unknown family, no command goes out.
  uint16_t value = 0;
  line_->replies = {{Request(0x50, {0x14, 0, 0x80, 0}), kAck},
                    {Request(0x51, {0, 0, 2, 0}), Reply16(1)}};
  EXPECT_EQ(SyncAndWrite(kPort, 1, 0x800014), 0);
  EXPECT_EQ(SyncAndRead(kPort, 1, 0x20000, &value), 0);
  EXPECT_EQ(line_->writes, std::vector<Bytes>(39, Bytes{0x80}));
  EXPECT_EQ(SyncAndRead(kPort, 3, 0x20000, &value), 0);
  EXPECT_EQ(SyncAndWrite(kPort, -1, 0x800014), 0);
  EXPECT_EQ(SyncAndRead(kPort, 1, 0x20000, nullptr), 0);
  EXPECT_EQ(line_->writes.size(), 39u);

  line_->Feed({0x90, 0x90, 0x90});  // left over from an earlier exchange
  line_->syncs = true;
  EXPECT_EQ(DoSynchronize(kPort), 1);
  EXPECT_EQ(line_->writes.size(), 40u) << "done at the first answer";
  EXPECT_EQ(line_->Pending(), 0u) << "after dropping what was left over";
}

}  // namespace

// Every command against replies of random bytes, truncated replies and
// endless garbage: no crash, no overrun (the sanitizer builds watch), and
// only the results each call promises.
#include <random>

#include "fixtures.h"

namespace {

class HostileReplies : public MemoryLineTest {
 protected:
  // Answers every write with a burst of random bytes, sometimes led by a
  // plausible reply byte or marker so the deeper checks get exercised too.
  void AnswerWithNoise(uint32_t seed) {
    rng_.seed(seed);
    line_->onWrite = [this](std::span<const uint8_t>) {
      std::uniform_int_distribution<int> length(0, 24), byte(0, 255), lead(0, 3);
      std::vector<uint8_t> noise(length(rng_));
      for (auto& b : noise) b = static_cast<uint8_t>(byte(rng_));
      if (!noise.empty() && lead(rng_) == 0) noise[0] = 0x90;
      if (noise.size() > 1 && lead(rng_) == 0) noise[0] = noise[1] = 0xFF;
      line_->Feed(noise);
    };
  }
  std::mt19937 rng_;
};

bool Within(int32_t result, std::initializer_list<int32_t> allowed) {
  for (int32_t a : allowed)
    if (result == a) return true;
  return false;
}

TEST_F(HostileReplies, EveryCallReturnsOnlyItsPromisedResults) {
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    AnswerWithNoise(seed);
    uint16_t value = 0, words[70] = {};
    uint16_t a = 0, b = 0, c = 0, d = 0;
    uint8_t ea = 0, eb = 0, ec = 0, ed = 0;
    int32_t position = 0;
    const uint8_t list[6] = {0x65, 0x64, 0x69, 0x68, 0x67, 0x00};
    const int32_t status = ReadStatus(kPort);
    EXPECT_TRUE(status == -1 || (status >= 0 && status <= 0xFFFF));
    EXPECT_TRUE(Within(ReadRegisterWren(kPort, 0x210000, &value), {0, -1}));
    EXPECT_TRUE(Within(WriteRegisterWren(kPort, 0x830030), {0, -1}));
    EXPECT_TRUE(Within(ReadShiftedPositionWren(kPort, &position), {0, -1}));
    EXPECT_TRUE(Within(ReadPosition(kPort, &position), {0, -1}));
    EXPECT_TRUE(Within(ReadEpotValues(kPort, &ea, &eb, &ec, &ed), {0, -1}));
    EXPECT_TRUE(Within(SyncAndRead(kPort, 2, 0x200000, &value), {0, 1}));
    EXPECT_TRUE(Within(DoSynchronize(kPort), {0, 1}));
    EXPECT_TRUE(Within(BeginAsyncWren(kPort, 6, list), {0, -1}));
    EXPECT_TRUE(Within(ReadAsyncWren(kPort, 6, words), {0, -1}));
    EXPECT_TRUE(Within(ReadAsyncFinch(kPort, 70, words), {0, -1}));
    EXPECT_TRUE(Within(ReadLissPoint(kPort, &a, &b, &c, &d), {0, -1}));
    EXPECT_TRUE(Within(SendSync(kPort), {0, -1}));
    const int32_t version = ReadValueFinch(kPort, 0x60, 6);
    (void)version;  // any 32-bit value, or -1
  }
}

TEST_F(HostileReplies, TruncatedRepliesFailWithoutReadingPastThem) {
  const Bytes full = Reply32(0x12345678);
  for (size_t cut = 0; cut < full.size(); ++cut) {
    line_->Feed(Bytes(full.begin(), full.begin() + static_cast<long>(cut)));
    EXPECT_EQ(ReadPowerOnTime(kPort), -1) << "cut at " << cut;
    ClearRxBuffer(kPort);
  }
  line_->Feed(full);
  EXPECT_EQ(ReadPowerOnTime(kPort), 0x12345678);
}

}  // namespace

// Every command against replies of random bytes: no crash, no overrun (the
// sanitizer builds watch), and only the results each call promises. Truncated
// replies are in frames_test.
#include <random>

#include "memory_line_fixture.h"

namespace {

TEST_F(MemoryLineTest, RandomRepliesGiveOnlyThePromisedResults) {
  std::mt19937 rng;
  // A burst of random bytes after every write, sometimes led by a plausible
  // reply byte or marker so that the deeper checks are reached as well.
  line_->onWrite = [&](std::span<const uint8_t>) {
    Bytes noise(rng() % 25);
    for (auto& b : noise) b = static_cast<uint8_t>(rng());
    if (!noise.empty() && rng() % 4 == 0) noise[0] = 0x90;
    if (noise.size() > 1 && rng() % 4 == 0) noise[0] = noise[1] = 0xFF;
    line_->Feed(noise);
  };
  const uint8_t list[6] = {0x65, 0x64, 0x69, 0x68, 0x67, 0x00};
  uint16_t w[70] = {};
  uint8_t e[4] = {};
  int32_t position = 0;
  auto in = [](int32_t result, int32_t low, int32_t high) {
    return result >= low && result <= high;
  };
  for (int round = 0; round < 300; ++round) {
    EXPECT_TRUE(in(ReadStatus(kPort), -1, 0xFFFF));
    EXPECT_TRUE(in(ReadRegisterWren(kPort, 0x210000, &w[0]), -1, 0));
    EXPECT_TRUE(in(WriteRegisterWren(kPort, 0x830030), -1, 0));
    EXPECT_TRUE(in(ReadShiftedPositionWren(kPort, &position), -1, 0));
    EXPECT_TRUE(in(ReadEpotValues(kPort, &e[0], &e[1], &e[2], &e[3]), -1, 0));
    EXPECT_TRUE(in(SyncAndRead(kPort, 2, 0x200000, &w[0]), 0, 1));
    EXPECT_TRUE(in(BeginAsyncWren(kPort, 6, list), -1, 0));
    EXPECT_TRUE(in(ReadAsyncFinch(kPort, 70, w), -1, 0));
    EXPECT_TRUE(in(ReadLissPoint(kPort, &w[0], &w[1], &w[2], &w[3]), -1, 0));
  }
}

}  // namespace

// Streams, the Lissajous mode and their stop runs, through probelink.
#include "emulator_fixture.h"

namespace veritrak {
namespace {

using Streams = EmulatorOnPort;
using Words = std::vector<uint16_t>;

TEST_F(Streams, RecordsCarryTheirRegistersAtTheRateAskedForUntilTheStopRun) {
  options_.line.recordRate = 200;
  Serve();
  const Words position{Read(0x67), Read(0x69), Read(0x68), 0x0FF0},
      signal{Read(0x65), Read(0x64), Read(0x67), Read(0x26)};
  const uint8_t regs[] = {0x67, 0x69, 0x68, 0x03}, setup[] = {0x02, 0x03};
  // Timed from before the start, as records cannot come sooner than due.
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(BeginAsyncWren(kPort, 4, regs), 0);
  uint16_t w[4] = {};
  for (int i = 0; i <= 40; ++i) {
    ASSERT_EQ(ReadAsyncWren(kPort, 4, w), 0);
    EXPECT_EQ(Words(w, w + 4), position);
  }
  EXPECT_GE(std::chrono::steady_clock::now() - start, 40 * 5ms) << "200 records a second";
  EXPECT_EQ(EndAsync(kPort, 4), 13);
  ExpectInStep();
  ASSERT_EQ(BeginAsyncFinch(kPort, 2, setup), 0);
  ASSERT_EQ(ReadAsyncFinch(kPort, 2, w), 0);
  EXPECT_EQ(Words(w, w + 2), (Words{0x0011, 0x0FF0}));
  EXPECT_EQ(EndAsync(kPort, 2), 9);
  ExpectInStep();
  // A Lissajous point carries sine, cosine, angle and magnitude, the first two
  // handed out swapped.
  ASSERT_EQ(BeginLissMode(kPort), 0);
  ASSERT_EQ(ReadLissPoint(kPort, &w[1], &w[0], &w[2], &w[3]), 0);
  EXPECT_EQ(Words(w, w + 4), signal);
  EXPECT_EQ(EndLissMode(kPort), 0);
  ExpectInStep();
  EXPECT_EQ(EndAsync(kPort, 10), 25) << "a stop run while idle is ignored";
  ExpectInStep();
}

}  // namespace
}  // namespace veritrak

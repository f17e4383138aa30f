// The paced line: bytes go and come no faster than 38400 baud 8E1, yet a
// lone sync byte is still answered within the host's sync time-out; so too
// when the bytes are handed over in packets every millisecond.
#include "emulator_fixture.h"

namespace veritrak {
namespace {

class PacedLine : public EmulatorOnPort, public ::testing::WithParamInterface<int> {};

TEST_P(PacedLine, RequestsRepliesAndRecordsTakeAtLeastTheirWireTime) {
  options_.line.paced = true;
  options_.line.packetPeriod = std::chrono::milliseconds(GetParam());
  Serve();
  const auto byte = 11 * 1s / 38400.0;  // a start bit, 8 data bits, parity and a stop bit
  EXPECT_EQ(DoSynchronize(kPort), 1) << "a lone sync is answered within the sync time-out";
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 20; ++i) ASSERT_EQ(ReadStatus(kPort), 0x0011);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 20 * (10 + 8) * byte);
  // Timed from before the start, for however late the host reads them, the
  // records cannot have come sooner than the wire allows.
  uint16_t w[4] = {};
  start = std::chrono::steady_clock::now();
  ASSERT_EQ(BeginAsyncWren(kPort, 4, kSignalRegisters), 0);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(ReadAsyncWren(kPort, 4, w), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 100 * 10 * byte);
  EXPECT_EQ(EndAsync(kPort, 4), 13);
  ExpectInStep();
}

INSTANTIATE_TEST_SUITE_P(PacketPeriods, PacedLine, ::testing::Values(0, 1));

}  // namespace
}  // namespace veritrak

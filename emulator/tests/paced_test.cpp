// The paced line: bytes go and come no faster than 38400 baud 8E1, yet a
// lone sync byte is still answered within the host's sync time-out.
#include <gtest/gtest.h>

#include "emulator_fixture.h"

namespace veritrak {
namespace {

using PacedLine = EmulatorOnPort;

TEST_F(PacedLine, RequestsRepliesAndRecordsTakeAtLeastTheirWireTime) {
  Options o = SteadyOptions();
  o.line.paced = true;
  Serve(o);
  EXPECT_EQ(DoSynchronize(kPort), 1) << "a lone sync is answered within the sync time-out";
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 20; ++i) ASSERT_EQ(ReadStatus(kPort), 0x0011);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 20 * (10 + 8) * kPacedByteTime);
  const uint8_t regs[] = {0x65, 0x64, 0x67, 0x26};
  ASSERT_EQ(BeginAsyncWren(kPort, 4, regs), 0);
  uint16_t w[4] = {};
  ASSERT_EQ(ReadAsyncWren(kPort, 4, w), 0);
  start = std::chrono::steady_clock::now();
  for (int i = 0; i < 100; ++i) ASSERT_EQ(ReadAsyncWren(kPort, 4, w), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 99 * 10 * kPacedByteTime);
  EXPECT_EQ(EndAsync(kPort, 4), 13);
  ExpectInStep();
}

}  // namespace
}  // namespace veritrak

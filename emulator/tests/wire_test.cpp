// The device's answers on the line, byte for byte, to raw requests; how the
// parser tells frames from sync bytes and noise is in frame_parser_test.
#include <gtest/gtest.h>

#include "emulator_fixture.h"

namespace veritrak {
namespace {

// 0x90, the command, the count (two bytes), the data, the checksum.
Bytes Reply(uint8_t command, const Bytes& data) {
  return Framed({kReplyByte, command, static_cast<uint8_t>(data.size()), 0}, data);
}

using Wire = EmulatorOnPort;

TEST_F(Wire, EachRequestGetsItsAnswerByteForByteAndNothingMore) {
  Serve();
  const Bytes status = Request(0x51, {0x00, 0x40, 0x02, 0x00});
  const Bytes two = Join(Request(0x51, {0, 0, 0x03, 0}), Request(0x63, {0, 0, 2, 0}));
  const Bytes bad = Join({0x80, 0x51, 4, 4, 0x00, 0x41, 0x02, 0x00}, {0x1B, 0x01});  // a stale sum
  // clang-format off
  const std::pair<Bytes, Bytes> cases[] = {
    // The power-on status setup 0x0011 answers a base read, as the register it lands on.
    {status, {0x90, 0x51, 0x02, 0x00, 0x11, 0x00, 0xF4, 0x00}},
    // The information commands answer with as many bytes as asked for.
    {Request(0x60, {0, 0, 4, 0}), Reply(0x60, {0x12, 0x05, 0, 0})},
    {Request(0x80, {0, 0, 2, 0}), Reply(0x80, {0x12, 0x05})},
    {Request(0x81, {0, 0, 2, 0}), Reply(0x81, {0x5A, 0x3C})},
    {Request(0x62, {0, 0, 4, 0}), Reply(0x62, {0xD2, 0x04, 0, 0})},
    {Request(0x82, {0, 0, 2, 0}), Reply(0x82, {0xD2, 0x04})},
    {Request(0x63, {0, 0, 4, 0}), Reply(0x63, {56, 0, 0, 0})},
    {Request(0x83, {0, 0, 6, 0}), Reply(0x83, {56, 0, 0, 0, 0, 0})},
    {Request(0x91, {0, 0, 4, 0}), Reply(0x91, {0x80, 0x80, 0x80, 0x80})},  // the Epot wipers
    {Request(0xA4, {0, 0, 0x20, 0}), Reply(0xA4, {0x22, 0x00})},  // model 1, hardware 2
    {Request(0x51, {0, 0, 0x82, 0}), Reply(0x51, {0, 0})},  // a write address reads nothing
    {two, Join(Reply(0x51, {0xF0, 0x0F}), Reply(0x63, {56, 0}))},  // answered in order
    {Request(0x50, {0xC0, 0x45, 0x02, 0x00, 0x45, 0xC0}), {kReplyByte}},  // a base block write
    {bad, {}}, {Request(0x77, {0, 0, 2, 0}), {}},
    {Request(0x51, {0, 0, 0x21}), {}}, {Request(0x50, {1, 2}), {}}};  // misshapen
  // clang-format on
  for (const auto& [request, answer] : cases)
    EXPECT_EQ(Exchange(request, answer.size() + 1), answer) << ::testing::PrintToString(request);
  EXPECT_EQ(DoSynchronize(kPort), 1);
}

}  // namespace
}  // namespace veritrak

// Calls on a port that is not open, on every platform.
#include "memory_line_fixture.h"

namespace {

// Out of range or never opened, every call fails in its first step with the
// result it promises for that step.
TEST(ClosedPorts, EveryCallGivesItsFailureResult) {
  uint16_t w = 0;
  uint8_t b[4] = {};
  int32_t n = 7;
  // clang-format off
  const std::pair<std::function<int32_t(int32_t)>, int32_t> calls[] = {
    {ClosePort, -1}, {ClearRxBuffer, -1}, {ClearTxBuffer, -1}, {PurgeRxTx, -1}, {SendSync, -2},
    {DoSynchronize, 0}, {ReadStatus, -2}, {ReadMSPVersion, -2}, {SoftwareSystemReset, -1},
    {FlashEpot, -2}, {BeginLissMode, -2}, {EndLissMode, -1}, {SystemReset, -1},
    {Call(ConfigPort, 100, 38400), -1}, {Call(GetPortConfig, &n, &n), -1},
    {Call(GetCompleteComConfig, nullptr, nullptr, nullptr), -1}, {Call(ReadPosition, &n), -2},
    {Call(SetCompleteComConfig, DCB{}, COMMTIMEOUTS{}, 0u, 0u), -1}, {Call(EndAsync, 4), -1},
    {Call(SyncAndRead, 1, 0x20000, &w), 0}, {Call(SyncAndWrite, 1, 0x820000), 0},
    {Call(ReadRegisterWren, 0x20000, &w), -2}, {Call(WriteRegisterWren, 0x820000), -2},
    {Call(ReadShiftedPositionWren, &n), -1},
    {Call(ReadEpotValues, b, b, b, b), -2}, {Call(ReadValueFinch, 0x60, 4), -2},
    {Call(BeginAsyncWren, 1, b), -2}, {Call(ReadAsyncWren, 1, &w), -1},
    {Call(WriteRs232Data, 1, b), -1}, {Call(ReadRs232Data, 1, b, &n), -1}};
  // clang-format on
  for (const int32_t port : {0, 17, -1, 1000, 3}) {
    for (size_t i = 0; i < std::size(calls); ++i)
      EXPECT_EQ(calls[i].first(port), calls[i].second) << "port " << port << ", call " << i;
  }
  EXPECT_EQ(n, 0) << "a failed raw read received nothing";
}

}  // namespace

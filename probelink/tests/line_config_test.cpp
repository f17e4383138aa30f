#include "memory_line_fixture.h"

namespace {

TEST_F(MemoryLineTest, TheLineSettingForcesEvenParityAndCountsOnlyRealRefusals) {
  ASSERT_EQ(ConfigPort(kPort, 100, 38400), 0);
  const DCB set = line_->settings.back();
  EXPECT_EQ(std::tuple(set.Parity, +set.fParity, +set.fDtrControl, +set.fRtsControl),
            std::tuple(EVENPARITY, 0u, DTR_CONTROL_DISABLE, RTS_CONTROL_ENABLE))
      << "parity is sent but not checked";
  EXPECT_EQ(set.fOutxCtsFlow + set.fOutxDsrFlow + set.fOutX + set.fInX, 0u) << "no flow control";
  DCB asked{};
  asked.BaudRate = 4800;
  asked.fOutX = 1;
  asked.Parity = ODDPARITY;
  asked.XonChar = 0x21;
  EXPECT_EQ(SetCompleteComConfig(kPort, asked, {}, 1024, 1024), 0);
  const DCB applied = line_->settings.back();
  EXPECT_EQ(std::tuple(applied.Parity, applied.BaudRate, +applied.fOutX, applied.XonChar),
            std::tuple(EVENPARITY, 4800u, 1u, 0x21))
      << "the other fields pass through";
  for (const auto& [apply, result] :
       {std::pair{LineApply::NoModemLines, 0}, {LineApply::Refused, -1}}) {
    line_->lineResults = {apply};
    EXPECT_EQ(ConfigPort(kPort, 100, 38400), result);
    line_->lineResults = {apply};
    EXPECT_EQ(SetCompleteComConfig(kPort, asked, {}, 1024, 1024), result);
  }
}

}  // namespace

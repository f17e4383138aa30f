// The option parser's own rules: the edges of each range, the values that
// are more than a plain number, and that a refusal names the option at fault.
// That each option reaches the electronics is shown end to end by
// program_test.
#include "command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace veritrak {
namespace {

ProgramOptions Parse(std::vector<const char*> args) { return ParseCommandLine(args); }

TEST(CommandLine, TakesTheEdgesOfItsRangesAndComposedValuesAndNamesTheOptionOfABadOne) {
  EXPECT_EQ(std::pair(Parse({"--com", "1"}).com, Parse({"--com", "16"}).com), std::pair(1, 16));
  EXPECT_EQ(Parse({"--drop", "1"}).emulator.faults.dropFraction, 1);
  EXPECT_EQ(Parse({"--firmware", "0x0533"}).emulator.device.firmwareVersion, 0x0533);
  EXPECT_EQ(Parse({"--start", "-4096"}).emulator.head.startPosition, -4096);
  EXPECT_EQ(Parse({"--late", "40"}).emulator.faults.lateBy, std::chrono::milliseconds(40));
  const HeadSettings one = Parse({"--amplitude", "640"}).emulator.head;
  const HeadSettings two = Parse({"--amplitude", "300:900"}).emulator.head;
  EXPECT_EQ(std::tuple(one.amplitudeLow, one.amplitudeHigh, two.amplitudeLow, two.amplitudeHigh),
            std::tuple(640.0, 640.0, 300.0, 900.0));
  // clang-format off
  const std::vector<std::vector<const char*>> bad = {
    {"--bogus"}, {"--com"}, {"--com", "0"}, {"--com", "17"}, {"--com", "3x"}, {"--drop", "1.5"},
    {"--drop", "-0.1"}, {"--model", "16"}, {"--firmware", "G"}, {"--speed", "fast"},
    {"--amplitude", "9:3"}, {"--amplitude", "3000"}, {"--late", "-1"}, {"--start", ""}};
  // clang-format on
  for (const auto& args : bad) {
    try {
      Parse(args);
      ADD_FAILURE() << "accepted " << args[0];
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find(args[0]), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace veritrak

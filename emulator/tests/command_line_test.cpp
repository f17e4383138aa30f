#include "command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace veritrak {
namespace {

ProgramOptions Parse(std::vector<const char*> args) { return ParseCommandLine(args); }

TEST(CommandLine, NothingGivenMeansTheDefaults) {
  const ProgramOptions p = Parse({});
  EXPECT_EQ(p.com, 3);
  EXPECT_FALSE(p.emulator.line.paced);
  EXPECT_FALSE(p.silentAfter);
  EXPECT_FALSE(p.silentFor);
  EXPECT_FALSE(p.help);
}

TEST(CommandLine, EveryOptionReachesItsSetting) {
  const ProgramOptions p = Parse({"--com",
                                  "12",
                                  "--paced",
                                  "--record-rate",
                                  "0",
                                  "--model",
                                  "4",
                                  "--firmware",
                                  "0x0533",
                                  "--hours",
                                  "99",
                                  "--cycles",
                                  "7",
                                  "--reset-ms",
                                  "250",
                                  "--start",
                                  "-4096",
                                  "--speed",
                                  "0",
                                  "--travel",
                                  "8192",
                                  "--index-at",
                                  "100",
                                  "--amplitude",
                                  "300:900",
                                  "--noise",
                                  "0",
                                  "--seed",
                                  "42",
                                  "--drop",
                                  "0.1",
                                  "--corrupt",
                                  "0.25",
                                  "--refuse-acks",
                                  "--late",
                                  "40",
                                  "--silent-after",
                                  "1000",
                                  "--silent-for",
                                  "500"});
  EXPECT_EQ(p.com, 12);
  const Options& o = p.emulator;
  EXPECT_TRUE(o.line.paced);
  EXPECT_EQ(o.line.recordRate, 0);
  EXPECT_EQ(o.device.modelCode, 4);
  EXPECT_EQ(o.device.firmwareVersion, 0x0533);
  EXPECT_EQ(o.device.powerOnHours, 99u);
  EXPECT_EQ(o.device.powerOnCycles, 7u);
  EXPECT_EQ(o.device.resetTime.count(), 250);
  EXPECT_EQ(o.head.startPosition, -4096);
  EXPECT_EQ(o.head.speed, 0);
  EXPECT_EQ(o.head.travel, 8192);
  EXPECT_EQ(o.head.indexAt, 100);
  EXPECT_EQ(o.head.amplitudeLow, 300);
  EXPECT_EQ(o.head.amplitudeHigh, 900);
  EXPECT_EQ(o.head.noise, 0);
  EXPECT_EQ(o.head.seed, 42u);
  EXPECT_EQ(o.faults.dropFraction, 0.1);
  EXPECT_EQ(o.faults.corruptFraction, 0.25);
  EXPECT_TRUE(o.faults.refuseAcks);
  EXPECT_EQ(o.faults.lateBy.count(), 40);
  EXPECT_EQ(p.silentAfter->count(), 1000);
  EXPECT_EQ(p.silentFor->count(), 500);
}

TEST(CommandLine, OneAmplitudeHoldsAlongTheWholeSweep) {
  const ProgramOptions p = Parse({"--amplitude", "640"});
  EXPECT_EQ(p.emulator.head.amplitudeLow, 640);
  EXPECT_EQ(p.emulator.head.amplitudeHigh, 640);
}

TEST(CommandLine, BadInputNamesTheOptionAtFault) {
  const std::vector<std::vector<const char*>> bad = {
      {"--bogus"},         {"--com"},           {"--com", "0"},         {"--com", "17"},
      {"--com", "3x"},     {"--drop", "1.5"},   {"--drop", "-0.1"},     {"--model", "16"},
      {"--firmware", "G"}, {"--speed", "fast"}, {"--amplitude", "9:3"}, {"--amplitude", "3000"},
      {"--late", "-1"},    {"--start", ""}};
  for (const auto& args : bad) {
    try {
      Parse(args);
      ADD_FAILURE() << "accepted " << args[0];
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find(args[0]), std::string::npos) << e.what();
    }
  }
}

TEST(CommandLine, UsageListsEveryOption) {
  const std::string usage = UsageText();
  for (const char* option :
       {"--com",       "--paced",        "--record-rate", "--model", "--firmware", "--hours",
        "--cycles",    "--reset-ms",     "--start",       "--speed", "--travel",   "--index-at",
        "--amplitude", "--noise",        "--seed",        "--drop",  "--corrupt",  "--refuse-acks",
        "--late",      "--silent-after", "--silent-for",  "--help",  "SIGUSR1",    "SIGUSR2"})
    EXPECT_NE(usage.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace veritrak

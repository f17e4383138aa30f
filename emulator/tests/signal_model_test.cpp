// The read-head, the signal model and the register file, as the host reads
// them through the register map.
#include "signal_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

#include "emulator_fixture.h"
#include "register_map.h"

namespace veritrak {
namespace {

const TimePoint kOrigin = TimePoint{} + std::chrono::hours(1);

TimePoint After(double seconds) {
  return kOrigin +
         std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

HeadSettings Standing(int32_t start) {
  HeadSettings h;
  h.startPosition = start;
  h.speed = 0;
  h.noise = 0;
  h.amplitudeLow = h.amplitudeHigh = 800;
  return h;
}

// The host's decoding of the registers.
int Signed12(uint16_t word) { return (((word >> 4) ^ 0x800) - 0x800); }
double HostLevel(uint16_t x, uint16_t y) {
  return std::hypot(Signed12(x), Signed12(y)) / 4 * 1.465;
}

struct Reader {
  uint16_t operator()(uint8_t reg) const { return ReadRegister(reg, file, sample); }
  const RegisterFile& file;
  const Sample& sample;
};

TEST(HeadMotion, SweepsBetweenItsTurningPointsAndSplitsItsPathAtThem) {
  const HeadMotion head(1000, 4000, 2000);
  const std::tuple<double, double, double> path[] = {
      {0, 1000, 2000}, {1, 3000, 2000}, {3, 3000, -2000}, {4, 1000, 2000}};
  for (const auto& [t, position, velocity] : path) {
    EXPECT_DOUBLE_EQ(head.PositionAt(t), position) << t;
    EXPECT_DOUBLE_EQ(head.VelocityAt(t), velocity) << t;
  }
  const HeadMotion unit(0, 100, 100);
  const auto one = unit.StretchesBetween(0.5, 1.5);
  ASSERT_EQ(one.size(), 2u);
  EXPECT_EQ(std::tuple(one[0].from, one[0].to, one[1].to), std::tuple(50.0, 100.0, 50.0));
  const auto many = unit.StretchesBetween(0.5, 1000.25);
  EXPECT_EQ(many.size(), 3u) << "two whole legs cover the travel both ways";
  EXPECT_DOUBLE_EQ(many.back().to, 25);
  EXPECT_EQ(unit.StretchesBetween(2, 2).size(), 1u);
}

TEST(SignalModel, RegistersFollowThePositionAndItsSignalPhase) {
  const RegisterFile file(1);
  for (const int32_t start :
       {0, 1024, 2048, 3000, 4096 * 7 + 512, -5000, (1 << 29) - 7, -(1 << 29)}) {
    SignalModel model(Standing(start), kOrigin);
    const Sample s = model.At(After(0.1));
    const Reader read{file, s};
    const uint32_t joined =
        ((uint32_t{read(0x69)} * 0x10000 + read(0x68)) << 12) | ((read(0x67) >> 4) & 0xFFF);
    EXPECT_EQ(static_cast<int32_t>(joined << 2) >> 2, start);
    EXPECT_LE(read(0x69), 3);
    const double angle = 2 * std::numbers::pi * ((read(0x67) >> 4) & 0xFFF) / 4096;
    EXPECT_NEAR(Signed12(read(0x65)), 800 * std::sin(angle), 1) << start;
    EXPECT_NEAR(Signed12(read(0x64)), 800 * std::cos(angle), 1) << start;
    EXPECT_EQ(read(0x66) & 0xF, 0);
    EXPECT_NEAR(read(0x66) >> 4, 1.646 * 800, 2);
    // 0x24 to 0x2A read the same measurements as 0x64 to 0x6A.
    for (uint8_t reg = 0x24; reg <= 0x2A; ++reg) EXPECT_EQ(read(reg), read(reg + 0x40)) << int{reg};
  }
}

TEST(SignalModel, ChannelsStayWithinTwelveBitsAtFullAmplitudeAndNoise) {
  HeadSettings h;
  h.amplitudeLow = h.amplitudeHigh = 2047;
  h.noise = 50;
  SignalModel model(h, kOrigin);
  for (int i = 0; i < 2000; ++i) {
    const Sample s = model.At(After(i * 0.001));
    EXPECT_TRUE(s.sine >= -2048 && s.sine <= 2047 && s.cosine >= -2048 && s.magnitude <= 4095);
  }
}

// One sweep shows over-signal, green, yellow and red stretches, and the
// alarm bits of the status word agree with the level the host computes
// (the device compares whole vector lengths, so only away from the edges).
TEST(SignalModel, AmplitudeAlongTheSweepPassesEveryBandWithMatchingAlarmBits) {
  HeadSettings h;  // the program's defaults
  SignalModel model(h, kOrigin);
  const RegisterFile file(1);
  std::set<std::string> bands;
  for (int i = 0; i < 4000; ++i) {
    const Sample s = model.At(After(h.travel / h.speed * i / 4000));
    const Reader read{file, s};
    const double level = HostLevel(read(0x65), read(0x64));
    bands.insert(level > 385 ? "over" : level > 119 ? "green" : level > 84 ? "yellow" : "red");
    const uint16_t status = read(0x21);
    EXPECT_TRUE(std::abs(level - 84) < 0.2 || ((status & 4) != 0) == (level < 84)) << level;
    EXPECT_TRUE(std::abs(level - 119) < 0.2 || ((status & 8) != 0) == (level < 119)) << level;
  }
  EXPECT_EQ(bands, (std::set<std::string>{"over", "green", "yellow", "red"}));
}

TEST(SignalModel, IndexMarkAndCentring) {
  const RegisterFile file(1);
  HeadSettings at = Standing(50000), away = Standing(50000);
  at.indexAt = 50000 + 1000;
  away.indexAt = 50000 + 1100;
  EXPECT_TRUE(ReadRegister(0x21, file, SignalModel(at, kOrigin).At(After(0))) & (1 << 9));
  EXPECT_FALSE(ReadRegister(0x21, file, SignalModel(away, kOrigin).At(After(0))) & (1 << 9));

  HeadSettings h = Standing(0);
  h.speed = 1000;
  h.travel = 10000;
  h.indexAt = 4000;
  SignalModel model(h, kOrigin);
  auto status = [&](double t) { return ReadRegister(0x21, file, model.At(After(t))) & 0xC00; };
  EXPECT_EQ(status(0.5), 0);
  model.StartCentring(After(1));
  EXPECT_EQ(status(2), 0x800);
  EXPECT_EQ(status(9), 0x800) << "crossed going up only";
  const Sample done = model.At(After(17));
  EXPECT_EQ(ReadRegister(0x21, file, done) & 0xC00, 0x400);
  EXPECT_EQ(ReadRegister(0x04, file, done), (4000 & 0xFFF) << 4);
  EXPECT_EQ(ReadRegister(0x2B, file, done), ((4000 - 1024) & 0xFFF) << 4);
  EXPECT_EQ(ReadRegister(0x2C, file, done), ((4000 + 1024) & 0xFFF) << 4);
  model.PowerCycle(After(18));
  EXPECT_EQ(status(19), 0);
}

TEST(SignalModel, ZeroingKeepsTheCounterInStepWithTheSignalPhase) {
  SignalModel model(Standing(4096 * 25 + 1234), kOrigin);
  model.ZeroCounter(After(1));
  EXPECT_EQ(model.At(After(2)).counter, 1234);
}

TEST(RegisterFile, SettingsKeepWritesUntilPowerOnAndMeasurementsIgnoreThem) {
  RegisterFile file(3);
  const Sample s = SignalModel(Standing(0), kOrigin).At(After(0));
  const Reader read{file, s};
  EXPECT_EQ(read(0x20), (3 << 5) | 2) << "model code and hardware revision";
  const uint16_t status = read(0x21);
  for (const uint8_t reg : {0x02, 0x03, 0x50, 0x20, 0x21, 0x04, 0x67}) file.Write(reg, 0x0777);
  EXPECT_EQ((std::tuple{read(0x02), read(0x03), read(0x50)}), std::tuple(0x0777, 0x0777, 0x0777));
  EXPECT_EQ((std::tuple{read(0x20), read(0x21), read(0x04), read(0x67)}),
            std::tuple((3 << 5) | 2, status, 0, 0));
  EXPECT_EQ(read(0x82), 0) << "write addresses read nothing";
  file.PowerOn();
  EXPECT_EQ((std::tuple{read(0x02), read(0x50)}), std::tuple(0x0011, 0x0800));
}

TEST(RegisterFile, InterpolationAndOutputFrequencyActOnTheHead) {
  RegisterFile file(1);
  HeadSettings fast = Standing(0);
  fast.speed = 200000;
  const Sample moving = SignalModel(fast, kOrigin).At(After(0.001));
  EXPECT_EQ(ReadRegister(0x06, file, moving), 0);
  file.Write(0x03, 4095 << 4);  // level 4096
  file.Write(0x02, 6);          // slowest output
  EXPECT_EQ(ReadRegister(0x06, file, moving), 1);
  file.Write(0x02, 5);
  EXPECT_EQ(ReadRegister(0x06, file, moving), 0) << "one step faster is fast enough";
  const Sample quarter = SignalModel(Standing(1024), kOrigin).At(After(0));
  file.Write(0x03, 99 << 4);  // level 100
  EXPECT_EQ(ReadRegister(0x6A, file, quarter), 25);
}

}  // namespace
}  // namespace veritrak

// The signal model as the host reads it through the register map.
#include "signal_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

#include "register_map.h"

namespace veritrak {
namespace {

constexpr double kPi = std::numbers::pi;

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
int32_t HostPosition(uint16_t hi, uint16_t mid, uint16_t lo) {
  const uint32_t x = ((uint32_t{hi} * 0x10000 + mid) << 12) | ((lo >> 4) & 0xFFF);
  return static_cast<int32_t>(x << 2) >> 2;
}
double HostLevel(uint16_t x, uint16_t y) {
  return std::hypot(Signed12(x), Signed12(y)) / 4 * 1.465;
}

struct Reader {
  uint16_t operator()(uint8_t reg) const { return ReadRegister(reg, file, sample); }
  const RegisterFile& file;
  const Sample& sample;
};

TEST(HeadMotion, SweepsBetweenItsTurningPoints) {
  const HeadMotion head(1000, 4000, 2000);
  EXPECT_DOUBLE_EQ(head.PositionAt(0), 1000);
  EXPECT_DOUBLE_EQ(head.PositionAt(1), 3000);
  EXPECT_DOUBLE_EQ(head.VelocityAt(1), 2000);
  EXPECT_DOUBLE_EQ(head.PositionAt(3), 3000);
  EXPECT_DOUBLE_EQ(head.VelocityAt(3), -2000);
  EXPECT_DOUBLE_EQ(head.PositionAt(4), 1000);
}

TEST(HeadMotion, PathIsSplitAtTheTurnsAndKeepsOnlyTheLastLegs) {
  const HeadMotion head(0, 100, 100);
  const auto one = head.StretchesBetween(0.5, 1.5);
  ASSERT_EQ(one.size(), 2u);
  EXPECT_DOUBLE_EQ(one[0].from, 50);
  EXPECT_DOUBLE_EQ(one[0].to, 100);
  EXPECT_DOUBLE_EQ(one[1].to, 50);
  const auto many = head.StretchesBetween(0.5, 1000.25);
  EXPECT_EQ(many.size(), 3u);
  EXPECT_DOUBLE_EQ(many.back().to, 25);
  EXPECT_EQ(head.StretchesBetween(2, 2).size(), 1u);
}

TEST(SignalModel, PositionRegistersJoinIntoTheCounterTheHostAssembles) {
  const RegisterFile file(1);
  for (const int32_t start : {0, 123456, -5000, (1 << 29) - 7, -(1 << 29)}) {
    SignalModel model(Standing(start), kOrigin);
    const Sample s = model.At(After(0.1));
    const Reader read{file, s};
    EXPECT_LE(read(0x69), 3);
    EXPECT_EQ(HostPosition(read(0x69), read(0x68), read(0x67)), start) << start;
    EXPECT_EQ(read(0x27), read(0x67));
    EXPECT_EQ(read(0x28), read(0x68));
  }
}

TEST(SignalModel, SineAndCosineFollowThePositionWithinASignalPeriod) {
  const RegisterFile file(1);
  for (const int32_t start : {0, 1024, 2048, 3000, 4096 * 7 + 512}) {
    SignalModel model(Standing(start), kOrigin);
    const Sample s = model.At(After(0));
    const Reader read{file, s};
    const double angle = 2 * kPi * ((read(0x67) >> 4) & 0xFFF) / 4096;
    EXPECT_NEAR(Signed12(read(0x65)), 800 * std::sin(angle), 1) << start;
    EXPECT_NEAR(Signed12(read(0x64)), 800 * std::cos(angle), 1) << start;
    EXPECT_EQ(read(0x66) & 0xF, 0);
    EXPECT_NEAR(read(0x66) >> 4, 1.646 * 800, 2);
    EXPECT_EQ(read(0x26), read(0x66));
  }
}

TEST(SignalModel, ChannelsStayWithinTwelveBitsAtFullAmplitudeAndNoise) {
  HeadSettings h;
  h.amplitudeLow = h.amplitudeHigh = 2047;
  h.noise = 50;
  SignalModel model(h, kOrigin);
  for (int i = 0; i < 2000; ++i) {
    const Sample s = model.At(After(i * 0.001));
    EXPECT_GE(s.sine, -2048);
    EXPECT_LE(s.sine, 2047);
    EXPECT_LE(s.magnitude, 4095);
  }
}

// One sweep shows over-signal, green, yellow and red stretches, and the
// alarm bits of the status word agree with the level the host computes
// (the device compares whole vector lengths, so only away from the edges).
TEST(SignalModel, AmplitudeAlongTheSweepPassesEveryBandWithMatchingAlarmBits) {
  HeadSettings h;  // the program's defaults
  SignalModel model(h, kOrigin);
  const RegisterFile file(1);
  const double sweepSeconds = h.travel / h.speed;
  std::set<std::string> bands;
  for (int i = 0; i < 4000; ++i) {
    const Sample s = model.At(After(sweepSeconds * i / 4000));
    const Reader read{file, s};
    const double level = HostLevel(read(0x65), read(0x64));
    const uint16_t status = read(0x21);
    bands.insert(level > 385 ? "over" : level > 119 ? "green" : level > 84 ? "yellow" : "red");
    if (std::abs(level - 84) > 0.2) {
      EXPECT_EQ((status & 4) != 0, level < 84) << level;
    }
    if (std::abs(level - 119) > 0.2) {
      EXPECT_EQ((status & 8) != 0, level < 119) << level;
    }
  }
  EXPECT_EQ(bands, (std::set<std::string>{"over", "green", "yellow", "red"}));
}

TEST(SignalModel, IndexBitIsSetOnlyNearTheMark) {
  const RegisterFile file(1);
  HeadSettings at = Standing(50000);
  at.indexAt = 50300;
  HeadSettings away = at;
  away.indexAt = 60000;
  SignalModel near(at, kOrigin), far(away, kOrigin);
  const Sample a = near.At(After(0)), b = far.At(After(0));
  EXPECT_TRUE(ReadRegister(0x21, file, a) & (1 << 9));
  EXPECT_FALSE(ReadRegister(0x21, file, b) & (1 << 9));
}

TEST(SignalModel, CentringEndsOnceTheMarkIsCrossedBothWays) {
  HeadSettings h = Standing(0);
  h.speed = 1000;
  h.travel = 10000;
  h.indexAt = 4000;
  SignalModel model(h, kOrigin);
  const RegisterFile file(1);
  auto status = [&](double t) { return ReadRegister(0x21, file, model.At(After(t))); };
  EXPECT_EQ(status(0.5) & 0xC00, 0);
  model.StartCentring(After(1));
  EXPECT_EQ(status(2) & 0xC00, 0x800);
  EXPECT_EQ(status(9) & 0xC00, 0x800) << "crossed going up only";
  const Sample done = model.At(After(17));
  EXPECT_EQ(ReadRegister(0x21, file, done) & 0xC00, 0x400);
  EXPECT_EQ(ReadRegister(0x04, file, done), (4000 & 0xFFF) << 4);
  EXPECT_NE(ReadRegister(0x2B, file, done), 0);
  EXPECT_NE(ReadRegister(0x2C, file, done), 0);
  model.PowerCycle(After(18));
  EXPECT_EQ(status(19) & 0xC00, 0);
}

TEST(SignalModel, ZeroingKeepsTheCounterInStepWithTheSignalPhase) {
  SignalModel model(Standing(4096 * 25 + 1234), kOrigin);
  model.ZeroCounter(After(1));
  const Sample s = model.At(After(2));
  EXPECT_EQ(s.counter, 1234);
}

TEST(RegisterFile, SettingsKeepWritesUntilPowerOnAndMeasurementsIgnoreThem) {
  RegisterFile file(3);
  const Sample s = SignalModel(Standing(0), kOrigin).At(After(0));
  EXPECT_EQ((file.Stored(0x20) >> 5) & 0xF, 3);
  const uint16_t status = ReadRegister(0x21, file, s);
  file.Write(0x02, 0x0005);
  file.Write(0x03, 0x1230);
  file.Write(0x50, 0x0777);
  file.Write(0x20, 0xFFFF);
  file.Write(0x21, 0xFFFF);
  EXPECT_EQ(ReadRegister(0x02, file, s), 0x0005);
  EXPECT_EQ(ReadRegister(0x03, file, s), 0x1230);
  EXPECT_EQ(ReadRegister(0x50, file, s), 0x0777);
  EXPECT_EQ((ReadRegister(0x20, file, s) >> 5) & 0xF, 3);
  EXPECT_EQ(ReadRegister(0x21, file, s), status);
  EXPECT_EQ(ReadRegister(0x82, file, s), 0) << "write addresses read nothing";
  file.PowerOn();
  EXPECT_EQ(ReadRegister(0x02, file, s), 0x0011);
  EXPECT_EQ(ReadRegister(0x50, file, s), 0x0800);
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

  const Sample quarter = SignalModel(Standing(1024), kOrigin).At(After(0));
  file.Write(0x03, 99 << 4);  // level 100
  EXPECT_EQ(ReadRegister(0x6A, file, quarter), 25);
}

}  // namespace
}  // namespace veritrak

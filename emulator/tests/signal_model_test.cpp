// The read-head, the signal model and the register map, as the host reads
// them. Which registers keep what the host writes is shown end to end in
// device_test.
#include "signal_model.h"

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

// The host's decoding of a 12-bit signal register.
int Signed12(uint16_t word) { return (((word >> 4) ^ 0x800) - 0x800); }

TEST(HeadMotion, SweepsBetweenItsTurningPointsAndSplitsItsPathAtThem) {
  const HeadMotion head(1000, 4000, 2000);
  const std::tuple<double, double, double> path[] = {
      {0, 1000, 2000}, {1, 3000, 2000}, {3, 3000, -2000}, {4, 1000, 2000}};
  for (const auto& [t, position, velocity] : path)
    EXPECT_EQ(std::pair(head.PositionAt(t), head.VelocityAt(t)), std::pair(position, velocity));
  const HeadMotion unit(0, 100, 100);
  const auto one = unit.StretchesBetween(0.5, 1.5);
  EXPECT_EQ(std::tuple(one.size(), one[0].from, one[0].to, one.back().to),
            std::tuple(size_t{2}, 50.0, 100.0, 50.0));
  EXPECT_EQ(unit.StretchesBetween(0.5, 1000.25).size(), 3u) << "two whole legs cover both ways";
}

TEST(SignalModel, RegistersFollowThePositionAndItsSignalPhase) {
  const RegisterFile file(1);
  for (const int32_t start :
       {0, 1024, 2048, 3000, 4096 * 7 + 512, -5000, (1 << 29) - 7, -(1 << 29)}) {
    const Sample s = SignalModel(Standing(start), kOrigin).At(After(0.1));
    auto read = [&](uint8_t reg) { return ReadRegister(reg, file, s); };
    const uint32_t joined =
        ((uint32_t{read(0x69)} * 0x10000 + read(0x68)) << 12) | (read(0x67) >> 4);
    EXPECT_EQ(static_cast<int32_t>(joined << 2) >> 2, start);
    EXPECT_LE(read(0x69), 3);
    const double angle = 2 * std::numbers::pi * (read(0x67) >> 4) / 4096;
    EXPECT_NEAR(Signed12(read(0x65)), 800 * std::sin(angle), 1) << start;
    EXPECT_NEAR(Signed12(read(0x64)), 800 * std::cos(angle), 1) << start;
    EXPECT_NEAR(read(0x66), 1.646 * 800 * 16, 32) << "the magnitude, in bits 4 to 15";
    // 0x24 to 0x2A read the same measurements as 0x64 to 0x6A.
    for (uint8_t reg = 0x24; reg <= 0x2A; ++reg) EXPECT_EQ(read(reg), read(reg + 0x40)) << +reg;
  }
}

// One sweep shows over-signal, green, yellow and red stretches, and the
// alarm bits of the status word agree with the level the host computes
// (the device compares whole vector lengths, so only away from the edges).
// At full amplitude and noise the channels still keep to 12 bits.
TEST(SignalModel, AmplitudeAlongTheSweepPassesEveryBandWithMatchingAlarmBits) {
  HeadSettings h;  // the program's defaults
  SignalModel model(h, kOrigin);
  const RegisterFile file(1);
  std::set<std::string> bands;
  for (int i = 0; i < 4000; ++i) {
    const Sample s = model.At(After(h.travel / h.speed * i / 4000));
    const uint16_t status = ReadRegister(0x21, file, s);
    const int x = Signed12(ReadRegister(0x65, file, s)), y = Signed12(ReadRegister(0x64, file, s));
    const double level = std::hypot(x, y) / 4 * 1.465;
    bands.insert(level > 385 ? "over" : level > 119 ? "green" : level > 84 ? "yellow" : "red");
    EXPECT_TRUE(std::abs(level - 84) < 0.2 || ((status & 4) != 0) == (level < 84)) << level;
    EXPECT_TRUE(std::abs(level - 119) < 0.2 || ((status & 8) != 0) == (level < 119)) << level;
  }
  EXPECT_EQ(bands, (std::set<std::string>{"over", "green", "yellow", "red"}));
  h.amplitudeLow = h.amplitudeHigh = 2047;
  h.noise = 50;
  SignalModel loud(h, kOrigin);
  for (int i = 0; i < 2000; ++i) {
    const Sample s = loud.At(After(i * 0.001));
    EXPECT_TRUE(s.sine >= -2048 && s.sine <= 2047 && s.cosine >= -2048 && s.magnitude <= 4095);
  }
}

TEST(SignalModel, TheIndexMarkAndItsCentring) {
  const RegisterFile file(1);
  HeadSettings at = Standing(50000), away = Standing(50000);
  at.indexAt = 50000 + 1000;
  away.indexAt = 50000 + 1100;  // half the index window is 1024 counts
  EXPECT_TRUE(ReadRegister(0x21, file, SignalModel(at, kOrigin).At(After(0))) & (1 << 9));
  EXPECT_FALSE(ReadRegister(0x21, file, SignalModel(away, kOrigin).At(After(0))) & (1 << 9));
  HeadSettings h = Standing(0, 1000);
  h.travel = 10000;
  h.indexAt = 4000;
  SignalModel model(h, kOrigin);
  auto read = [&](uint8_t reg, double t) { return ReadRegister(reg, file, model.At(After(t))); };
  EXPECT_EQ(read(0x21, 0.5) & 0xC00, 0);
  model.StartCentring(After(1));
  // Under way while the head has crossed the index going up only; centred once
  // it has crossed both ways.
  for (const auto& [t, phase] : {std::pair{2.0, 0x800}, {9.0, 0x800}, {17.0, 0x400}})
    EXPECT_EQ(read(0x21, t) & 0xC00, phase) << t;
  EXPECT_EQ((std::tuple{read(0x04, 17), read(0x2B, 17), read(0x2C, 17)}),
            std::tuple(4000 << 4, (4000 - 1024) << 4, ((4000 + 1024) & 0xFFF) << 4));
  model.PowerCycle(After(18));
  EXPECT_EQ(read(0x21, 19) & 0xC00, 0);
}

TEST(RegisterFile, InterpolationAndOutputFrequencyActOnTheHead) {
  RegisterFile file(1);
  const Sample moving = SignalModel(Standing(0, 200000), kOrigin).At(After(0.001));
  EXPECT_EQ(ReadRegister(0x06, file, moving), 0);
  file.Write(0x03, 4095 << 4);  // interpolation level 4096
  file.Write(0x02, 6);          // the slowest output
  EXPECT_EQ(ReadRegister(0x06, file, moving), 1) << "overspeed";
  file.Write(0x02, 5);
  EXPECT_EQ(ReadRegister(0x06, file, moving), 0) << "one step faster is fast enough";
  file.Write(0x03, 99 << 4);  // level 100
  EXPECT_EQ(ReadRegister(0x6A, file, SignalModel(Standing(1024), kOrigin).At(After(0))), 25);
}

}  // namespace
}  // namespace veritrak

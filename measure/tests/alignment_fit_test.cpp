// The alignment figures of a synthetic read-head that moves back and forth
// over the scale as the emulator's does, its level sweeping along the
// travel, sampled at the encoder-signal stream's rate in 12-bit counts.
#include "measure/alignment_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "measure/figure_rows.h"

namespace measure {
namespace {

constexpr double kVoltsPerCount = 1.98 / 4096;
constexpr double kCountsPerPeriod = 4096;
constexpr double kSamplesPerSecond = 349;

struct Head {
  double speed = 20000;                 // counts/s
  double low = 180, high = 1200;        // amplitude along the travel, counts
  double noise = 0.002;                 // peak, volts
  double sineOffset = 0, cosineOffset = 0, ratio = 1, phase = 0;  // volts, -, degrees
  double travel = 40 * kCountsPerPeriod;
  int samples = 1500;
  // After every stallEvery samples the line holds up this many samples' time:
  // the phase jumps.
  int stallEvery = 0, stallSamples = 0;
};

// The head turns at both ends of its travel; it starts a fifth of the way in.
double Position(const Head& h, double seconds) {
  if (h.travel <= 0) return 0;
  const double run = std::fmod(h.travel / 5 + h.speed * seconds, 2 * h.travel);
  return run < h.travel ? run : 2 * h.travel - run;
}

std::vector<SignalPoint> Sampled(const Head& h, unsigned seed = 7) {
  std::minstd_rand random(seed);
  std::uniform_real_distribution<double> noise(-h.noise, h.noise);
  const double skew = h.phase * std::numbers::pi / 180;
  const auto counts = [](double volts) { return std::round(volts / kVoltsPerCount) * kVoltsPerCount; };
  std::vector<SignalPoint> points;
  for (int i = 0; i < h.samples; ++i) {
    const int held = h.stallEvery ? i / h.stallEvery * h.stallSamples : 0;
    const double x = Position(h, (i + held) / kSamplesPerSecond);
    const double along = h.travel > 0 ? x / h.travel : 0;
    const double amplitude =
        ((h.low + h.high) / 2 + (h.high - h.low) / 2 * std::sin(2 * std::numbers::pi * along)) *
        kVoltsPerCount;
    const double t = 2 * std::numbers::pi * x / kCountsPerPeriod;
    points.push_back({counts(h.sineOffset + amplitude * std::sin(t) + noise(random)),
                      counts(h.cosineOffset + h.ratio * amplitude * std::cos(t + skew) +
                             noise(random))});
  }
  return points;
}

Head Planted(double sin, double cos, double ratio, double phase) {
  Head h;
  h.sineOffset = sin, h.cosineOffset = cos, h.ratio = ratio, h.phase = phase;
  return h;
}

Head Steady(Head h, double amplitude) {
  h.low = h.high = amplitude;
  return h;
}

// Offsets within 1 mV, the ratio within 0.2 % and the phase within 0.1° of
// the planted head, also where the level changes several-fold.
TEST(AlignmentFit, ReadsBackPlantedErrorsWhileTheLevelChanges) {
  const Head cases[] = {
      Head{},
      Planted(0.02, 0, 1.05, 3),
      Planted(-0.03, 0.015, 0.95, -4),
      Steady(Planted(0.02, -0.01, 1.05, 3), 700),
      Steady(Planted(0, 0, 1, -2), 300),
      // A jump by less than a quarter period, or by a period and a twelfth.
      Head{.sineOffset = 0.01, .ratio = 1.03, .phase = 2, .stallEvery = 170, .stallSamples = 40},
      Head{.sineOffset = 0.01, .ratio = 1.03, .phase = 2, .stallEvery = 170, .stallSamples = 77},
  };
  for (unsigned seed = 1; seed <= 3; ++seed)
    for (const Head& h : cases) {
      const AlignmentFit fit = FitAlignment(Sampled(h, seed));
      ASSERT_TRUE(std::holds_alternative<AlignmentFigures>(fit)) << h.phase;
      const AlignmentFigures& f = std::get<AlignmentFigures>(fit);
      EXPECT_NEAR(f.sineOffset.value, h.sineOffset, 0.001) << h.phase;
      EXPECT_NEAR(f.cosineOffset.value, h.cosineOffset, 0.001) << h.phase;
      EXPECT_NEAR(f.amplitudeRatio.value, 100 * h.ratio, 0.2) << h.phase;
      EXPECT_NEAR(f.phaseError.value, h.phase, 0.1) << h.phase;
      EXPECT_LE(f.phaseError.min, f.phaseError.value);
      EXPECT_GE(f.phaseError.max, f.phaseError.value);
      EXPECT_EQ(f.samples, h.samples);
      EXPECT_GT(f.stretches, 1);
    }
}

TEST(AlignmentFit, TheSpreadShowsHowTheAmplitudeChangesAlongTheTravel) {
  const auto f = std::get<AlignmentFigures>(FitAlignment(Sampled(Head{})));
  EXPECT_GT(f.sineAmplitude.max / f.sineAmplitude.min, 1.5);
  EXPECT_LT(f.amplitudeRatio.max - f.amplitudeRatio.min, 0.5);
  const auto steady = std::get<AlignmentFigures>(FitAlignment(Sampled(Steady(Head{}, 700))));
  EXPECT_NEAR(steady.sineAmplitude.value, 2 * 700 * kVoltsPerCount, 0.002);
  EXPECT_NEAR(steady.signalLevel.value, 700 * kPercentPerCount, 0.2);
}

TEST(AlignmentFit, RefusesWhatItCannotTrust) {
  Head atRest;
  atRest.speed = 0;
  Head shortArc;
  shortArc.speed = 500;  // 3 s over less than half a period
  Head weak = Steady(Head{}, 60);
  Head dead = Steady(Head{}, 0);
  Head few;
  few.samples = kMinFitSamples - 1;
  Head plantedAtRest = Planted(0.3, 0.3, 1, 0);
  plantedAtRest.speed = 0;
  const std::pair<Head, FitRefusal> cases[] = {
      {atRest, FitRefusal::NotTravelled},     {plantedAtRest, FitRefusal::NotTravelled},
      {shortArc, FitRefusal::NotTravelled},   {weak, FitRefusal::LevelTooLow},
      {dead, FitRefusal::LevelTooLow},        {few, FitRefusal::TooFewSamples}};
  for (const auto& [head, refusal] : cases) {
    const AlignmentFit fit = FitAlignment(Sampled(head));
    ASSERT_TRUE(std::holds_alternative<FitRefusal>(fit)) << int(refusal);
    EXPECT_EQ(std::get<FitRefusal>(fit), refusal);
  }
}

// A cluster at one point with a few strays that go round, and a cloud that
// travels round the origin, are no ring.
TEST(AlignmentFit, RefusesSamplesOffTheEllipse) {
  std::vector<SignalPoint> cluster = Sampled(Steady(Head{.speed = 0}, 600));
  const std::vector<SignalPoint> ring = Sampled(Steady(Head{}, 600));
  for (size_t i = 0; i < cluster.size(); i += 10) cluster[i] = ring[i];
  std::vector<SignalPoint> cloud = ring;
  std::minstd_rand random(3);
  std::uniform_real_distribution<double> scale(0.2, 1.8);
  for (SignalPoint& p : cloud) {
    const double s = scale(random);
    p = {p.sine * s, p.cosine * s};
  }
  for (const auto& points : {cluster, cloud}) {
    const AlignmentFit fit = FitAlignment(points);
    ASSERT_TRUE(std::holds_alternative<FitRefusal>(fit));
    EXPECT_NE(std::get<FitRefusal>(fit), FitRefusal::TooFewSamples);
  }
}

// Strong noise widens the spread but leaves the medians near the truth.
TEST(AlignmentFit, NoiseWidensTheSpread) {
  Head noisy = Planted(0.02, 0, 1.05, 3);
  noisy.noise = 0.01;
  const auto f = std::get<AlignmentFigures>(FitAlignment(Sampled(noisy)));
  EXPECT_NEAR(f.sineOffset.value, 0.02, 0.003);
  EXPECT_NEAR(f.amplitudeRatio.value, 105, 1);
  EXPECT_NEAR(f.phaseError.value, 3, 0.5);
}

// Figures below zero or below their ideal are judged as their twins above.
TEST(FigureRows, JudgeBothSidesOfTheIdealAlike) {
  const AlignmentTolerances t;
  const auto verdicts = [&](double offsetPercent, double ratio, double phase) {
    AlignmentFigures f{};
    f.sineOffsetPercent = f.cosineOffsetPercent = {offsetPercent, offsetPercent, offsetPercent};
    f.amplitudeRatio = {ratio, ratio, ratio};
    f.phaseError = {phase, phase, phase};
    f.signalLevel = {60, 60, 60};
    std::vector<std::optional<Verdict>> v;
    for (const FigureRow& row : FigureRows(f, t)) v.push_back(row.verdict);
    return v;
  };
  const double cases[][3] = {{4, 104, 1.5}, {7, 107, 3}, {12, 112, 6}};
  for (const auto& c : cases)
    EXPECT_EQ(verdicts(c[0], c[1], c[2]), verdicts(-c[0], 200 - c[1], -c[2])) << c[0];
  EXPECT_EQ(FormatValue(-0.04, 1), "0.0");
  EXPECT_EQ(FormatValue(-0.06, 1), "-0.1");
}

}  // namespace
}  // namespace measure

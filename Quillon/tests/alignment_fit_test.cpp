// The alignment figures of synthetic signals with known errors: offsets,
// unequal amplitudes, a phase error and noise read back; too few samples, a
// short arc or a line give no figures.
#include "alignment_fit.h"

#include <gtest/gtest.h>

#include <numbers>
#include <random>
#include <vector>

namespace quillon {
namespace {

struct Planted {
  double sineOffset, cosineOffset, sineAmplitude, ratio, phaseDegrees, noise;
};

// n samples over `turns` of the circle, with uniform noise of the given peak.
std::vector<SignalPoint> Signals(const Planted& s, int n = 2000, double turns = 3) {
  std::minstd_rand random(7);
  std::uniform_real_distribution<double> noise(-s.noise, s.noise);
  std::vector<SignalPoint> points;
  const double phi = s.phaseDegrees * std::numbers::pi / 180;
  for (int i = 0; i < n; ++i) {
    const double t = 2 * std::numbers::pi * turns * i / n;
    points.push_back({s.sineOffset + s.sineAmplitude * std::sin(t) + noise(random),
                      s.cosineOffset + s.ratio * s.sineAmplitude * std::cos(t + phi) +
                          noise(random)});
  }
  return points;
}

TEST(AlignmentFit, ReadsBackPlantedErrors) {
  // clang-format off
  const Planted cases[] = {
      {0, 0, 0.5, 1, 0, 0}, {0.05, -0.03, 0.5, 1, 0, 0}, {0, 0, 0.4, 1.1, 0, 0},
      {0, 0, 0.5, 1, 5, 0}, {0, 0, 0.5, 1, -3, 0}, {0.02, 0.01, 0.3, 0.9, 2, 0.005},
      {-0.1, 0.08, 0.25, 1.2, -7, 0.01}};
  // clang-format on
  for (const Planted& s : cases) {
    const AlignmentFit fit = FitAlignment(Signals(s));
    ASSERT_TRUE(std::holds_alternative<AlignmentFigures>(fit)) << s.phaseDegrees;
    const AlignmentFigures& f = std::get<AlignmentFigures>(fit);
    const double tolerance = s.noise > 0 ? 0.002 : 1e-9;  // volts
    EXPECT_NEAR(f.sineOffset, s.sineOffset, tolerance);
    EXPECT_NEAR(f.cosineOffset, s.cosineOffset, tolerance);
    EXPECT_NEAR(f.sineAmplitude, 2 * s.sineAmplitude, 2 * tolerance);
    EXPECT_NEAR(f.amplitudeRatio, 100 * s.ratio, s.noise > 0 ? 0.5 : 1e-6);
    EXPECT_NEAR(f.phaseError, s.phaseDegrees, s.noise > 0 ? 0.3 : 1e-6);
    EXPECT_NEAR(f.sineOffsetPercent, 100 * s.sineOffset / s.sineAmplitude, 1);
    EXPECT_NEAR(f.signalLevel, 100 * s.sineAmplitude * (1 + s.ratio) / 2 / 0.5, 1);
  }
}

TEST(AlignmentFit, RefusesWhatItCannotTrust) {
  const Planted round{0, 0, 0.5, 1, 0, 0.001};
  std::vector<SignalPoint> line;
  for (int i = 0; i < 100; ++i) line.push_back({i * 0.01, i * 0.02});
  const std::pair<std::vector<SignalPoint>, FitRefusal> cases[] = {
      {Signals(round, kMinFitSamples - 1), FitRefusal::TooFewSamples},
      {Signals(round, 500, 0.75), FitRefusal::TooClustered},
      {line, FitRefusal::NoEllipse},
      {std::vector<SignalPoint>(100, {0.1, 0.1}), FitRefusal::NoEllipse}};
  for (const auto& [points, refusal] : cases) {
    const AlignmentFit fit = FitAlignment(points);
    ASSERT_TRUE(std::holds_alternative<FitRefusal>(fit)) << points.size();
    EXPECT_EQ(std::get<FitRefusal>(fit), refusal) << points.size();
  }
}

}  // namespace
}  // namespace quillon

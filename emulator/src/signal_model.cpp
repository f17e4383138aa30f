#include "signal_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace veritrak {

SignalModel::SignalModel(const HeadSettings& settings, TimePoint origin)
    : settings_(settings),
      origin_(origin),
      head_(settings.startPosition, settings.travel, settings.speed),
      centring_(settings.indexAt.value_or(settings.startPosition + settings.travel / 2)),
      noise_(settings.seed) {}

Sample SignalModel::At(TimePoint t) {
  const double seconds = Seconds(t);
  Follow(seconds);
  const double position = head_.PositionAt(seconds);
  const double amplitude = AmplitudeAt(position);
  const double phase = 2 * std::numbers::pi * AngleOf(position) / kCountsPerPeriod;
  Sample s;
  s.counter = std::llround(position) - zeroOffset_;
  const double skew = settings_.phaseError * std::numbers::pi / 180;
  s.sine = Channel(amplitude * std::sin(phase) + settings_.sineOffset / kVoltsPerCount);
  s.cosine = Channel(settings_.gainRatio * amplitude * std::cos(phase + skew) +
                     settings_.cosineOffset / kVoltsPerCount);
  s.level = std::hypot(s.sine, s.cosine);
  s.magnitude = static_cast<uint16_t>(std::min(4095L, std::lround(kMagnitudeGain * s.level)));
  s.velocity = head_.VelocityAt(seconds);
  s.atIndex = centring_.AtIndex(position);
  s.centring = centring_.State();
  s.risingEdge = centring_.RisingEdge();
  s.fallingEdge = centring_.FallingEdge();
  s.indexCentre = centring_.Centre();
  return s;
}

void SignalModel::ZeroCounter(TimePoint t) {
  const int64_t here = std::llround(head_.PositionAt(Seconds(t)));
  zeroOffset_ = here - (here & (kCountsPerPeriod - 1));
}

void SignalModel::StartCentring(TimePoint t) {
  Follow(Seconds(t));
  centring_.Start();
}

void SignalModel::PowerCycle(TimePoint t) {
  ZeroCounter(t);
  centring_.Forget();
}

double SignalModel::Seconds(TimePoint t) const {
  return std::chrono::duration<double>(t - origin_).count();
}

void SignalModel::Follow(double seconds) {
  if (seconds <= followed_) return;
  for (const Stretch& piece : head_.StretchesBetween(followed_, seconds)) centring_.Observe(piece);
  followed_ = seconds;
}

// One sweep of the travel passes through every signal-level band: the
// amplitude starts between its limits, rises to the high one a quarter of
// the way along and falls to the low one at three quarters.
double SignalModel::AmplitudeAt(double position) const {
  const double middle = (settings_.amplitudeHigh + settings_.amplitudeLow) / 2;
  const double swing = (settings_.amplitudeHigh - settings_.amplitudeLow) / 2;
  if (settings_.travel <= 0) return middle;
  const double along = (position - settings_.startPosition) / settings_.travel;
  return middle + swing * std::sin(2 * std::numbers::pi * along);
}

int16_t SignalModel::Channel(double value) {
  std::uniform_real_distribution<double> noise(-settings_.noise, settings_.noise);
  const double noisy = settings_.noise > 0 ? value + noise(noise_) : value;
  return static_cast<int16_t>(std::clamp<long>(std::lround(noisy), -2048, 2047));
}

}  // namespace veritrak

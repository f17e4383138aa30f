// What the read-head sees: sine and cosine whose phase follows the position
// (one period per 4096 counts), an amplitude that varies along the scale, a
// little noise, and the index mark.
#pragma once

#include <cstdint>
#include <random>

#include "head_motion.h"
#include "index_centring.h"
#include "veritrak/emulator.h"
#include "wire_format.h"

namespace veritrak {

inline constexpr int32_t kCountsPerPeriod = 4096;
// The interpolator reports the vector length scaled by this gain.
inline constexpr double kMagnitudeGain = 1.646;

struct Sample {
  int64_t counter = 0;  // the position counter before it is cut to 30 bits
  int16_t sine = 0;     // 12-bit two's complement
  int16_t cosine = 0;
  uint16_t magnitude = 0;  // 12 bits
  double level = 0;        // length of the (sine, cosine) vector
  double velocity = 0;     // counts per second
  bool atIndex = false;
  IndexCentring::Phase centring = IndexCentring::Phase::Idle;
  uint16_t risingEdge = 0;
  uint16_t fallingEdge = 0;
  uint16_t indexCentre = 0;
};

class SignalModel {
 public:
  SignalModel(const HeadSettings& settings, TimePoint origin);

  // Times never go backwards; each sample draws fresh noise.
  Sample At(TimePoint t);
  // The counter restarts from the start of the current signal period, so
  // that its low 12 bits keep following the signal phase.
  void ZeroCounter(TimePoint t);
  void StartCentring(TimePoint t);
  void PowerCycle(TimePoint t);

 private:
  double Seconds(TimePoint t) const;
  void Follow(double seconds);
  double AmplitudeAt(double position) const;
  int16_t Channel(double value);

  HeadSettings settings_;
  TimePoint origin_;
  HeadMotion head_;
  IndexCentring centring_;
  double followed_ = 0;  // seconds up to which the centring has seen the path
  int64_t zeroOffset_ = 0;
  std::minstd_rand noise_;
};

}  // namespace veritrak

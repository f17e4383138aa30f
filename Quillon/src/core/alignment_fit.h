// How well a read-head is aligned, from its sine and cosine signals. The
// pair traces an ellipse; a least-squares fit of it (the classic correction
// of quadrature signals) gives each channel's offset and amplitude, their
// ratio and the phase error, which a round, centred Lissajous circle of the
// right size has all at their ideal values.
#pragma once

#include <span>
#include <variant>

namespace quillon {

struct SignalPoint {
  double sine;    // volts
  double cosine;  // volts
};

struct AlignmentFigures {
  double sineOffset, cosineOffset;                // volts
  double sineOffsetPercent, cosineOffsetPercent;  // of the channel's amplitude
  double sineAmplitude, cosineAmplitude;          // volts peak to peak
  double amplitudeRatio;                          // cosine over sine, %
  double phaseError;                              // degrees from 90
  double signalLevel;                             // mean amplitude, % of 0.5 V
};

// Why no figures can be trusted.
enum class FitRefusal {
  TooFewSamples,
  TooClustered,  // the samples cover too little of the circle
  NoEllipse,     // they lie on no ellipse (a line, a point, noise)
};

using AlignmentFit = std::variant<AlignmentFigures, FitRefusal>;

// The fewest samples a fit takes.
inline constexpr int kMinFitSamples = 50;

AlignmentFit FitAlignment(std::span<const SignalPoint> points);

}  // namespace quillon

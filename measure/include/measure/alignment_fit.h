// How well a read-head is aligned, from its sine and cosine signals.
//
// The pair traces an ellipse whose centre gives each channel's offset, whose
// axes the amplitudes and their ratio, and whose tilt the phase error. Along
// the scale the signal level changes (the gap, the grating), so one ellipse
// fitted to a long run fits none of its samples. The run is therefore cut
// into stretches of a few signal periods, the phase unwrapped from the
// samples themselves. Each stretch gets a least-squares conic whose size may
// change smoothly with the phase (its squared radius a quadratic in the
// unwrapped phase) while its centre and shape stay fixed; a second pass
// takes the phase from the first pass's ellipse. The figures are the
// medians over the stretches, each with its smallest and largest value, so
// that a technician sees whether a figure holds along the axis.
#pragma once

#include <cstddef>
#include <span>
#include <variant>

namespace measure {

struct SignalPoint {
  double sine;    // volts
  double cosine;  // volts
};

// The median over the stretches and its spread.
struct Figure {
  double value, min, max;
};

struct AlignmentFigures {
  Figure sineOffset, cosineOffset;                // volts
  Figure sineOffsetPercent, cosineOffsetPercent;  // of the channel's amplitude
  Figure sineAmplitude, cosineAmplitude;          // volts peak to peak
  Figure amplitudeRatio;  // cosine over sine, %
  Figure phaseError;      // degrees the cosine leads beyond a quarter period
  Figure signalLevel;     // % on the one signal-level scale
  int samples;            // taken into the figures
  int stretches;
  double periods;  // of signal phase travelled, from end to end
};

// Why no figures can be trusted.
enum class FitRefusal {
  TooFewSamples,
  LevelTooLow,   // too weak for the figures to mean anything
  NotTravelled,  // the phase moved over too few signal periods
  OffEllipse,    // the samples do not lie on an ellipse
};

using AlignmentFit = std::variant<AlignmentFigures, FitRefusal>;

// The least a fit takes: samples, their level, and travel.
inline constexpr int kMinFitSamples = 100;
inline constexpr double kMinFitLevelPercent = 10;
inline constexpr double kMinTravelPeriods = 3;

// The newest samples a live read-out fits: several signal periods of a head
// moving at a working speed, at the rate the encoder-signal stream carries.
inline constexpr size_t kFitWindowSamples = 1500;

// The samples must be in the order they were taken.
AlignmentFit FitAlignment(std::span<const SignalPoint> points);

}  // namespace measure

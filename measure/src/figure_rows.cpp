#include "measure/figure_rows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "measure/signal_level.h"

namespace measure {
namespace {

Figure Scaled(const Figure& f, double by) { return {f.value * by, f.min * by, f.max * by}; }

std::string Bounds(const char* around, double good, double marginal, const char* unit) {
  char text[96];
  std::snprintf(text, sizeof text, "good %s%g %s, marginal %s%g %s", around, good, unit, around,
                marginal, unit);
  return text;
}

std::string LevelBounds() {
  char text[96];
  std::snprintf(text, sizeof text, "good %.1f to %.1f %%, marginal %.1f %%",
                BandFloorPercent(LevelBand::Good), BandFloorPercent(LevelBand::OverSignal),
                BandFloorPercent(LevelBand::Marginal));
  return text;
}

}  // namespace

std::vector<FigureRow> FigureRows(const AlignmentFigures& f, const AlignmentTolerances& t) {
  const auto offset = [&](const Figure& percent) {
    return Judge(percent.value, t.offsetGood, t.offsetMarginal);
  };
  const std::string offsetBounds = Bounds("±", t.offsetGood, t.offsetMarginal, "%");
  const LevelBand band = BandOfPercent(f.signalLevel.value);
  return {
      {"sine_offset", "Sine offset", Scaled(f.sineOffset, 1000), "mV", 1, {}, {}},
      {"sine_offset_percent", "Sine offset", f.sineOffsetPercent, "%", 1,
       offset(f.sineOffsetPercent), offsetBounds},
      {"cosine_offset", "Cosine offset", Scaled(f.cosineOffset, 1000), "mV", 1, {}, {}},
      {"cosine_offset_percent", "Cosine offset", f.cosineOffsetPercent, "%", 1,
       offset(f.cosineOffsetPercent), offsetBounds},
      {"sine_amplitude", "Sine amplitude", Scaled(f.sineAmplitude, 1000), "mVpp", 0, {}, {}},
      {"cosine_amplitude", "Cosine amplitude", Scaled(f.cosineAmplitude, 1000), "mVpp", 0, {},
       {}},
      {"amplitude_ratio", "Amplitude ratio", f.amplitudeRatio, "%", 2,
       Judge(f.amplitudeRatio.value - 100, t.ratioGood, t.ratioMarginal),
       Bounds("100 ± ", t.ratioGood, t.ratioMarginal, "%")},
      {"phase_error", "Phase error", f.phaseError, "deg", 2,
       Judge(f.phaseError.value, t.phaseGood, t.phaseMarginal),
       Bounds("±", t.phaseGood, t.phaseMarginal, "deg")},
      {"signal_level", "Signal level", f.signalLevel, "%", 1, VerdictOfBand(band), LevelBounds(),
       BandName(band)},
  };
}

Verdict OverallVerdict(const std::vector<FigureRow>& rows) {
  Verdict worst = Verdict::Good;
  for (const FigureRow& row : rows)
    if (row.verdict) worst = std::max(worst, *row.verdict);
  return worst;
}

std::string FormatValue(double value, int decimals) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  const std::string shown = text;
  return shown.find_first_of("123456789") == std::string::npos && shown.starts_with('-')
             ? shown.substr(1)
             : shown;
}

const char* RefusalText(FitRefusal refusal) {
  switch (refusal) {
    case FitRefusal::TooFewSamples:
      return "Too few samples yet: keep the read-head moving along the scale";
    case FitRefusal::LevelTooLow:
      return "The signal is too weak for alignment figures (below 10 % signal level): check the "
             "read-head's gap over the grating and its cable";
    case FitRefusal::NotTravelled:
      return "The read-head has not travelled far enough: move the read-head along the scale "
             "over at least 3 signal periods";
    case FitRefusal::OffEllipse:
      break;
  }
  return "The signals do not trace an ellipse: check the read-head, the grating and the cable";
}

}  // namespace measure

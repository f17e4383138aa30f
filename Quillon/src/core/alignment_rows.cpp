#include "alignment_rows.h"

namespace quillon {

std::vector<FigureRow> FigureRows(const AlignmentFigures& f, const AlignmentTolerances& t) {
  const auto offset = [&](double percent) {
    return Judge(percent, t.offsetGood, t.offsetMarginal);
  };
  return {
      {"sine_offset", "Sine offset", f.sineOffset, "V", offset(f.sineOffsetPercent)},
      {"sine_offset_percent", "Sine offset", f.sineOffsetPercent, "%",
       offset(f.sineOffsetPercent)},
      {"cosine_offset", "Cosine offset", f.cosineOffset, "V", offset(f.cosineOffsetPercent)},
      {"cosine_offset_percent", "Cosine offset", f.cosineOffsetPercent, "%",
       offset(f.cosineOffsetPercent)},
      {"sine_amplitude", "Sine amplitude", f.sineAmplitude, "Vpp", std::nullopt},
      {"cosine_amplitude", "Cosine amplitude", f.cosineAmplitude, "Vpp", std::nullopt},
      {"amplitude_ratio", "Amplitude ratio", f.amplitudeRatio, "%",
       Judge(f.amplitudeRatio - 100, t.ratioGood, t.ratioMarginal)},
      {"phase_error", "Phase error", f.phaseError, "deg",
       Judge(f.phaseError, t.phaseGood, t.phaseMarginal)},
      {"signal_level", "Signal level", f.signalLevel, "%", JudgeLevel(f.signalLevel, t)},
  };
}

const char* RefusalText(FitRefusal refusal) {
  switch (refusal) {
    case FitRefusal::TooFewSamples:
      return "Too few samples yet";
    case FitRefusal::TooClustered:
      return "The samples cover too little of the circle: move the head over a few signal "
             "periods";
    case FitRefusal::NoEllipse:
      break;
  }
  return "The signals trace no ellipse: check the read-head and its cable";
}

}  // namespace quillon

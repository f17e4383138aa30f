// How far each alignment figure may stray, and the verdicts on them. The
// bounds live in the section [tolerances] of the window's options file
// "Quillon-options.ini"; probelink-cli reads the same file.
#pragma once

#include <span>
#include <string>

#include "measure/signal_level.h"

namespace measure {

// Within the first bound a figure is good (green), within the second
// marginal (yellow), beyond it poor (red). The signal level has no bounds of
// its own: it is judged by the bands of the status page's bar.
struct AlignmentTolerances {
  double offsetGood = 5, offsetMarginal = 10;  // % of the channel's amplitude
  double ratioGood = 5, ratioMarginal = 10;    // % away from 100 %
  double phaseGood = 2, phaseMarginal = 5;     // degrees
};

enum class Verdict { Good, Marginal, Poor };

// A value judged by its distance from the ideal, either side alike.
Verdict Judge(double distance, double good, double marginal);
// A good band is good, a marginal band marginal; a poor level and an
// over-signal are poor.
Verdict VerdictOfBand(LevelBand band);
// "good", "marginal", "poor".
const char* VerdictName(Verdict verdict);
// The worst of them; good for none.
Verdict Worst(std::span<const Verdict> verdicts);

// The tolerances of an options file: a missing file, key, or a value that is
// not a number of zero or more keeps the default.
AlignmentTolerances ReadTolerances(const std::string& optionsFile);

}  // namespace measure

// The settings added beyond the program's original two files. "Quillon.ini"
// has a fixed line layout that stored files rely on, so these live in a Qt
// INI file of their own, "Quillon-options.ini", beside it.
#pragma once

#include <QString>

namespace quillon {

// How far each alignment figure may stray: within the first bound it is
// good (green), within the second marginal (yellow), beyond it poor (red).
struct AlignmentTolerances {
  double offsetGood = 5, offsetMarginal = 10;  // % of the channel's amplitude
  double ratioGood = 5, ratioMarginal = 10;    // % away from 100 %
  double phaseGood = 2, phaseMarginal = 5;     // degrees
  double levelGoodLow = 80, levelGoodHigh = 120;
  double levelMarginalLow = 60, levelMarginalHigh = 140;  // %
};

struct ExtraOptions {
  bool allControls = false;  // show the controls this window design hides
  AlignmentTolerances tolerances;
};

inline constexpr char kExtraOptionsFile[] = "Quillon-options.ini";

// The options of `dir`'s file; a missing file, key or unreadable value
// keeps the default.
ExtraOptions ReadExtraOptions(const QString& dir);

enum class Verdict { Good, Marginal, Poor };

// A value judged by its distance from the ideal against two bounds.
Verdict Judge(double distance, double good, double marginal);
// The signal level judged against its bands.
Verdict JudgeLevel(double level, const AlignmentTolerances& t);

}  // namespace quillon

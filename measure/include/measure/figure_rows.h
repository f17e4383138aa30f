// The alignment figures as named rows, in the units people read them in.
// The window's read-out, the set-up report with its text twin and
// probelink-cli all list them from here: one name, unit and format for
// each quantity.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "measure/alignment_fit.h"
#include "measure/tolerances.h"

namespace measure {

struct FigureRow {
  const char* name;   // stable, for scripts: "sine_offset_percent"
  const char* label;  // for people: "Sine offset"
  Figure figure;      // in `unit`
  const char* unit;   // "mV", "mVpp", "%", "deg"
  int decimals;
  std::optional<Verdict> verdict;  // none for a figure that is only informative
  std::string tolerance;           // the bounds of its verdict, for people
  const char* band = nullptr;      // the signal level's band word
};

std::vector<FigureRow> FigureRows(const AlignmentFigures& f, const AlignmentTolerances& t);

// The worst verdict of the rows.
Verdict OverallVerdict(const std::vector<FigureRow>& rows);

// A value with the row's decimals; a value that rounds to zero is "0", never
// "-0".
std::string FormatValue(double value, int decimals);

// Why no figures are shown, and what to do, in words for the technician.
const char* RefusalText(FitRefusal refusal);

}  // namespace measure

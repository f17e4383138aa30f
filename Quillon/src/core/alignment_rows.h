// The alignment figures as named rows: the read-out, the set-up report and
// its text twin all list them alike, with stable names for scripts.
#pragma once

#include <optional>
#include <vector>

#include "alignment_fit.h"
#include "extra_options.h"

namespace quillon {

struct FigureRow {
  const char* name;   // stable, for scripts: "sine_offset"
  const char* label;  // for people: "Sine offset"
  double value;
  const char* unit;
  std::optional<Verdict> verdict;  // none for a figure that is only informative
};

std::vector<FigureRow> FigureRows(const AlignmentFigures& f, const AlignmentTolerances& t);

// Why no figures are shown, in words for the technician.
const char* RefusalText(FitRefusal refusal);

}  // namespace quillon

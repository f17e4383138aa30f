// The settings added beyond the program's original two files. "Quillon.ini"
// has a fixed line layout that stored files rely on, so these live in a Qt
// INI file of their own, "Quillon-options.ini", beside it.
#pragma once

#include <QString>

#include "measure/tolerances.h"

namespace quillon {

struct ExtraOptions {
  bool allControls = false;  // show the controls this window design hides
  measure::AlignmentTolerances tolerances;
};

inline constexpr char kExtraOptionsFile[] = "Quillon-options.ini";

// The options of `dir`'s file; a missing file, key or unreadable value
// keeps the default.
ExtraOptions ReadExtraOptions(const QString& dir);

}  // namespace quillon

// How long a count is: given outright, or a grating's pitch divided by the
// interpolation level as the window divides it, in the unit the user or the
// window's settings ask for.
#pragma once

#include <filesystem>
#include <optional>

#include "length_unit.h"
#include "session.h"

namespace probelink_cli {

struct LengthRule {
  Length length;           // of one count, or of one grating period
  bool perPeriod = false;  // divide by the electronics' interpolation level
  const LengthUnit* shownIn = nullptr;
};

struct CountScale {
  const LengthUnit* unit = nullptr;
  double perCount = 0;  // in `unit`
};

// The rule the options give: --count-length, --grating-pitch, or the units
// of the window's settings in `settings` (with --grating-pitch for a linear
// grating, whose pitch the window does not keep). None for counts. A
// Failure with kUsageError for options that contradict each other or a
// folder without settings.
std::optional<LengthRule> ChooseLengthRule(const std::optional<Length>& countLength,
                                           const std::optional<Length>& gratingPitch,
                                           const std::optional<std::filesystem::path>& settings);

// The window's rule: models above code 2 do not interpolate their count.
std::optional<CountScale> ScaleFor(const std::optional<LengthRule>& rule, const Identity& identity);

}  // namespace probelink_cli

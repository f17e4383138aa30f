// One vocabulary for what the program prints: the JSON key of a quantity
// says its unit, so that JSON, CSV headings and the lines for people agree.
// Lengths carry their unit in the key ("position_mm", "velocity_mm_per_s"),
// counts and the other quantities have keys of their own ("position",
// "signal_level").
#pragma once

#include <string>
#include <string_view>

#include "length_unit.h"

namespace probelink_cli {

// The unit of a key's value, "" for words, flags and plain numbers.
std::string UnitOf(std::string_view key);
// "position" for "position_mm", "signal level" for "signal_level": what
// people read beside a value that carries its unit.
std::string QuantityName(std::string_view key);
// "position (counts)", "position (mm)", "index": a column heading.
std::string Heading(std::string_view key);
// "position_mm" for a length, "velocity_mm_per_s" for a speed.
std::string LengthKey(std::string_view quantity, const LengthUnit& unit);
std::string SpeedKey(std::string_view quantity, const LengthUnit& unit);

}  // namespace probelink_cli

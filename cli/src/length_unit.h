// Lengths on the scale: the window's six units, and a count's length in one
// of them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace probelink_cli {

struct LengthUnit {
  const char* key;     // in JSON keys and on the command line: "um"
  const char* symbol;  // for people and in headings: "µm"
  double nanometres;   // in one unit
  int decimals;        // as the window shows a position in this unit
};

// In the order of the window's unit setting: nanometres, micrometres,
// millimetres, microinches, mils, inches.
inline constexpr std::array<LengthUnit, 6> kLengthUnits = {{{"nm", "nm", 1, 2},
                                                            {"um", "µm", 1e3, 5},
                                                            {"mm", "mm", 1e6, 8},
                                                            {"uin", "µin", 25.4, 4},
                                                            {"mil", "mil", 25.4e3, 7},
                                                            {"in", "in", 25.4e6, 10}}};

struct Length {
  double value = 0;
  const LengthUnit* unit = nullptr;

  double In(const LengthUnit& other) const { return value * unit->nanometres / other.nanometres; }
};

// "0.5um", "0.5 µm", "20mm": a positive length and its unit.
std::optional<Length> ParseLength(std::string_view text);
// "nm, um (µm), mm, uin (µin), mil, in": for messages.
std::string UnitList();

}  // namespace probelink_cli

#include "length_unit.h"

#include <charconv>
#include <cmath>

namespace probelink_cli {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

const LengthUnit* UnitNamed(std::string_view name) {
  for (const LengthUnit& unit : kLengthUnits)
    if (name == unit.key || name == unit.symbol) return &unit;
  return nullptr;
}

}  // namespace

std::optional<Length> ParseLength(std::string_view text) {
  Length length;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, length.value);
  if (error != std::errc() || !std::isfinite(length.value) || length.value <= 0)
    return std::nullopt;
  length.unit = UnitNamed(Trimmed(std::string_view(stop, end)));
  if (!length.unit) return std::nullopt;
  return length;
}

std::string UnitList() {
  std::string list;
  for (const LengthUnit& unit : kLengthUnits) {
    if (!list.empty()) list += ", ";
    list += unit.key;
    if (std::string_view(unit.key) != unit.symbol) list += std::string(" (") + unit.symbol + ")";
  }
  return list;
}

}  // namespace probelink_cli

#include "quantities.h"

#include <algorithm>
#include <map>

namespace probelink_cli {
namespace {

constexpr std::string_view kPerSecond = "_per_s";

const std::map<std::string_view, std::string_view>& FixedUnits() {
  static const std::map<std::string_view, std::string_view> units = {
      {"time", "s"},          {"seconds", "s"}, {"position", "counts"}, {"velocity", "counts/s"},
      {"sine", "V"},          {"cosine", "V"},  {"signal_level", "%"},  {"output_frequency", "MHz"},
      {"power_on_hours", "h"}};
  return units;
}

struct Split {
  std::string_view name, unit;
};

// "position_mm" is position in mm, "velocity_mm_per_s" velocity in mm/s.
Split SplitKey(std::string_view key) {
  if (const auto fixed = FixedUnits().find(key); fixed != FixedUnits().end())
    return {key, fixed->second};
  const bool speed = key.ends_with(kPerSecond);
  const std::string_view stem = speed ? key.substr(0, key.size() - kPerSecond.size()) : key;
  for (const LengthUnit& unit : kLengthUnits) {
    const std::string suffix = std::string("_") + unit.key;
    if (stem.size() > suffix.size() && stem.ends_with(suffix))
      return {stem.substr(0, stem.size() - suffix.size()), unit.symbol};
  }
  return {key, ""};
}

}  // namespace

std::string UnitOf(std::string_view key) {
  const Split split = SplitKey(key);
  if (split.unit.empty() || !key.ends_with(kPerSecond)) return std::string(split.unit);
  return std::string(split.unit) + "/s";
}

std::string QuantityName(std::string_view key) {
  std::string name(SplitKey(key).name);
  std::replace(name.begin(), name.end(), '_', ' ');
  return name;
}

std::string Heading(std::string_view key) {
  const std::string unit = UnitOf(key);
  const std::string name(SplitKey(key).name);
  return unit.empty() ? name : name + " (" + unit + ")";
}

std::string LengthKey(std::string_view quantity, const LengthUnit& unit) {
  return std::string(quantity) + "_" + unit.key;
}

std::string SpeedKey(std::string_view quantity, const LengthUnit& unit) {
  return LengthKey(quantity, unit) + std::string(kPerSecond);
}

}  // namespace probelink_cli

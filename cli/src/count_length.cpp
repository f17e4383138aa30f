#include "count_length.h"

#include "exit_status.h"
#include "quillon_settings.h"

namespace probelink_cli {
namespace {

constexpr int kLastInterpolatingModel = 2;

[[noreturn]] void Refuse(const std::string& message) { throw Failure(kUsageError, message); }

std::optional<LengthRule> FromSettings(const std::optional<Length>& pitch,
                                       const std::filesystem::path& folder) {
  const auto units = ReadWindowUnits(folder);
  if (!units)
    Refuse(folder.string() + " holds no " + kSettingsFile +
           ": --settings takes the folder of the window's settings files");
  if (units->encoderUnitType == 1) {
    if (pitch)
      Refuse("the window's settings in " + folder.string() +
             " show encoder counts, so --grating-pitch does not apply: leave it out, or use it "
             "without --settings");
    return std::nullopt;
  }
  const LengthUnit& unit = kLengthUnits[static_cast<size_t>(units->displayUnitType)];
  if (!pitch)
    Refuse("the window's settings in " + folder.string() + " show " + unit.symbol +
           " on a linear grating, whose pitch the window does not keep: give it with "
           "--grating-pitch (for example --grating-pitch 20um)");
  return LengthRule{*pitch, true, &unit};
}

}  // namespace

std::optional<LengthRule> ChooseLengthRule(const std::optional<Length>& countLength,
                                           const std::optional<Length>& gratingPitch,
                                           const std::optional<std::filesystem::path>& settings) {
  if (countLength && (gratingPitch || settings))
    Refuse(
        "--count-length gives the length of a count outright: leave out --grating-pitch and "
        "--settings, or leave out --count-length");
  if (settings) return FromSettings(gratingPitch, *settings);
  if (gratingPitch) return LengthRule{*gratingPitch, true, gratingPitch->unit};
  if (countLength) return LengthRule{*countLength, false, countLength->unit};
  return std::nullopt;
}

std::optional<CountScale> ScaleFor(const std::optional<LengthRule>& rule,
                                   const Identity& identity) {
  if (!rule) return std::nullopt;
  const int level =
      identity.modelCode > kLastInterpolatingModel ? 1 : identity.InterpolationLevel();
  const double length = rule->length.In(*rule->shownIn);
  return CountScale{rule->shownIn, rule->perPeriod ? length / level : length};
}

}  // namespace probelink_cli

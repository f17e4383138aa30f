// The user settings kept in the installation directory: "Quillon.ini" (13
// key lines, then the grating counts) and "grating2.ini" (one grating
// description per line). A file that cannot be read falls back to the
// defaults as a whole; a value read but beyond what the program can use is
// brought to the nearest one it can. Writing says whether it succeeded, and
// the window tells the user.
#pragma once

#include <QStringList>
#include <QVector>
#include <algorithm>
#include <cstdint>

namespace quillon {

struct Settings {
  float SignalLevelMult = 1.15f;  // kept and written back, not otherwise used
  int32_t LissajousPoints = 150;
  float MinimumCircle = 0.187f;
  float MaximumCircle = 0.575f;
  int32_t EncoderUnitType = 1;  // 0 linear grating with a pitch, 1 encoder counts
  int32_t DisplayUnitType = 0;
  int32_t PositionDigits = 0;
  QString DisplayUnits = QStringLiteral("counts");
  int32_t SignalStrengthPoints = 5000;
  int32_t GratingIndex = 0;
  int32_t EncoderPlotType = 2;
  int32_t PositionPlotType = 0;
  QVector<int32_t> GratingCounts{10000, 16384, 32768, 65536};
  QStringList GratingNames{QStringLiteral(" 19.05mm - 10,000 CPR at x4 interp"),
                           QStringLiteral(" 31.75mm - 16,384 CPR at x4 interp"),
                           QStringLiteral(" 57.15mm - 32,768 CPR at x4 interp"),
                           QStringLiteral(" 107.95mm - 65,536 CPR at x4 interp")};
  // Not stored: the entry of GratingCounts at GratingIndex.
  int32_t SelectedGratingCounts = 10000;

  bool operator==(const Settings&) const = default;
};

// The most grating counts a settings file may announce.
inline constexpr int kMaxGratings = 100;

// What the dialogs accept. A settings file's value outside its range (a
// hand-edited file, say) is read as the nearest value inside it.
template <class T>
struct Range {
  T lowest, highest;
  constexpr bool Holds(T value) const { return lowest <= value && value <= highest; }
  constexpr T Nearest(T value) const { return std::clamp(value, lowest, highest); }
};
inline constexpr Range<int32_t> kLissajousPointsRange{5, 1000};
inline constexpr Range<int32_t> kStrengthPointsRange{100, 10000};
inline constexpr Range<float> kPlotSecondsRange{1, 65};
// Each indicator circle. The dialog keeps the inner one no larger than the
// outer, but crossed circles merely draw crossed and are kept from a file.
inline constexpr Range<float> kCircleRange{0.01f, 0.75f};
inline constexpr Range<int32_t> kDisplayUnitTypeRange{0, 5};
// The decimals the resolution of any unit needs.
inline constexpr Range<int32_t> kPositionDigitsRange{0, 10};
inline constexpr Range<int32_t> kPlotTypeRange{0, 2};

// Makes `installDir` the current directory and reads both files from it.
// A file that cannot be read (a missing file or line, a number that does not
// convert, a file too large to be a settings file, or an install directory
// that cannot be entered) gives the defaults as a whole. Values that harm
// nothing are kept as written: the signal level multiplier, the encoder unit
// type (any value but 0 and 1 leaves the resolution as it was), crossed
// circles, the units and every grating count. The others are brought into
// their ranges above; of more than kMaxGratings gratings the first are kept,
// and a grating index outside the table names its nearest entry. Of
// "grating2.ini", the first kMaxGratings lines are kept.
Settings ReadSettings(const QString& installDir);

// Makes `installDir` the current directory and replaces both files in it,
// each atomically; "Quillon.ini" may already be replaced when
// "grating2.ini" fails. Nothing is written when the directory cannot be
// entered. True when both files were written.
bool WriteSettings(const QString& installDir, const Settings& settings);

}  // namespace quillon

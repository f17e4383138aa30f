#include "settings_files.h"

#include <QDir>
#include <QFile>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <variant>

#include "file_replace.h"
#include "number_format.h"
#include "text_scan.h"

namespace quillon {
namespace {

constexpr char kMainFile[] = "Quillon.ini";
constexpr char kNamesFile[] = "grating2.ini";
// Far more than the longest pair of files the program writes (a hundred
// gratings, their descriptions and the key lines take a few kilobytes).
constexpr qint64 kMaxFileBytes = 64 * 1024;
constexpr Range<int32_t> kWholeRange{std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int32_t>::max()};

// How a key line's value is read and written.
struct FixedFloat {  // 3 significant digits and 3 decimals: "1.150"
  float Settings::*field;
};
// A value read is brought to the nearest inside `range`.
struct GeneralFloat {  // up to 6 significant digits: "0.187"
  float Settings::*field;
  Range<float> range;
};
struct Integer {
  int32_t Settings::*field;
  Range<int32_t> range = kWholeRange;
};
struct Text {
  QString Settings::*field;
};

struct KeyLine {
  const char* key;
  std::variant<FixedFloat, GeneralFloat, Integer, Text> field;
};

// The key lines in file order, before the grating count. The keys are
// written for people; reading cuts off as many characters as a key has
// without comparing them, so a misspelt key of the right length still reads.
const std::array<KeyLine, 12> kKeyLines{{
    {"siglevelmult=", FixedFloat{&Settings::SignalLevelMult}},
    {"lissplot=", Integer{&Settings::LissajousPoints, kLissajousPointsRange}},
    {"minimumcircle=", GeneralFloat{&Settings::MinimumCircle, kCircleRange}},
    {"maximumcircle=", GeneralFloat{&Settings::MaximumCircle, kCircleRange}},
    {"encodertype=", Integer{&Settings::EncoderUnitType}},
    {"unittype=", Integer{&Settings::DisplayUnitType, kDisplayUnitTypeRange}},
    {"digits=", Integer{&Settings::PositionDigits, kPositionDigitsRange}},
    {"units=", Text{&Settings::DisplayUnits}},
    {"signalplot=", Integer{&Settings::SignalStrengthPoints, kStrengthPointsRange}},
    {"gratingindex=", Integer{&Settings::GratingIndex}},  // brought into the table
    {"encoderplottype=", Integer{&Settings::EncoderPlotType, kPlotTypeRange}},
    {"positionplottype=", Integer{&Settings::PositionPlotType, kPlotTypeRange}},
}};
constexpr char kCountKey[] = "numgratings=";
constexpr qsizetype kCountLine = kKeyLines.size();

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
// Spelt out for compilers without aggregate deduction (clang before 17).
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// Blanks are removed wherever they stand before the key is cut off.
QString ValueOf(const QString& line, const char* key) {
  QString value = line;
  value.remove(QLatin1Char(' '));
  return value.mid(qstrlen(key));
}

bool ReadFloat(const QString& text, float& value) {
  return ParseFloat(text.toUtf8(), value) && std::isfinite(value);
}

bool ReadInt(const QString& text, int32_t& value, Range<int32_t> range = kWholeRange) {
  if (!ParseInt32(text.toUtf8(), value)) return false;
  value = range.Nearest(value);
  return true;
}

bool ReadKeyLine(const KeyLine& line, const QString& text, Settings& s) {
  const QString value = ValueOf(text, line.key);
  return std::visit(Overloaded{[&](FixedFloat f) { return ReadFloat(value, s.*f.field); },
                               [&](GeneralFloat f) {
                                 if (!ReadFloat(value, s.*f.field)) return false;
                                 s.*f.field = f.range.Nearest(s.*f.field);
                                 return true;
                               },
                               [&](Integer f) { return ReadInt(value, s.*f.field, f.range); },
                               [&](Text f) {
                                 s.*f.field = value;
                                 return true;
                               }},
                    line.field);
}

QString WrittenValue(const KeyLine& line, const Settings& s) {
  return std::visit(Overloaded{[&](FixedFloat f) { return FormatFixed(s.*f.field, 3, 3); },
                               [&](GeneralFloat f) { return FormatGeneral(s.*f.field, 6, 0); },
                               [&](Integer f) { return QString::number(s.*f.field); },
                               [&](Text f) { return s.*f.field; }},
                    line.field);
}

bool ReadKeyLines(const QStringList& lines, Settings& s) {
  for (size_t i = 0; i < kKeyLines.size(); ++i) {
    if (qsizetype(i) >= lines.size() || !ReadKeyLine(kKeyLines[i], lines[i], s)) return false;
  }
  return true;
}

// The count line and the counts after it. An empty table selects nothing,
// and its selected count is 0.
bool ReadGratingTable(const QStringList& lines, Settings& s) {
  int32_t n = 0;
  if (lines.size() <= kCountLine ||
      !ReadInt(ValueOf(lines[kCountLine], kCountKey), n, {0, kMaxGratings}) ||
      lines.size() <= kCountLine + n) {
    return false;
  }
  s.GratingCounts.resize(n);
  for (int32_t i = 0; i < n; ++i) {
    if (!ReadInt(lines[kCountLine + 1 + i], s.GratingCounts[i])) return false;
  }
  s.GratingIndex = std::clamp(s.GratingIndex, 0, std::max(n - 1, 0));
  s.SelectedGratingCounts = s.GratingCounts.value(s.GratingIndex);
  return true;
}

std::optional<QStringList> ReadLines(const char* fileName) {
  QFile file(QString::fromLatin1(fileName));
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes) return std::nullopt;
  return SplitLines(file.read(kMaxFileBytes));
}

QStringList MainFileLines(const Settings& s) {
  QStringList lines;
  for (const KeyLine& line : kKeyLines) lines << QLatin1String(line.key) + WrittenValue(line, s);
  lines << QLatin1String(kCountKey) + QString::number(s.GratingCounts.size());
  for (int32_t counts : s.GratingCounts) lines << QString::number(counts);
  return lines;
}

}  // namespace

Settings ReadSettings(const QString& installDir) {
  if (!QDir::setCurrent(installDir)) return {};
  const std::optional<QStringList> lines = ReadLines(kMainFile);
  Settings s;
  if (!lines || !ReadKeyLines(*lines, s) || !ReadGratingTable(*lines, s)) return {};
  std::optional<QStringList> names = ReadLines(kNamesFile);
  if (!names) return {};
  s.GratingNames = names->mid(0, kMaxGratings);
  return s;
}

bool WriteSettings(const QString& installDir, const Settings& settings) {
  if (!QDir::setCurrent(installDir)) return false;
  if (!ReplaceFile(QString::fromLatin1(kMainFile), JoinLines(MainFileLines(settings)))) return false;
  return ReplaceFile(QString::fromLatin1(kNamesFile), JoinLines(settings.GratingNames));
}

}  // namespace quillon

// The settings files: their exact form, round trips, lenient reading of
// blanks and line ends, the defaults as a whole on an unreadable file, values
// beyond the dialogs' ranges brought in or kept without losing the rest, and
// writes that never leave a partial file or land in another directory. Every
// case reads and writes through the install directory, which both enter.
#include "settings_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <numeric>

namespace quillon {

constexpr char kDefaultMainFile[] =
    "siglevelmult=1.150\r\nlissplot=150\r\nminimumcircle=0.187\r\nmaximumcircle=0.575\r\n"
    "encodertype=1\r\nunittype=0\r\ndigits=0\r\nunits=counts\r\nsignalplot=5000\r\n"
    "gratingindex=0\r\nencoderplottype=2\r\npositionplottype=0\r\nnumgratings=4\r\n"
    "10000\r\n16384\r\n32768\r\n65536\r\n";
constexpr char kDefaultNamesFile[] =
    " 19.05mm - 10,000 CPR at x4 interp\r\n 31.75mm - 16,384 CPR at x4 interp\r\n"
    " 57.15mm - 32,768 CPR at x4 interp\r\n 107.95mm - 65,536 CPR at x4 interp\r\n";

// A readable file in which every value differs from its default, so that a
// fallback to the defaults cannot pass unnoticed.
const QStringList kValidMain = QString(
    "siglevelmult=1.25 lissplot=300 minimumcircle=0.2 maximumcircle=0.6 encodertype=0 unittype=2 "
    "digits=3 units=mm signalplot=800 gratingindex=1 encoderplottype=1 positionplottype=2 "
    "numgratings=3 1000 2000 3000").split(' ');
const QStringList kValidNames{"first grating", "second grating", "third grating"};

Settings ValidSettings() {
  Settings s;
  s.GratingCounts = {1000, 2000, 3000}, s.SelectedGratingCounts = 2000, s.SignalLevelMult = 1.25f;
  s.SignalStrengthPoints = 800, s.GratingNames = kValidNames, s.LissajousPoints = 300;
  s.MinimumCircle = 0.2f, s.MaximumCircle = 0.6f, s.PositionPlotType = 2, s.EncoderUnitType = 0;
  s.DisplayUnitType = 2, s.DisplayUnits = "mm", s.EncoderPlotType = 1, s.PositionDigits = 3;
  s.GratingIndex = 1;
  return s;
}

// The valid lines with some replaced, and cut to a number of lines.
QStringList With(std::initializer_list<std::pair<int, QString>> changes, int lines = 16) {
  QStringList main = kValidMain.mid(0, lines);
  for (const auto& [index, text] : changes) main[index] = text;
  return main;
}
QByteArray Lines(const QStringList& lines) { return (lines.join("\r\n") + "\r\n").toUtf8(); }

class SettingsFiles : public ::testing::Test {
 protected:
  void TearDown() override { QDir::setCurrent(previousDir_); }
  QString PathOf(const QString& name) const { return temp_.filePath(name); }
  void Put(const QString& name, const QByteArray& bytes) const {
    QFile file(PathOf(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray Get(const QString& name) const {
    QFile file(PathOf(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }

  const QString previousDir_ = QDir::currentPath();
  QTemporaryDir temp_;
  const QString dir_ = temp_.path();
};

// The defaults exactly; changed values (which need all their digits), no
// grating names and a full table of a hundred gratings read back as written.
TEST_F(SettingsFiles, AreWrittenExactlyAndReadBack) {
  WriteSettings(dir_, Settings{});
  EXPECT_EQ(Get("Quillon.ini"), kDefaultMainFile);
  EXPECT_EQ(Get("grating2.ini"), kDefaultNamesFile);
  EXPECT_EQ(ReadSettings(dir_), Settings{});
  Settings changed = ValidSettings(), hundred;
  changed.SignalLevelMult = 0.987f, changed.MinimumCircle = 0.123456f;
  changed.GratingNames.clear();
  hundred.GratingCounts.clear();
  for (int i = 0; i < kMaxGratings; ++i) hundred.GratingCounts << 100 + i;
  hundred.GratingIndex = kMaxGratings - 1, hundred.SelectedGratingCounts = 99 + kMaxGratings;
  for (const Settings& s : {changed, hundred, ValidSettings()}) {
    EXPECT_TRUE(WriteSettings(dir_, s));
    EXPECT_EQ(ReadSettings(dir_), s);
  }
}

// Blanks before and after the equals sign and inside values go; a misspelt
// key of the right length still reads.
TEST_F(SettingsFiles, BlanksGoBeforeTheKeyIsCutOff) {
  Put("Quillon.ini", Lines(With({{0, "siglevelmult= 1. 25"}, {1, "lissplot =300"},
                                 {2, "minimumcircXe=0.2"}, {7, "units= micro meters"},
                                 {12, " num gratings = 3 "}})));
  Put("grating2.ini", Lines(kValidNames));
  Settings expected = ValidSettings();
  expected.DisplayUnits = "micrometers";
  EXPECT_EQ(ReadSettings(dir_), expected);
}

// Missing Quillon.ini; twelve lines; fewer counts than announced; an
// integer, a float or a count that does not convert (a letter O, beyond 32
// bits, a comma, not a number, empty); and a missing grating2.ini.
TEST_F(SettingsFiles, AnUnreadableFileGivesAllDefaults) {
  // clang-format off
  const QStringList cases[] = {{}, With({}, 12), With({{12, "numgratings=4"}}),
      With({{1, "lissplot=15O"}}), With({{8, "signalplot=4294967296"}}),
      With({{0, "siglevelmult=1,25"}}), With({{2, "minimumcircle=nan"}}),
      With({{3, "maximumcircle="}}), With({{14, "2OOO"}}), kValidMain};
  // clang-format on
  for (const QStringList& main : cases) {
    SCOPED_TRACE(main.join(' ').toStdString());
    QFile::remove(PathOf("Quillon.ini")), QFile::remove(PathOf("grating2.ini"));
    if (!main.isEmpty()) Put("Quillon.ini", Lines(main));
    if (main != kValidMain) Put("grating2.ini", Lines(kValidNames));
    EXPECT_EQ(ReadSettings(dir_), Settings{});
  }
  // A grating2.ini too large to be one is a fault; of a long one, the first
  // hundred lines are kept.
  Put("grating2.ini", QByteArray(64 * 1024 + 1, 'x'));
  EXPECT_EQ(ReadSettings(dir_), Settings{});
  Put("grating2.ini", Lines(QStringList(150, "g")));
  EXPECT_EQ(ReadSettings(dir_).GratingNames, QStringList(kMaxGratings, "g"));
}

// Both ends of what each dialog accepts read back as written; one step
// outside (or far outside) reads as the nearest end. The encoder unit type,
// crossed circles and any grating count are kept as written. Whatever one
// line holds, every other value, the grating table and the units stay.
TEST_F(SettingsFiles, ValuesOutsideTheirRangesAreBroughtInOrKept) {
  using Int = int32_t Settings::*;
  const auto I = [](Int field, int32_t value) {
    return std::function<void(Settings&)>([=](Settings& s) { s.*field = value; });
  };
  const auto F = [](float Settings::*field, float value) {
    return std::function<void(Settings&)>([=](Settings& s) { s.*field = value; });
  };
  const Int lis = &Settings::LissajousPoints, sig = &Settings::SignalStrengthPoints;
  const Int unit = &Settings::DisplayUnitType, digits = &Settings::PositionDigits;
  const Int enc = &Settings::EncoderPlotType, pos = &Settings::PositionPlotType;
  const Int index = &Settings::GratingIndex, type = &Settings::EncoderUnitType;
  // An empty table that never held anything has no storage, and Qt 6.4's
  // list comparison hands that null pointer to memcmp, which UBSan flags.
  const auto counts = [](QVector<int32_t> table) {
    table.reserve(1);
    return std::function<void(Settings&)>([=](Settings& s) { s.GratingCounts = table; });
  };
  QStringList hundredAndOne = With({{12, "numgratings=101"}}, 13);
  for (int i = 0; i < kMaxGratings + 1; ++i) hundredAndOne << QString::number(i);
  QVector<int32_t> hundred(kMaxGratings);
  std::iota(hundred.begin(), hundred.end(), 0);
  // clang-format off
  const std::pair<QStringList, std::function<void(Settings&)>> cases[] = {
      {With({{1, "lissplot=5"}}), I(lis, 5)}, {With({{1, "lissplot=1000"}}), I(lis, 1000)},
      {With({{1, "lissplot=4"}}), I(lis, 5)}, {With({{1, "lissplot=1001"}}), I(lis, 1000)},
      {With({{1, "lissplot=-2000000000"}}), I(lis, 5)},
      {With({{8, "signalplot=100"}}), I(sig, 100)}, {With({{8, "signalplot=10000"}}), I(sig, 10000)},
      {With({{8, "signalplot=99"}}), I(sig, 100)}, {With({{8, "signalplot=10001"}}), I(sig, 10000)},
      {With({{2, "minimumcircle=0.01"}}), F(&Settings::MinimumCircle, 0.01f)},
      {With({{2, "minimumcircle=0.009"}}), F(&Settings::MinimumCircle, 0.01f)},
      {With({{3, "maximumcircle=0.75"}}), F(&Settings::MaximumCircle, 0.75f)},
      {With({{3, "maximumcircle=0.76"}}), F(&Settings::MaximumCircle, 0.75f)},
      {With({{3, "maximumcircle=1e30"}}), F(&Settings::MaximumCircle, 0.75f)},
      {With({{2, "minimumcircle=0.7"}}), F(&Settings::MinimumCircle, 0.7f)},
      {With({{5, "unittype=0"}}), I(unit, 0)}, {With({{5, "unittype=5"}}), I(unit, 5)},
      {With({{5, "unittype=-1"}}), I(unit, 0)}, {With({{5, "unittype=6"}}), I(unit, 5)},
      {With({{6, "digits=0"}}), I(digits, 0)}, {With({{6, "digits=10"}}), I(digits, 10)},
      {With({{6, "digits=-1"}}), I(digits, 0)}, {With({{6, "digits=11"}}), I(digits, 10)},
      {With({{10, "encoderplottype=0"}}), I(enc, 0)}, {With({{10, "encoderplottype=2"}}), I(enc, 2)},
      {With({{10, "encoderplottype=-1"}}), I(enc, 0)}, {With({{10, "encoderplottype=3"}}), I(enc, 2)},
      {With({{11, "positionplottype=0"}}), I(pos, 0)}, {With({{11, "positionplottype=2"}}), I(pos, 2)},
      {With({{11, "positionplottype=-1"}}), I(pos, 0)}, {With({{11, "positionplottype=3"}}), I(pos, 2)},
      {With({{4, "encodertype=3"}}), I(type, 3)}, {With({{4, "encodertype=-1"}}), I(type, -1)},
      {With({{9, "gratingindex=2"}}), I(index, 2)}, {With({{9, "gratingindex=3"}}), I(index, 2)},
      {With({{9, "gratingindex=-1"}}), I(index, 0)},
      {With({{14, "0"}, {15, "-5"}}), counts({1000, 0, -5})},
      {With({{12, "numgratings=0"}}, 13), counts({})}, {With({{12, "numgratings=-1"}}, 13), counts({})},
      {hundredAndOne, counts(hundred)}};
  // clang-format on
  Put("grating2.ini", Lines(kValidNames));
  for (const auto& [main, change] : cases) {
    SCOPED_TRACE(main.join(' ').toStdString());
    Put("Quillon.ini", Lines(main));
    Settings expected = ValidSettings();
    change(expected);
    expected.GratingIndex = std::clamp<int32_t>(
        expected.GratingIndex, 0, std::max<qsizetype>(expected.GratingCounts.size() - 1, 0));
    expected.SelectedGratingCounts = expected.GratingCounts.value(expected.GratingIndex);
    EXPECT_EQ(ReadSettings(dir_), expected);
  }
}

// Nothing is read from or written to another directory when the install
// directory cannot be entered. When Quillon.ini cannot be replaced,
// grating2.ini is not written either; when grating2.ini cannot, Quillon.ini
// is already saved, whole.
TEST_F(SettingsFiles, WritesLeaveNoPartialFilesAndNoFilesElsewhere) {
  const auto entries = [&] { return QDir(dir_).entryList(QDir::Files | QDir::Dirs | QDir::Hidden
                                                        | QDir::NoDotAndDotDot, QDir::Name); };
  Put("grating2.ini", Lines(kValidNames));
  ASSERT_TRUE(QDir(dir_).mkdir("Quillon.ini"));
  EXPECT_FALSE(WriteSettings(dir_, Settings{}));
  EXPECT_EQ(Get("grating2.ini"), Lines(kValidNames));
  EXPECT_EQ(entries(), QStringList({"Quillon.ini", "grating2.ini"}));
  ASSERT_TRUE(QDir(dir_).rmdir("Quillon.ini"));
  Put("Quillon.ini", Lines(kValidMain));
  EXPECT_EQ(ReadSettings(PathOf("missing")), Settings{});
  EXPECT_FALSE(WriteSettings(PathOf("missing"), Settings{}));
  EXPECT_EQ(Get("Quillon.ini") + Get("grating2.ini"), Lines(kValidMain) + Lines(kValidNames));
  ASSERT_TRUE(QFile::remove(PathOf("grating2.ini")) && QDir(dir_).mkdir("grating2.ini"));
  EXPECT_FALSE(WriteSettings(dir_, Settings{}));
  EXPECT_EQ(Get("Quillon.ini"), kDefaultMainFile);
  EXPECT_EQ(entries(), QStringList({"Quillon.ini", "grating2.ini"}));
}

}  // namespace quillon

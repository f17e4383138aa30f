// The settings files: their exact form, round trips, lenient reading of
// blanks and line ends, the defaults as a whole on any fault, and writes that
// never leave a partial file or land in another directory. Every case reads
// and writes through the install directory, which both operations enter.
#include "settings_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <optional>

#include "temp_config_home.h"

namespace quillon {
namespace {

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
const QStringList kValidMain =
    QString(
        "siglevelmult=1.25 lissplot=300 minimumcircle=0.2 maximumcircle=0.6 encodertype=0 "
        "unittype=2 digits=3 units=mm signalplot=800 gratingindex=1 encoderplottype=1 "
        "positionplottype=2 numgratings=3 1000 2000 3000")
        .split(' ');
const QStringList kValidNames{"first grating", "second grating", "third grating"};

Settings ValidSettings() {
  Settings s;
  s.SignalLevelMult = 1.25f, s.LissajousPoints = 300, s.MinimumCircle = 0.2f;
  s.MaximumCircle = 0.6f, s.EncoderUnitType = 0, s.DisplayUnitType = 2, s.PositionDigits = 3;
  s.DisplayUnits = "mm", s.SignalStrengthPoints = 800, s.GratingIndex = 1;
  s.EncoderPlotType = 1, s.PositionPlotType = 2, s.GratingCounts = {1000, 2000, 3000};
  s.GratingNames = kValidNames, s.SelectedGratingCounts = 2000;
  return s;
}

QByteArray Lines(const QStringList& lines, const QString& end = "\r\n") {
  return (lines.join(end) + end).toUtf8();
}

class SettingsFiles : public ::testing::Test {
 protected:
  void TearDown() override { QDir::setCurrent(previousDir_); }
  QString Dir() const { return dir_.path(); }
  QString PathOf(const QString& name) const { return dir_.filePath(name); }
  void Put(const QString& name, const QByteArray& bytes) const {
    QFile file(PathOf(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray Get(const QString& name) const {
    QFile file(PathOf(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  QStringList Entries() const {
    return QDir(Dir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                 QDir::Name);
  }

  testsupport::TempConfigHome configHome_;
  const QString previousDir_ = QDir::currentPath();
  QTemporaryDir dir_;
};

TEST_F(SettingsFiles, AreWrittenExactlyAndReadBack) {
  WriteSettings(Dir(), Settings{});
  EXPECT_EQ(Get("Quillon.ini"), kDefaultMainFile);
  EXPECT_EQ(Get("grating2.ini"), kDefaultNamesFile);
  EXPECT_EQ(ReadSettings(Dir()), Settings{});
  Settings changed = ValidSettings(), hundred;
  changed.SignalLevelMult = 0.987f, changed.MinimumCircle = 0.123456f;
  changed.GratingNames.clear();
  WriteSettings(Dir(), changed);
  EXPECT_TRUE(Get("Quillon.ini")
                  .startsWith("siglevelmult=0.987\r\nlissplot=300\r\nminimumcircle=0.123456\r\n"));
  EXPECT_EQ(Get("grating2.ini"), "");
  hundred.GratingCounts.clear();
  for (int i = 0; i < kMaxGratings; ++i) hundred.GratingCounts << 100 + i;
  hundred.GratingIndex = kMaxGratings - 1, hundred.SelectedGratingCounts = 99 + kMaxGratings;
  for (const Settings& s : {changed, hundred, ValidSettings()}) {
    WriteSettings(Dir(), s);
    EXPECT_EQ(ReadSettings(Dir()), s);
  }
}

TEST_F(SettingsFiles, BlanksGoBeforeTheKeyIsCutOffAndLineFeedsAloneEndLines) {
  QStringList main = kValidMain;
  main[0] = "siglevelmult= 1. 25";
  main[1] = "lissplot =300";        // a blank before the equals sign
  main[2] = "minimumcircXe=0.2";    // misspelt, but of the key's length
  main[7] = "units= micro meters";  // blanks inside the unit name
  main[12] = " num gratings = 3 ";
  Put("Quillon.ini", Lines(main));
  Put("grating2.ini", Lines(kValidNames));
  Settings expected = ValidSettings();
  expected.DisplayUnits = "micrometers";
  EXPECT_EQ(ReadSettings(Dir()), expected);
  Put("Quillon.ini", Lines(kValidMain, "\n"));
  Put("grating2.ini", kValidNames.join("\n").toUtf8());
  EXPECT_EQ(ReadSettings(Dir()), ValidSettings());
}

TEST_F(SettingsFiles, AnyFaultGivesAllDefaults) {
  const auto with = [](std::initializer_list<std::pair<int, QString>> changes, int lines = 16) {
    QStringList main = kValidMain.mid(0, lines);
    for (const auto& [index, text] : changes) main[index] = text;
    return std::optional(main);
  };
  const std::pair<const char*, std::optional<QStringList>> cases[] = {
      {"missing Quillon.ini", std::nullopt},
      {"only twelve lines", with({}, 12)},
      {"fewer counts than announced", with({{12, "numgratings=4"}})},
      {"more than a hundred gratings",
       *with({{12, "numgratings=101"}}) + QStringList(kMaxGratings - 2, "1000")},
      {"negative count", with({{12, "numgratings=-1"}}, 13)},
      {"no gratings", with({{12, "numgratings=0"}, {9, "gratingindex=0"}}, 13)},
      {"grating index past the table", with({{9, "gratingindex=3"}})},
      {"negative grating index", with({{9, "gratingindex=-1"}})},
      {"integer that does not convert", with({{1, "lissplot=15O"}})},
      {"integer out of range", with({{8, "signalplot=4294967296"}})},
      {"float with a comma", with({{0, "siglevelmult=1,25"}})},
      {"float that is not a number", with({{2, "minimumcircle=nan"}})},
      {"empty value", with({{3, "maximumcircle="}})},
      {"grating count that does not convert", with({{14, "2OOO"}})},
  };
  for (const auto& [name, main] : cases) {
    SCOPED_TRACE(name);
    QFile::remove(PathOf("Quillon.ini"));
    if (main) Put("Quillon.ini", Lines(*main));
    Put("grating2.ini", Lines(kValidNames));
    EXPECT_EQ(ReadSettings(Dir()), Settings{});
  }
  Put("Quillon.ini", Lines(kValidMain));
  QFile::remove(PathOf("grating2.ini"));
  EXPECT_EQ(ReadSettings(Dir()), Settings{}) << "missing grating2.ini";
}

TEST_F(SettingsFiles, AnInstallDirectoryThatCannotBeEnteredIsNeverReplacedByAnother) {
  Put("Quillon.ini", Lines(kValidMain));
  Put("grating2.ini", Lines(kValidNames));
  ASSERT_TRUE(QDir::setCurrent(Dir()));
  EXPECT_EQ(ReadSettings(PathOf("missing")), Settings{});
  WriteSettings(PathOf("missing"), Settings{});
  EXPECT_EQ(Get("Quillon.ini"), Lines(kValidMain));
  EXPECT_EQ(Get("grating2.ini"), Lines(kValidNames));
}

TEST_F(SettingsFiles, AFailedWriteLeavesNoPartialFiles) {
  // Quillon.ini cannot be replaced: grating2.ini is not written either.
  ASSERT_TRUE(QDir(Dir()).mkdir("Quillon.ini"));
  Put("grating2.ini", Lines(kValidNames));
  WriteSettings(Dir(), Settings{});
  EXPECT_EQ(Get("grating2.ini"), Lines(kValidNames));
  EXPECT_EQ(Entries(), QStringList({"Quillon.ini", "grating2.ini"}));
  // grating2.ini cannot be replaced: Quillon.ini is already saved, whole.
  ASSERT_TRUE(QDir(Dir()).rmdir("Quillon.ini"));
  ASSERT_TRUE(QFile::remove(PathOf("grating2.ini")));
  ASSERT_TRUE(QDir(Dir()).mkdir("grating2.ini"));
  WriteSettings(Dir(), Settings{});
  EXPECT_EQ(Get("Quillon.ini"), kDefaultMainFile);
  EXPECT_EQ(Entries(), QStringList({"Quillon.ini", "grating2.ini"}));
}

}  // namespace
}  // namespace quillon

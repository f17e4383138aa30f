#include "settings_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
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
QStringList ValidMainLines() {
  return {"siglevelmult=1.25",
          "lissplot=300",
          "minimumcircle=0.2",
          "maximumcircle=0.6",
          "encodertype=0",
          "unittype=2",
          "digits=3",
          "units=mm",
          "signalplot=800",
          "gratingindex=1",
          "encoderplottype=1",
          "positionplottype=2",
          "numgratings=3",
          "1000",
          "2000",
          "3000"};
}

QStringList ValidNames() { return {"first grating", "second grating", "third grating"}; }

Settings ValidSettings() {
  Settings s;
  s.SignalLevelMult = 1.25f;
  s.LissajousPoints = 300;
  s.MinimumCircle = 0.2f;
  s.MaximumCircle = 0.6f;
  s.EncoderUnitType = 0;
  s.DisplayUnitType = 2;
  s.PositionDigits = 3;
  s.DisplayUnits = "mm";
  s.SignalStrengthPoints = 800;
  s.GratingIndex = 1;
  s.EncoderPlotType = 1;
  s.PositionPlotType = 2;
  s.GratingCounts = {1000, 2000, 3000};
  s.GratingNames = ValidNames();
  s.SelectedGratingCounts = 2000;
  return s;
}

QByteArray Crlf(const QStringList& lines) { return (lines.join("\r\n") + "\r\n").toUtf8(); }

class SettingsFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
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
  void PutFiles(const std::optional<QStringList>& main, const std::optional<QStringList>& names) {
    if (main) Put("Quillon.ini", Crlf(*main));
    if (names) Put("grating2.ini", Crlf(*names));
  }
  QStringList Entries() const {
    return QDir(Dir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                 QDir::Name);
  }

  testsupport::TempConfigHome configHome_;
  const QString previousDir_ = QDir::currentPath();
  QTemporaryDir dir_;
};

TEST_F(SettingsFilesTest, DefaultsAreWrittenExactlyAndReadBack) {
  WriteSettings(Dir(), Settings{});
  EXPECT_EQ(Get("Quillon.ini"), kDefaultMainFile);
  EXPECT_EQ(Get("Quillon.ini").count("\r\n"), 17);
  EXPECT_EQ(Get("grating2.ini"), kDefaultNamesFile);
  EXPECT_EQ(ReadSettings(Dir()), Settings{});
}

TEST_F(SettingsFilesTest, ChangedSettingsRoundTrip) {
  PutFiles(ValidMainLines(), ValidNames());
  EXPECT_EQ(ReadSettings(Dir()), ValidSettings());

  Settings s = ValidSettings();
  s.SignalLevelMult = 0.987f;
  s.MinimumCircle = 0.123456f;
  s.GratingNames.clear();
  WriteSettings(Dir(), s);
  EXPECT_EQ(Get("grating2.ini"), "");
  EXPECT_TRUE(Get("Quillon.ini")
                  .startsWith("siglevelmult=0.987\r\nlissplot=300\r\n"
                              "minimumcircle=0.123456\r\n"));
  EXPECT_EQ(ReadSettings(Dir()), s);
}

TEST_F(SettingsFilesTest, AFullTableOfOneHundredGratingsIsAccepted) {
  Settings s;
  s.GratingCounts.clear();
  for (int i = 0; i < kMaxGratings; ++i) s.GratingCounts << 100 + i;
  s.GratingIndex = kMaxGratings - 1;
  s.SelectedGratingCounts = s.GratingCounts.last();
  WriteSettings(Dir(), s);
  EXPECT_EQ(ReadSettings(Dir()), s);
}

TEST_F(SettingsFilesTest, BothOperationsEnterTheInstallDirectory) {
  const QString expected = QFileInfo(Dir()).canonicalFilePath();
  WriteSettings(Dir(), Settings{});
  EXPECT_EQ(QFileInfo(QDir::currentPath()).canonicalFilePath(), expected);
  QDir::setCurrent(previousDir_);
  ReadSettings(Dir());
  EXPECT_EQ(QFileInfo(QDir::currentPath()).canonicalFilePath(), expected);
}

TEST_F(SettingsFilesTest, BlanksAreRemovedBeforeTheKeyIsCutOff) {
  QStringList main = ValidMainLines();
  main[0] = "siglevelmult= 1. 25";
  main[1] = "lissplot =300";        // a blank before the equals sign
  main[2] = "minimumcircXe=0.2";    // misspelt, but of the key's length
  main[7] = "units= micro meters";  // blanks inside the unit name
  main[12] = " num gratings = 3 ";
  PutFiles(main, ValidNames());
  Settings expected = ValidSettings();
  expected.DisplayUnits = "micrometers";
  EXPECT_EQ(ReadSettings(Dir()), expected);
}

TEST_F(SettingsFilesTest, LinesEndedByLineFeedsAloneReadTheSame) {
  Put("Quillon.ini", (ValidMainLines().join("\n") + "\n").toUtf8());
  Put("grating2.ini", ValidNames().join("\n").toUtf8());
  EXPECT_EQ(ReadSettings(Dir()), ValidSettings());
}

TEST_F(SettingsFilesTest, AnyFaultGivesAllDefaults) {
  using Files = std::pair<std::optional<QStringList>, std::optional<QStringList>>;
  const auto withLine = [](int index, const QString& text) {
    QStringList main = ValidMainLines();
    main[index] = text;
    return Files{main, ValidNames()};
  };
  const auto withCounts = [](const QString& countLine, int counts, const QString& indexLine) {
    QStringList main = ValidMainLines().mid(0, 13);
    main[12] = countLine;
    main[9] = indexLine;
    for (int i = 0; i < counts; ++i) main << QString::number(1000 + i);
    return Files{main, ValidNames()};
  };
  const std::pair<const char*, Files> cases[] = {
      {"missing Quillon.ini", {std::nullopt, ValidNames()}},
      {"missing grating2.ini", {ValidMainLines(), std::nullopt}},
      {"only twelve lines", {ValidMainLines().mid(0, 12), ValidNames()}},
      {"numgratings=4 with two grating lines", withCounts("numgratings=4", 2, "gratingindex=0")},
      {"numgratings=101", withCounts("numgratings=101", 101, "gratingindex=0")},
      {"numgratings=-1", withCounts("numgratings=-1", 0, "gratingindex=0")},
      {"no gratings", withCounts("numgratings=0", 0, "gratingindex=0")},
      {"gratingindex past the table", withCounts("numgratings=4", 4, "gratingindex=4")},
      {"negative gratingindex", withCounts("numgratings=4", 4, "gratingindex=-1")},
      {"integer that does not convert", withLine(1, "lissplot=15O")},
      {"integer out of range", withLine(8, "signalplot=4294967296")},
      {"float with a comma", withLine(0, "siglevelmult=1,25")},
      {"float that is not a number", withLine(2, "minimumcircle=nan")},
      {"empty value", withLine(3, "maximumcircle=")},
      {"grating count that does not convert", withLine(14, "2OOO")},
  };
  for (const auto& [name, files] : cases) {
    SCOPED_TRACE(name);
    QFile::remove(PathOf("Quillon.ini"));
    QFile::remove(PathOf("grating2.ini"));
    PutFiles(files.first, files.second);
    EXPECT_EQ(ReadSettings(Dir()), Settings{});
  }
}

TEST_F(SettingsFilesTest, AnInstallDirectoryThatCannotBeEnteredIsNeverReplacedByAnother) {
  PutFiles(ValidMainLines(), ValidNames());
  ASSERT_TRUE(QDir::setCurrent(Dir()));
  EXPECT_EQ(ReadSettings(PathOf("missing")), Settings{});
  WriteSettings(PathOf("missing"), Settings{});
  EXPECT_EQ(Get("Quillon.ini"), Crlf(ValidMainLines()));
  EXPECT_EQ(Get("grating2.ini"), Crlf(ValidNames()));
}

TEST_F(SettingsFilesTest, AFailedWriteLeavesNoPartialFiles) {
  // Quillon.ini cannot be replaced: grating2.ini is not written either.
  ASSERT_TRUE(QDir(Dir()).mkdir("Quillon.ini"));
  Put("grating2.ini", Crlf(ValidNames()));
  WriteSettings(Dir(), Settings{});
  EXPECT_EQ(Get("grating2.ini"), Crlf(ValidNames()));
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

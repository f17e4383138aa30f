// The data files in the main window. File > Save and File > Load are hidden
// in this window and have no keys, so their handlers are called: each buffer
// is saved from a live run against the emulated electronics, then, in demo
// mode, loaded back into the view of its kind and replayed there.
#include <QDir>

#include "main_form_fixture.h"
#include "number_format.h"
#include "settings_files.h"

namespace quillon {
namespace {

struct Saved {
  QString path;
  int32_t rows = 0;
};

// The lines of a file whose every line ends with CR LF.
QList<QByteArray> LinesOf(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
  QList<QByteArray> lines = file.readAll().split('\n');
  EXPECT_EQ(lines.takeLast(), "");
  for (QByteArray& line : lines) EXPECT_TRUE(line.endsWith('\r') && (line.chop(1), true));
  return lines;
}

class DataFilesTest : public MainFormTest {
 protected:
  QString File(const char* name) const { return files_.filePath(QString::fromLatin1(name)); }

  // Records on the live page of `view`, then saves its buffer through
  // `item`; the rows are those recorded when the file was asked for.
  Saved SaveLive(QAction* item, int view, const char* name) {
    ComData& connection = *form_->Connection;
    EXPECT_TRUE(Eventually([&] { return connection.ElapsedTime[view] > 1.0f; }));
    Saved saved{File(name)};
    questions_.fileHandler = [&](const FileQuestion& question) {
      EXPECT_EQ(question.kind, FileDialogKind::Save);
      EXPECT_EQ(question.defaultExtension, QString::fromLatin1(name).section('.', 1));
      saved.rows = connection.WriteIndex[view];
      return saved.path;
    };
    item->trigger();
    Finish(16);
    EXPECT_EQ(LinesOf(saved.path).size() - (view == SignalView ? 2 : 5), saved.rows);
    return saved;
  }

  // File > Load with `path`; the message the load showed.
  QString Load(const QString& path) {
    questions_.fileHandler = [path](const FileQuestion&) { return path; };
    const qsizetype before = questions_.asked.size();
    form_->Loaddata1->trigger();
    Finish(19);
    return questions_.asked.size() > before ? questions_.asked.last().text : QString();
  }

  // A loaded buffer: its page, stopped at the start of its recording; View
  // replays the whole recording and ends stopped at its end.
  void ExpectLoadedAndReplayed(int kind, int32_t rows) {
    EXPECT_EQ(form_->CurrentView, kind);
    EXPECT_EQ(form_->Connection->WriteIndex[kind], rows);
    Finish(20);
    EXPECT_EQ(form_->TimeText2->text(), "0.0");
    form_->FastButton->click();  // "View"
    Finish(20);
    EXPECT_EQ(form_->TimeText2->text(), FormatFixed(form_->Connection->ElapsedTime[kind], 6, 1));
    EXPECT_EQ(form_->ViewState[kind], ActionStop);
  }

  QTemporaryDir files_;
};

TEST_F(DataFilesTest, BuffersSavedLiveAreLoadedInDemoModeWithTheirUnitsAndReplayed) {
  veritrak::Options options;
  options.device.modelCode = 3;
  ASSERT_NO_FATAL_FAILURE(StartLive(options));
  // Microns, 20 a count, as the units dialog leaves them.
  form_->Persisted.EncoderUnitType = 0;
  form_->Persisted.DisplayUnitType = 1;
  form_->Persisted.DisplayUnits = "microns";
  form_->GratingPitch = 20;
  form_->ShowResolution(0);

  const Saved status = SaveLive(form_->StatusandSetup1, StatusView, "run.man");
  EXPECT_EQ(LinesOf(status.path).mid(0, 5),
            (QList<QByteArray>{"wren1.1setupandstatus", "PosUnits=microns", "PositionResMult=20",
                               "PositionInterpMult=1", "Pos\txAD\tyAD\tStatus\tTime"}));
  // Cancelled, then refused: nothing written, and the page goes on.
  questions_.fileHandler = [](const FileQuestion&) { return QString(); };
  form_->StatusandSetup1->trigger();
  Finish(16);
  questions_.fileHandler = [&](const FileQuestion&) { return File("missing/run.man"); };
  questions_.handler = [](const Question&) { return Answer::Ok; };
  form_->StatusandSetup1->trigger();
  Finish(16);
  ASSERT_EQ(questions_.asked.size(), 1);
  EXPECT_EQ(questions_.asked[0].text,
            "Cannot Save to File.  Verify the file is not being used by any other application.");
  EXPECT_EQ(QDir(files_.path()).entryList(QDir::Files), QStringList{"run.man"});
  questions_.fileHandler = [&](const FileQuestion&) { return File("run.csv"); };
  Choose(form_->ExportCsv1);  // the page's buffer in its units, as CSV
  Finish(16);
  EXPECT_EQ(LinesOf(File("run.csv"))[0],
            "position (microns),sine (counts),cosine (counts),status,interval (s)");
  Key(Qt::Key_F3);
  Finish(8);
  const Saved signal = SaveLive(form_->EncoderSignal1, SignalView, "run.lis");

  // Demo mode: no electronics anywhere, the user's own units in counts.
  splash_.reset();
  form_.reset();
  emulator_.reset();
  UnplugPort(1);
  questions_.handler = [](const Question& question) {
    return question.text.startsWith(kCannotDetectStart) ? Answer::Ignore : Answer::Ok;
  };
  StartProgram();
  ASSERT_TRUE(form_->DemoMode);
  EXPECT_FALSE(form_->ExportCsv1->isEnabled());
  EXPECT_EQ(Load(signal.path), "Encoder Signal Data successfully loaded");
  ExpectLoadedAndReplayed(SignalView, signal.rows);
  EXPECT_EQ(Load(status.path), "Setup and Status Data successfully loaded");
  // The file's units, for its data only: the settings keep the user's.
  EXPECT_EQ(form_->UnitsBox->text(), "microns");
  ExpectLoadedAndReplayed(StatusView, status.rows);
  EXPECT_TRUE(form_->EncoderPositionText->text().endsWith(".00000"))
      << form_->EncoderPositionText->text();
  EXPECT_TRUE(form_->AlarmHistory.isEmpty()) << "a replay logs no alarms";
  form_->WriteSettings();
  EXPECT_EQ(ReadSettings(installDir_.path()).DisplayUnits, "counts");

  // Not a data file: nothing changes.
  QFile wrongCase(File("upper.man"));
  ASSERT_TRUE(wrongCase.open(QIODevice::WriteOnly));
  wrongCase.write("WREN1.1setupandstatus\r\nPosUnits=mm\r\n");
  wrongCase.close();
  EXPECT_EQ(Load(wrongCase.fileName()), "Invalid Software File Type");
  EXPECT_EQ(form_->Connection->WriteIndex[StatusView], status.rows);
  EXPECT_EQ(form_->UnitsBox->text(), "microns");
}

}  // namespace
}  // namespace quillon

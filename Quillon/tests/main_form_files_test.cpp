// The data files in the main window: each buffer saved from a live run
// against the emulated electronics through its File > Save item, then, in
// demo mode, loaded back into the view of its kind and replayed there.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include "encoder_setup_form.h"
#include "main_form_fixture.h"
#include "number_format.h"
#include "radio_group.h"
#include "settings_files.h"

namespace quillon {
namespace {

const QString kCannotSave = QStringLiteral(
    "Cannot Save to File.  Verify the file is not being used by any other application.");
const QString kStoppedTitle =
    QStringLiteral("Norvale Systems II Veritrak Software - Data Display Stopped");
// Long enough for a replay to show its time moving, short enough to wait for.
constexpr float kRecordedSeconds = 1.0f;
constexpr int kTickMs = 20;

struct Saved {
  QString path;
  int32_t rows = 0;
};

QList<QByteArray> LinesOf(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  QList<QByteArray> lines = file.readAll().split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  for (QByteArray& line : lines) {
    EXPECT_TRUE(line.endsWith('\r'));
    line.chop(1);
  }
  return lines;
}

class DataFilesTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    ASSERT_TRUE(files_.isValid());
  }
  QString File(const char* name) const { return files_.filePath(QString::fromLatin1(name)); }

  void Finish(int code) { ASSERT_TRUE(WaitForRequest(code)) << code; }

  // The encoder setup's Apply, as Settings > Units does it.
  void ApplyUnits(int encoderUnitType, int displayUnitType, const QString& pitch) {
    form_->Encoder1->trigger();
    QWidget* dialog = form_->EncoderSetupForm;
    const auto choose = [&](const char* group, int item) {
      dialog->findChild<RadioGroup*>(group)->findChildren<QRadioButton*>().value(item)->click();
    };
    choose("encoderunittypegroup", encoderUnitType);
    choose("unittypegroup", displayUnitType);
    dialog->findChild<QLineEdit*>("gratingpitchbox")->setText(pitch);
    dialog->findChild<QPushButton*>("applybutton")->click();
    ASSERT_FALSE(dialog->isVisible());
  }

  // Records on the live page of `view`, then saves its buffer through
  // `item`; the rows are those recorded when the file was asked for.
  Saved SaveLive(QAction* item, int view, const char* name) {
    ComData& connection = *form_->Connection;
    EXPECT_TRUE(QTest::qWaitFor([&] { return connection.ElapsedTime[view] > kRecordedSeconds; },
                                kLongWaitMs));
    Saved saved{File(name)};
    questions_.fileHandler = [&](const FileQuestion&) {
      saved.rows = connection.WriteIndex[view];
      return saved.path;
    };
    item->trigger();
    EXPECT_TRUE(WaitForRequest(16));
    EXPECT_EQ(form_->CurrentView, view);
    return saved;
  }

  void ExpectSaveDialog(const char* extension) {
    ASSERT_FALSE(questions_.fileAsked.isEmpty());
    EXPECT_EQ(questions_.fileAsked.last().kind, FileDialogKind::Save);
    EXPECT_EQ(questions_.fileAsked.last().defaultExtension, extension);
  }

  // File > Load with `path`; the message the load showed.
  QString Load(const QString& path) {
    questions_.fileHandler = [path](const FileQuestion&) { return path; };
    const qsizetype before = questions_.asked.size();
    form_->Loaddata1->trigger();
    EXPECT_TRUE(WaitForRequest(19));
    EXPECT_EQ(questions_.fileAsked.last().kind, FileDialogKind::Open);
    return questions_.asked.size() > before ? questions_.asked.last().text : QString();
  }

  // A loaded buffer: its page, stopped at the start of its recording, with
  // View, Back and Stop offered; View replays the whole recording and ends
  // stopped at its end.
  void ExpectLoadedAndReplayed(int kind, int32_t rows) {
    EXPECT_EQ(form_->CurrentView, kind);
    EXPECT_EQ(form_->Connection->WriteIndex[kind], rows);
    EXPECT_TRUE(WaitForRequest(20));
    EXPECT_EQ(form_->ViewState[kind], ActionStop);
    EXPECT_EQ(form_->TimeText2->text(), "0.0");
    for (QWidget* button :
         std::initializer_list<QWidget*>{form_->FastButton, form_->ReviewButton, form_->StopButton})
      EXPECT_TRUE(button->isEnabled());
    bool ended = false;
    const auto connection = QObject::connect(form_.get(), &TMainForm::RequestDone,
                                             [&](int code) { ended |= code == 20; });
    form_->FastButton->click();  // "View"
    EXPECT_TRUE(ServeUntil(ended));
    QObject::disconnect(connection);
    EXPECT_EQ(form_->TimeText2->text(), FormatFixed(form_->Connection->ElapsedTime[kind], 6, 1));
    EXPECT_EQ(form_->ViewState[kind], ActionStop);
  }

  // The replay hands each point over by a blocking call, which a polling
  // wait would serve only between its naps; the ticker wakes the wait when
  // nothing else happens.
  bool ServeUntil(const bool& done) {
    QTimer ticker;
    ticker.start(kTickMs);
    QElapsedTimer clock;
    clock.start();
    while (!done && clock.elapsed() < kLongWaitMs)
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done;
  }

  QTemporaryDir files_;
};

TEST_F(DataFilesTest, BuffersSavedLiveAreLoadedInDemoModeAndReplayedInTheirViews) {
  veritrak::Options options;
  options.device.modelCode = 3;
  ASSERT_NO_FATAL_FAILURE(StartLiveOnCom1(options));
  ApplyUnits(0, 1, "20");  // microns, 20 a count

  const Saved status = SaveLive(form_->StatusandSetup1, StatusView, "run.man");
  ExpectSaveDialog("man");
  QList<QByteArray> lines = LinesOf(status.path);
  ASSERT_GT(lines.size(), 5);
  EXPECT_EQ(lines.mid(0, 5),
            (QList<QByteArray>{"wren1.1setupandstatus", "PosUnits=microns", "PositionResMult=20",
                               "PositionInterpMult=1", "Pos\txAD\tyAD\tStatus\tTime"}));
  EXPECT_EQ(lines.size() - 5, status.rows);
  EXPECT_TRUE(WaitForLivePositions());

  // Cancelled, then refused: nothing written, and the page goes on.
  questions_.fileHandler = [](const FileQuestion&) { return QString(); };
  form_->StatusandSetup1->trigger();
  Finish(16);
  const QString unwritable = File("missing/run.man");
  questions_.fileHandler = [&](const FileQuestion&) { return unwritable; };
  questions_.handler = [](const Question&) { return Answer::Ok; };
  form_->StatusandSetup1->trigger();
  Finish(16);
  ASSERT_EQ(questions_.asked.size(), 1);
  EXPECT_EQ(questions_.asked[0].text, kCannotSave);
  EXPECT_EQ(questions_.asked[0].kind, QuestionKind::Error);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QDir(files_.path()).entryList(QDir::Files), QStringList{"run.man"});
  EXPECT_TRUE(WaitForLivePositions());

  // Loaded with the electronics connected: the page stops on it.
  EXPECT_EQ(Load(status.path), "Setup and Status Data successfully loaded");
  ASSERT_TRUE(WaitForRequest(20));
  EXPECT_EQ(form_->windowTitle(), kStoppedTitle);
  EXPECT_EQ(form_->Connection->WriteIndex[StatusView], status.rows);
  form_->AcquireButtonClick();
  EXPECT_TRUE(WaitForLivePositions());

  form_->Lissajous1->trigger();
  Finish(8);
  const Saved signal = SaveLive(form_->EncoderSignal1, SignalView, "run.lis");
  ExpectSaveDialog("lis");
  EXPECT_EQ(LinesOf(signal.path).mid(0, 2),
            (QList<QByteArray>{"wren1.1encodersignal", "xAD\tyAD\tMag\tAngle\tTime"}));

  form_->SignalMonitor1->trigger();
  Finish(9);
  const Saved strength = SaveLive(form_->SignalStrengthData1, StrengthView, "run.str");
  ExpectSaveDialog("str");

  form_->PositionButtonClick();
  Finish(10);
  const Saved position = SaveLive(form_->PositionandVelocityData1, PositionView, "run.pos");
  ExpectSaveDialog("pos");
  lines = LinesOf(position.path);
  EXPECT_EQ(lines.value(1), "PosUnits=microns");
  EXPECT_EQ(lines.size() - 5, position.rows);

  form_->SignalStrengthButtonClick();  // "Back To Main"
  Finish(11);
  ApplyUnits(1, 0, "20");  // back to counts for the next start

  // Demo mode: no electronics anywhere.
  splash_.reset();
  form_.reset();
  emulator_.reset();
  UnplugPort(1);
  questions_.handler = [](const Question& question) {
    return question.text.startsWith(kCannotDetectStart) ? Answer::Ignore : Answer::Ok;
  };
  StartProgram();
  ASSERT_TRUE(form_->DemoMode);
  EXPECT_EQ(form_->UnitsBox->text(), "counts");

  EXPECT_EQ(Load(position.path), "Position and Velocity Data successfully loaded");
  EXPECT_EQ(questions_.asked.last().kind, QuestionKind::Information);
  // The file's units, for its data only: the settings keep the user's.
  EXPECT_EQ(form_->UnitsBox->text(), "microns");
  EXPECT_FLOAT_EQ(form_->CountLength, 20.0f);
  EXPECT_EQ(form_->Persisted.PositionDigits, 5);
  EXPECT_TRUE(form_->PlotTypeGroup->isEnabled());
  ExpectLoadedAndReplayed(PositionView, position.rows);
  form_->WriteSettings();
  EXPECT_EQ(ReadSettings(installDir_.path()).DisplayUnits, "counts");

  EXPECT_EQ(Load(signal.path), "Encoder Signal Data successfully loaded");
  ExpectLoadedAndReplayed(SignalView, signal.rows);

  EXPECT_EQ(Load(strength.path), "Signal Strength Data successfully loaded");
  ExpectLoadedAndReplayed(StrengthView, strength.rows);

  EXPECT_EQ(Load(status.path), "Setup and Status Data successfully loaded");
  ExpectLoadedAndReplayed(StatusView, status.rows);
  EXPECT_TRUE(QRegularExpression(QStringLiteral("\\.\\d{5}$"))
                  .match(form_->EncoderPositionText->text())
                  .hasMatch())
      << form_->EncoderPositionText->text().toStdString();
  EXPECT_TRUE(form_->AlarmHistory.isEmpty()) << "a replay logs no alarms";

  // Not a data file: nothing changes.
  QFile wrongCase(File("upper.man"));
  ASSERT_TRUE(wrongCase.open(QIODevice::WriteOnly));
  wrongCase.write("WREN1.1setupandstatus\r\nPosUnits=mm\r\n");
  wrongCase.close();
  EXPECT_EQ(Load(wrongCase.fileName()), "Invalid Software File Type");
  EXPECT_EQ(questions_.asked.last().kind, QuestionKind::Error);
  EXPECT_EQ(form_->CurrentView, StatusView);
  EXPECT_EQ(form_->Connection->WriteIndex[StatusView], status.rows);
  EXPECT_EQ(form_->UnitsBox->text(), "microns");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace quillon

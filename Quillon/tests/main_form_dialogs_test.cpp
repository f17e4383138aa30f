// The plot settings, units and alarm history dialogs in the main window,
// against the emulated electronics: how each is reached, and what its
// answers change in the window, the connection and the settings file.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include "alarm_history_form.h"
#include "encoder_setup_form.h"
#include "main_form_fixture.h"
#include "radio_group.h"
#include "settings_files.h"

namespace quillon {
namespace {

const QColor kGreyLamp(128, 128, 128);

template <class T>
T* Find(const QWidget* dialog, const char* name) {
  T* child = dialog->findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

void Fill(const QWidget* dialog, const char* name, const QString& text) {
  Find<QLineEdit>(dialog, name)->setText(text);
}

void Press(const QWidget* dialog, const char* name) {
  QTest::mouseClick(Find<QPushButton>(dialog, name), Qt::LeftButton);
}

void Choose(const QWidget* dialog, const char* group, int item) {
  QRadioButton* button = Find<RadioGroup>(dialog, group)->findChildren<QRadioButton*>().value(item);
  ASSERT_NE(button, nullptr) << group << " " << item;
  button->click();
}

class DialogsTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    veritrak::Options options;
    options.device.modelCode = 3;
    StartLiveOnCom1(options);
  }
  void Finish(int code) { ASSERT_TRUE(WaitForRequest(code)) << code; }
  // The page buttons lock the controls until the page is built.
  void WaitUnlocked() {
    ASSERT_TRUE(QTest::qWaitFor([&] { return form_->SignalMonitor1->isEnabled(); }, kLongWaitMs));
  }
  // "Plot Options" on a plot page: the settings, and the page once more.
  TPlotSettingsForm* OpenPlotOptions(int pageRequest) {
    QTest::mouseClick(form_->CenterIndexButton, Qt::LeftButton);
    EXPECT_TRUE(form_->PlotSettingsForm->isVisible());
    EXPECT_TRUE(WaitForRequest(pageRequest)) << pageRequest;
    WaitUnlocked();
    return form_->PlotSettingsForm;
  }
  void Untick(TPlotSettingsForm* dialog) {
    auto* box = Find<QCheckBox>(dialog, "CheckBox1");
    ASSERT_TRUE(box->isEnabled() && box->isChecked());
    box->click();
  }
  Settings Stored() const { return ReadSettings(installDir_.path()); }
};

TEST_F(DialogsTest, PlotOptionsOfEachPlotAreTakenByTheCycleAndStored) {
  QTest::mouseClick(form_->CenterIndexButton, Qt::LeftButton);  // "Encoder Signal"
  Finish(8);
  WaitUnlocked();
  // A cancelled save is the last request: the settings button must not
  // bring its file dialog back.
  questions_.fileHandler = [](const FileQuestion&) { return QString(); };
  form_->EncoderSignal1->trigger();
  Finish(16);
  questions_.fileHandler = nullptr;

  TPlotSettingsForm* dialog = OpenPlotOptions(8);
  EXPECT_EQ(questions_.fileAsked.size(), 1);
  EXPECT_EQ(Find<QLineEdit>(dialog, "displaybox")->text(), "150");
  Untick(dialog);
  Fill(dialog, "displaybox", "1000");
  Fill(dialog, "Edit1", "0.01");
  Fill(dialog, "Edit2", "0.75");
  Press(dialog, "applybutton");
  EXPECT_FALSE(dialog->isVisible());
  Finish(12);
  EXPECT_EQ(form_->Persisted.LissajousPoints, 1000);
  EXPECT_EQ(form_->Connection->LissajousPoints, 1000);
  Settings stored = Stored();
  EXPECT_EQ(stored.LissajousPoints, 1000);
  EXPECT_FLOAT_EQ(stored.MinimumCircle, 0.01f);
  EXPECT_FLOAT_EQ(stored.MaximumCircle, 0.75f);
  dialog = OpenPlotOptions(8);
  EXPECT_EQ(Find<QLineEdit>(dialog, "Edit1")->text(), "0.010");
  dialog->reject();

  form_->SignalMonitor1->trigger();
  Finish(9);
  dialog = OpenPlotOptions(9);
  Untick(dialog);
  Fill(dialog, "displaybox", "100");
  Fill(dialog, "Edit1", "-150");
  Fill(dialog, "Edit2", "250");
  Press(dialog, "applybutton");
  Finish(12);
  ComData& connection = *form_->Connection;
  EXPECT_EQ(connection.SignalStrengthPoints, 100);
  EXPECT_EQ(Stored().SignalStrengthPoints, 100);
  // The head sweeps far beyond them: fixed limits stay while it records.
  const int32_t recorded = connection.WriteIndex[StrengthView];
  ASSERT_TRUE(QTest::qWaitFor([&] { return connection.WriteIndex[StrengthView] > recorded + 200; },
                              kLongWaitMs));
  EXPECT_TRUE(connection.ManualScale[StrengthPlot]);
  EXPECT_EQ(connection.PositionAxisMin[StrengthPlot], -150);
  EXPECT_EQ(connection.PositionAxisMax[StrengthPlot], 250);

  form_->PositionButtonClick();
  Finish(10);
  dialog = OpenPlotOptions(10);
  Untick(dialog);
  Fill(dialog, "displaybox", "12.7");
  Fill(dialog, "Edit1", "-1000");
  Fill(dialog, "Edit2", "1000");
  Fill(dialog, "Edit3", "-50");
  Fill(dialog, "Edit4", "50");
  Press(dialog, "applybutton");
  Finish(12);
  EXPECT_FLOAT_EQ(form_->PositionPlotSeconds, 12.7f);
  EXPECT_FLOAT_EQ(connection.PositionPlotSeconds, 12.7f);
  EXPECT_TRUE(connection.ManualScale[PositionPlot]);
  EXPECT_EQ(connection.PositionAxisMax[PositionPlot], 1000);
  EXPECT_FLOAT_EQ(connection.VelocityAxisMin, -50.0f);
  // The other plots kept what they were given.
  EXPECT_EQ(connection.PositionAxisMin[StrengthPlot], -150);
  EXPECT_EQ(form_->Persisted.LissajousPoints, 1000);

  dialog = OpenPlotOptions(10);
  EXPECT_EQ(Find<QLineEdit>(dialog, "displaybox")->text(), "12.7");
  EXPECT_FALSE(Find<QCheckBox>(dialog, "CheckBox1")->isChecked());
  Find<QCheckBox>(dialog, "CheckBox1")->click();
  Press(dialog, "applybutton");
  Finish(12);
  EXPECT_FALSE(connection.ManualScale[PositionPlot]);
  EXPECT_EQ(questions_.asked.size(), 0);
}

TEST_F(DialogsTest, UnitsApplyShowsTheUnitsAndResolutionAndStoresThem) {
  questions_.handler = [](const Question&) { return Answer::Ok; };
  form_->Encoder1->trigger();  // F11
  TEncoderSetupForm* dialog = form_->EncoderSetupForm;
  ASSERT_TRUE(dialog->isVisible());
  Choose(dialog, "encoderunittypegroup", 0);  // Linear
  Choose(dialog, "unittypegroup", 1);         // microns
  Fill(dialog, "gratingpitchbox", "2O");
  Press(dialog, "applybutton");
  ASSERT_EQ(questions_.asked.size(), 1);
  EXPECT_TRUE(questions_.asked[0].text.contains("\"2O\""))
      << questions_.asked[0].text.toStdString();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(form_->UnitsBox->text(), "counts");
  EXPECT_FALSE(SettingsWritten());

  form_->Connection->RescaleRequest[StrengthPlot] = false;
  form_->Connection->RescaleRequest[PositionPlot] = false;
  Fill(dialog, "gratingpitchbox", "20");
  Press(dialog, "applybutton");
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(form_->UnitsBox->text(), "microns");
  // This model counts whole periods: one count is the pitch.
  EXPECT_EQ(form_->ResolutionBox->text(), " 20.00000 microns");
  EXPECT_TRUE(form_->Connection->RescaleRequest[StrengthPlot]);
  EXPECT_TRUE(form_->Connection->RescaleRequest[PositionPlot]);
  Settings stored = Stored();
  EXPECT_EQ(stored.EncoderUnitType, 0);
  EXPECT_EQ(stored.DisplayUnitType, 1);
  EXPECT_EQ(stored.DisplayUnits, "microns");
  EXPECT_EQ(stored.PositionDigits, 5);
  const QRegularExpression fiveDecimals(QStringLiteral("\\.\\d{5}$"));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return fiveDecimals.match(form_->EncoderPositionText->text()).hasMatch(); },
      kLongWaitMs));

  form_->Encoder1->trigger();
  Choose(dialog, "encoderunittypegroup", 1);  // Encoder Counts
  Press(dialog, "applybutton");
  EXPECT_EQ(form_->UnitsBox->text(), "counts");
  EXPECT_EQ(form_->ResolutionBox->text(), " 1.0 counts");
  EXPECT_EQ(Stored().DisplayUnits, "counts");
  EXPECT_EQ(questions_.asked.size(), 1);
}

TEST_F(DialogsTest, AlarmHistoryIsShownSavedAndCleared) {
  QTemporaryDir files;
  ASSERT_TRUE(files.isValid());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form_->AlarmHistory.isEmpty(); }, kLongWaitMs));
  form_->Resetalarms1->trigger();
  TAlarmHistoryForm* dialog = form_->AlarmHistoryForm;
  ASSERT_TRUE(dialog->isVisible());
  auto* memo = Find<QPlainTextEdit>(dialog, "AlarmHistoryMemo");
  const QStringList shown = memo->toPlainText().split('\n');
  // Newest first; lines logged since the dialog opened come before them.
  EXPECT_EQ(shown, form_->AlarmHistory.mid(form_->AlarmHistory.size() - shown.size()));
  const QRegularExpression entry(
      QStringLiteral("^\\t(Red Alarm   |Yellow Alarm|Over Signal |Green Level )\\t "
                     "{0,17}-?[0-9,]+\\tcounts\\t\\t   "
                     "[A-Z][a-z]+ \\d{1,2}, \\d{4}  at  \\d\\d:\\d\\d:\\d\\d$"));
  for (const QString& line : shown) EXPECT_TRUE(entry.match(line).hasMatch()) << line.toStdString();

  const QString saved = files.filePath("history.alm");
  questions_.fileHandler = [&](const FileQuestion&) { return saved; };
  Press(dialog, "SaveButton");
  ASSERT_EQ(questions_.fileAsked.size(), 1);
  QFile file(saved);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), (shown.join("\r\n") + "\r\n").toUtf8());

  const QString unwritable = files.filePath("missing/history.alm");
  questions_.fileHandler = [&](const FileQuestion&) { return unwritable; };
  questions_.handler = [](const Question&) { return Answer::Ok; };
  Press(dialog, "SaveButton");
  ASSERT_EQ(questions_.asked.size(), 1);
  EXPECT_TRUE(questions_.asked[0].text.contains(unwritable));

  form_->RedShape->SetBrush(Qt::red);
  form_->GreenCount = 5;
  form_->RedAlarmCount = 5;
  Press(dialog, "ClearHistoryButton");
  EXPECT_EQ(memo->toPlainText(), "");
  EXPECT_EQ(form_->RedShape->Brush(), kGreyLamp);
  // The counters start again, so the lasting situation is logged anew.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form_->AlarmHistory.isEmpty(); }, kLongWaitMs));
  EXPECT_TRUE(entry.match(form_->AlarmHistory.last()).hasMatch());

  QTest::keyClick(memo, Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  form_->AlarmHistoryButton->click();  // "History"
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(memo->toPlainText().isEmpty());
}

}  // namespace
}  // namespace quillon

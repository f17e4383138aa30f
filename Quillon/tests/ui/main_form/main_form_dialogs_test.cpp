// The plot settings, units and alarm history dialogs in the main window,
// against the emulated electronics: how each is reached, and what its
// typed and clicked answers change in the window, the connection and the
// settings file.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "alarm_history_form.h"
#include "encoder_setup_form.h"
#include "main_form_fixture.h"
#include "recording_questions.h"
#include "settings_files.h"

namespace quillon {
namespace {

void Type(const QWidget* dialog, const char* box, const QString& text) {
  Retype(Child<QLineEdit>(*dialog, box), text);
}

class DialogsTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    veritrak::Options options;
    options.device.modelCode = 3;
    StartLive(options);
  }
  // "Plot Options" on a plot page: its settings, and the page once more.
  TPlotSettingsForm* OpenPlotOptions(int pageRequest) {
    EXPECT_TRUE(WaitUnlocked());
    Click(form_->CenterIndexButton);
    EXPECT_TRUE(form_->PlotSettingsForm->isVisible());
    Finish(pageRequest);
    EXPECT_TRUE(WaitUnlocked());
    return form_->PlotSettingsForm;
  }
  void EnterPlot(QWidget* button, int code) {
    if (form_->CurrentView != StatusView) {
      Click(form_->SetFrequencyButton);  // "Back To Main"
      Finish(11);
      ASSERT_TRUE(WaitUnlocked());
    }
    Click(button);
    Finish(code);
  }
  Settings Stored() const { return ReadSettings(installDir_.path()); }
};

TEST_F(DialogsTest, PlotOptionsOfEachPlotAreTakenByTheCycleAndStored) {
  ComData& connection = *form_->Connection;
  EnterPlot(form_->SetFrequencyButton, 9);
  // Applied while the page's own request still waits for the line, the
  // options wait behind it: both run, in turn, and the page's buttons
  // come back.
  ASSERT_TRUE(WaitUnlocked());
  Click(form_->CenterIndexButton);
  TPlotSettingsForm* dialog = form_->PlotSettingsForm;
  ASSERT_TRUE(dialog->isVisible());
  QTest::mouseClick(Child<QCheckBox>(*dialog, "CheckBox1"), Qt::LeftButton);
  Type(dialog, "Edit1", "-150");
  Type(dialog, "Edit2", "250");
  Type(dialog, "displaybox", "100");
  QTest::keyClick(Child<QLineEdit>(*dialog, "displaybox"), Qt::Key_Return);
  Finish(9);
  Finish(12);
  EXPECT_TRUE(WaitUnlocked());
  EXPECT_EQ(Stored().SignalStrengthPoints, 100);
  // The head sweeps far beyond them: fixed limits stay while it records.
  ASSERT_TRUE(WaitRecorded(StrengthView, 200));
  EXPECT_TRUE(connection.ManualScale[StrengthPlot]);
  EXPECT_EQ(connection.PositionAxisMin[StrengthPlot], -150);
  EXPECT_EQ(connection.PositionAxisMax[StrengthPlot], 250);

  EnterPlot(form_->PositionButton, 10);
  dialog = OpenPlotOptions(10);
  QTest::mouseClick(Child<QCheckBox>(*dialog, "CheckBox1"), Qt::LeftButton);
  for (auto [box, text] : {std::pair{"displaybox", "12.7"}, {"Edit1", "-1000"}, {"Edit2", "1000"},
                           {"Edit3", "-50"}, {"Edit4", "50"}})
    Type(dialog, box, text);
  ClickButton(*dialog, "applybutton");
  Finish(12);
  EXPECT_FLOAT_EQ(connection.PositionPlotSeconds, 12.7f);
  EXPECT_TRUE(connection.ManualScale[PositionPlot]);
  EXPECT_EQ(connection.PositionAxisMax[PositionPlot], 1000);
  EXPECT_FLOAT_EQ(connection.VelocityAxisMin, -50.0f);
  // The other plot kept what it was given.
  EXPECT_EQ(connection.PositionAxisMin[StrengthPlot], -150);

  // Shown again with what was applied; ticked again, the plot scales itself.
  dialog = OpenPlotOptions(10);
  EXPECT_EQ(Child<QLineEdit>(*dialog, "displaybox")->text(), "12.7");
  QTest::mouseClick(Child<QCheckBox>(*dialog, "CheckBox1"), Qt::LeftButton);
  ClickButton(*dialog, "applybutton");
  Finish(12);
  EXPECT_FALSE(connection.ManualScale[PositionPlot]);
  EXPECT_TRUE(questions_.asked.isEmpty());
}

TEST_F(DialogsTest, UnitsFromF11ShowTheUnitsAndResolutionAndStoreThem) {
  questions_.handler = [](const Question&) { return Answer::Ok; };
  Key(Qt::Key_F11);
  TEncoderSetupForm* dialog = form_->EncoderSetupForm;
  ASSERT_TRUE(dialog->isVisible());
  ClickItem(*dialog, "encoderunittypegroup", 0);  // Linear
  ClickItem(*dialog, "unittypegroup", 1);         // microns
  Type(dialog, "gratingpitchbox", "2O");
  ClickButton(*dialog, "applybutton");
  ASSERT_EQ(questions_.asked.size(), 1);
  EXPECT_TRUE(questions_.asked[0].text.contains("\"2O\"")) << questions_.asked[0].text.toStdString();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(SettingsWritten());

  Type(dialog, "gratingpitchbox", "20");
  ClickButton(*dialog, "applybutton");
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(form_->UnitsBox->text(), "microns");
  // This model counts whole periods: one count is the pitch.
  EXPECT_EQ(form_->ResolutionBox->text(), " 20.00000 microns");
  const Settings stored = Stored();
  EXPECT_EQ(stored.DisplayUnits, "microns");
  EXPECT_EQ(stored.PositionDigits, 5);
  EXPECT_TRUE(Eventually([&] { return form_->EncoderPositionText->text().endsWith(".00000"); }));

  Key(Qt::Key_F11);
  ClickItem(*dialog, "encoderunittypegroup", 1);  // Encoder Counts
  ClickButton(*dialog, "applybutton");
  EXPECT_EQ(form_->ResolutionBox->text(), " 1.0 counts");
  EXPECT_EQ(Stored().DisplayUnits, "counts");
}

// The history's dialog is hidden in this window; its handler still shows the
// window's history, and Clear starts the logging afresh.
TEST_F(DialogsTest, AlarmHistoryShowsTheWindowsHistoryAndClearStartsAfresh) {
  ASSERT_TRUE(Eventually([&] { return !form_->AlarmHistory.isEmpty(); }));
  form_->Resetalarms1->trigger();
  TAlarmHistoryForm* dialog = form_->AlarmHistoryForm;
  ASSERT_TRUE(dialog->isVisible());
  auto* memo = Child<QPlainTextEdit>(*dialog, "AlarmHistoryMemo");
  // Newest first; lines logged since it opened come before them.
  const QStringList shown = memo->toPlainText().split('\n');
  EXPECT_EQ(shown, form_->AlarmHistory.mid(form_->AlarmHistory.size() - shown.size()));

  form_->RedShape->SetBrush(Qt::red);
  ClickButton(*dialog, "ClearHistoryButton");
  EXPECT_EQ(memo->toPlainText(), "");
  EXPECT_EQ(form_->RedShape->Brush(), QColor(128, 128, 128));
  // The lasting situation is logged anew.
  EXPECT_TRUE(Eventually([&] { return form_->AlarmHistory.size() == 1; }));
  QTest::keyClick(memo, Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
}

}  // namespace
}  // namespace quillon

// The status panel, the resolution, the titles and the view layouts, fed
// directly as the status acquisition feeds them.
#include <QRegularExpression>
#include <cmath>

#include "canvas_widgets.h"
#include "main_form_fixture.h"

namespace quillon {
namespace {

constexpr int32_t kRed = 0x0004, kYellow = 0x0008, kAtIndex = 0x0200, kCentred = 0x0400,
                  kCentring = 0x0800;
const QColor kLime(0, 255, 0), kGrey(128, 128, 128);

// The signal level whose scaled value is `level` exactly.
float LevelGiving(float level) {
  float raw = level / 1.465f;
  while (raw * 1.465f < level) raw = std::nextafter(raw, 1e9f);
  while (raw * 1.465f > level) raw = std::nextafter(raw, 0.0f);
  return raw;
}

class StatusPanelTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    CreateForm();
    form_->ShowResolution(0);
  }
  void Sample(int32_t status, float level = 0, bool levelValid = false, bool replay = false,
              int32_t count = 0) {
    form_->UpdateStatusDisplay(count, level, status, 1.25f, replay, levelValid);
  }
  QStringList Events() const {
    QStringList events;
    for (const QString& entry : form_->AlarmHistory) events << entry.section('\t', 1, 1).trimmed();
    return events;
  }
  QString VisibleBand() const {
    QStringList shown;
    for (QLabel* band : {form_->greenleft, form_->greenright, form_->darkgreenleft,
                         form_->darkgreenright, form_->yellowleft, form_->yellowright,
                         form_->redleft, form_->redright})
      if (band->isVisibleTo(form_.get())) shown << band->objectName();
    return shown.join(',');
  }
};

TEST_F(StatusPanelTest, AlarmLampsLatchAndTheHistoryLogsEachRunOnce) {
  Sample(0);  // a live run starts without alarms
  for (int i = 0; i < 3; ++i) Sample(kRed);
  Sample(kRed | kYellow);
  Sample(0);
  Sample(0);
  Sample(kYellow);
  Sample(kYellow, 0, false, true);  // replayed data logs nothing
  Sample(0, 0, false, true);
  EXPECT_EQ(Events(), (QStringList{"Yellow Alarm", "Green Level", "Red Alarm", "Green Level"}));
  EXPECT_EQ(form_->RedShape->Brush(), QColor(255, 0, 0));
  EXPECT_EQ(form_->YellowShape->Brush(), QColor(255, 255, 0));

  QTest::mouseClick(form_->ResetAlarmsButton, Qt::LeftButton);
  for (Shape* lamp : {form_->YellowShape, form_->RedShape, form_->OverSignalShape})
    EXPECT_EQ(lamp->Brush(), kGrey);
  // The counters run on: a red run already counted adds no entry.
  EXPECT_EQ(form_->GreenCount, 1);

  form_->AlarmHistory.clear();
  form_->UpdateStatusDisplay(1234567, 0, kRed, 2.5f, false, false);
  ASSERT_EQ(form_->AlarmHistory.size(), 1);
  static const QRegularExpression entry(
      "^\\tRed Alarm   \\t         1,234,567\\tcounts\\t\\t   "
      "(January|February|March|April|May|June|July|August|September|October|November|December) "
      "[1-9][0-9]?, [0-9]{4}  at  [0-2][0-9]:[0-5][0-9]:[0-5][0-9]$");
  EXPECT_TRUE(entry.match(form_->AlarmHistory[0]).hasMatch())
      << form_->AlarmHistory[0].toStdString();
  EXPECT_EQ(form_->TimeText2->text(), "2.5");
}

TEST_F(StatusPanelTest, SignalLevelBandsAndOverSignal) {
  Sample(0, LevelGiving(120), true);
  EXPECT_EQ(VisibleBand(), "greenleft,greenright");
  Sample(0, LevelGiving(119), true);
  EXPECT_EQ(VisibleBand(), "yellowleft,yellowright");
  Sample(0, LevelGiving(84), true);
  EXPECT_EQ(VisibleBand(), "redleft,redright");
  Sample(0, LevelGiving(500), false);  // not a fresh level: unchanged
  EXPECT_EQ(VisibleBand(), "redleft,redright");
  Sample(0, LevelGiving(385), true);
  EXPECT_EQ(VisibleBand(), "greenleft,greenright");
  EXPECT_EQ(form_->OverSignalShape->Brush(), kGrey);

  form_->AlarmHistory.clear();
  Sample(0, std::nextafter(LevelGiving(385), 1e9f), true);
  EXPECT_EQ(VisibleBand(), "");
  EXPECT_EQ(form_->OverSignalShape->Brush(), QColor(255, 0, 0));
  Sample(0, 400, true);
  EXPECT_EQ(Events(), QStringList{"Over Signal"});
  Sample(0, 100, true);  // the over-signal lamp latches
  EXPECT_EQ(form_->OverSignalShape->Brush(), QColor(255, 0, 0));
}

TEST_F(StatusPanelTest, IndexCentringBlinksThenReportsCentred) {
  Sample(0);
  EXPECT_EQ(form_->IndexBox->text(), " not at index");
  EXPECT_EQ(form_->IndexShape->Brush(), kGrey);
  Sample(kAtIndex);
  EXPECT_EQ(form_->IndexBox->text(), " at index");
  EXPECT_EQ(form_->IndexShape->Brush(), kLime);
  Sample(0);  // idle: the last index state stays shown
  EXPECT_EQ(form_->IndexBox->text(), " at index");

  QList<QColor> blink;
  for (int i = 0; i < 6; ++i) {
    Sample(kCentring);
    blink << form_->IndexShape->Brush();
  }
  EXPECT_EQ(form_->IndexBox->text(), " centering index...");
  EXPECT_EQ(blink, (QList<QColor>{kLime, kLime, kGrey, kLime, kLime, kGrey}));
  Sample(kCentred);
  EXPECT_EQ(form_->IndexBox->text(), " index centered");
  EXPECT_EQ(form_->IndexShape->Brush(), kLime);
  EXPECT_FALSE(form_->IndexCentering);

  // After a centring, samples without index bits count towards idle.
  for (int i = 0; i < 15; ++i) Sample(0);
  EXPECT_FALSE(form_->IndexIdle);
  EXPECT_EQ(form_->IndexBox->text(), " index centered");
  Sample(0);
  EXPECT_TRUE(form_->IndexIdle);
  Sample(0);
  EXPECT_EQ(form_->IndexBox->text(), " not at index");
}

TEST_F(StatusPanelTest, ResolutionPositionAndSetupTexts) {
  EXPECT_EQ(form_->ResolutionBox->text(), " 1.0 counts");
  Sample(0, 0, false, false, -9876543);
  EXPECT_EQ(form_->EncoderPositionText->text(), "-9,876,543");

  form_->Persisted.EncoderUnitType = 0;
  form_->Persisted.DisplayUnitType = 1;
  form_->Persisted.DisplayUnits = "microns";
  form_->GratingPitch = 20;
  form_->ShowResolution(9);
  EXPECT_FLOAT_EQ(form_->CountLength, 2);
  EXPECT_EQ(form_->ResolutionBox->text(), " 2.00000 microns");
  Sample(0, 0, false, false, 1500);
  EXPECT_EQ(form_->EncoderPositionText->text(), "3,000.00000");

  form_->ShowInterpolationAndFrequency(15, 0x13);
  EXPECT_EQ(form_->InterpolationBox->text(), "16");
  EXPECT_EQ(form_->FrequencyBox->text(), " 1.8 MHz");
  form_->ShowInterpolationAndFrequency(3, 7);  // setting 7 leaves the box
  EXPECT_EQ(form_->FrequencyBox->text(), " 1.8 MHz");
}

TEST_F(StatusPanelTest, TitlesFollowViewAndState) {
  const auto title = [&](int view, int state) {
    form_->CurrentView = view;
    form_->ViewState[view] = state;
    form_->UpdateTitle();
    return form_->windowTitle();
  };
  EXPECT_EQ(title(0, 0), "Norvale Systems II Veritrak Software - Data Display Stopped");
  EXPECT_EQ(title(0, 3), "Norvale Systems Veritrak II Software - Viewing Buffered Data");
  EXPECT_EQ(title(1, 1), "Norvale Systems Veritrak II Software  - Displaying Live Data");
  EXPECT_EQ(title(2, 2), "Norvale Systems Veritrak II Software- Data Display Stopped");
  EXPECT_EQ(title(3, 2), "Norvale Systems Veritrak II Software - Data Display Stopped");
  EXPECT_EQ(title(4, 1), "Norvale Systems Veritrak II Software - Data Display Stopped");
}

TEST_F(StatusPanelTest, PlotViewsSizeThePlotAndSwitchTheStatusMenus) {
  form_->CurrentView = SignalView;
  form_->ShowEncoderSignalView();
  EXPECT_EQ(form_->GraphBox->geometry(), QRect(456, 208, 400, 400));
  EXPECT_TRUE(form_->GraphBox->isVisibleTo(form_.get()));
  EXPECT_FALSE(form_->EncoderPositionText->isVisibleTo(form_.get()));
  EXPECT_FALSE(form_->ResetPosition1->isEnabled());
  EXPECT_EQ(form_->CenterIndexButton->text(), "Plot Options");
  EXPECT_EQ(form_->YValues[0]->text(), "0.8V");
  EXPECT_EQ(form_->XValues[4]->text(), "-0.8V");

  form_->CurrentView = PositionView;
  form_->Persisted.PositionPlotType = 1;
  form_->ShowPositionView();
  EXPECT_EQ(form_->GraphBox->geometry(), QRect(406, 208, 500, 400));
  EXPECT_FALSE(form_->YValues[0]->isVisibleTo(form_.get()));
  EXPECT_TRUE(form_->YValues[5]->isVisibleTo(form_.get()));
  EXPECT_FALSE(form_->YAxisTextTop->isVisibleTo(form_.get()));
  EXPECT_EQ(form_->YAxisTextBottom->text(), "Vel in counts/sec");
  EXPECT_EQ(form_->PlotDescriptionText->text(), "velocity  vs.  time");
  EXPECT_EQ(form_->YValues[6]->y(), form_->YValues[1]->y() + form_->YValues[1]->height());

  // The grid: olive lines every 50 pixels of the 400-pixel-high time plot.
  form_->ClearGraph();
  form_->DrawPlotGrid();
  const QImage& image = form_->GraphBox->Image();
  EXPECT_EQ(image.pixelColor(10, 50), QColor(128, 128, 0));
  EXPECT_EQ(image.pixelColor(63, 10), QColor(128, 128, 0));
  EXPECT_EQ(image.pixelColor(10, 51), QColor(0, 0, 0));

  form_->CurrentView = StatusView;
  form_->ShowStatusView();
  EXPECT_TRUE(form_->ResetPosition1->isEnabled());
  EXPECT_FALSE(form_->GraphBox->isVisibleTo(form_.get()));
  EXPECT_EQ(form_->CenterIndexButton->text(), "Encoder Signal");
}

}  // namespace
}  // namespace quillon

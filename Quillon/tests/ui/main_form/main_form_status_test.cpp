// The status panel, the resolution and the titles, fed
// directly as the status acquisition feeds them.
#include <QRegularExpression>
#include <cmath>

#include "main_form_fixture.h"

namespace quillon {
namespace {

constexpr int32_t kRed = 0x0004, kYellow = 0x0008, kAtIndex = 0x0200, kCentred = 0x0400,
                  kCentring = 0x0800;
const QColor kLime(0, 255, 0), kGrey(128, 128, 128), kRedLamp(255, 0, 0);

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
    form_ = std::make_unique<TMainForm>(questions_, TMainForm::ScreenInfo{QSize(1024, 768), 96});
    form_->show();
    form_->ShowResolution(0);
  }
  // One sample as the status acquisition delivers it; a level with every
  // fourth sample.
  void Sample(int32_t status, float level = -1, bool replay = false, int32_t count = 0) {
    form_->UpdateStatusDisplay(count, level, status, 1.25f, replay, level >= 0);
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

TEST_F(StatusPanelTest, TheHistoryLogsEachChangeOfTheAlarmSituationOnce) {
  Sample(0);  // a live run starts without alarms
  for (int i = 0; i < 3; ++i) Sample(kRed);
  Sample(kRed | kYellow);  // red wins
  Sample(0);
  Sample(kYellow);
  Sample(kYellow, -1, true);  // replayed data logs nothing
  Sample(0, -1, true);
  // A lasting over-signal: the level comes with every fourth sample only.
  for (int i = 0; i < 12; ++i) Sample(0, i % 4 == 0 ? 400 : -1);
  Sample(kRed, -1);
  Sample(0, -1);
  Sample(0, 100);
  // An over-signal that comes and goes within a lasting red alarm.
  for (float level : {-1.0f, -1.0f, 400.0f, -1.0f, -1.0f, -1.0f, 100.0f}) Sample(kRed, level);
  Sample(0, 100);
  // A replay stopped within an over-signal leaves the live situation as it was.
  Sample(0, 400, true);
  Sample(0, -1, true);
  for (float level : {-1.0f, -1.0f, -1.0f, 100.0f}) Sample(0, level);
  EXPECT_EQ(Events(), (QStringList{"Green Level", "Red Alarm", "Over Signal", "Red Alarm",
                                   "Green Level", "Over Signal", "Red Alarm", "Over Signal",
                                   "Yellow Alarm", "Green Level", "Red Alarm", "Green Level"}));
  for (Shape* lamp : {form_->RedShape, form_->OverSignalShape}) EXPECT_EQ(lamp->Brush(), kRedLamp);
  EXPECT_EQ(form_->YellowShape->Brush(), QColor(255, 255, 0));

  // The lamps latch until their Reset is clicked.
  Click(form_->ResetAlarmsButton);
  for (Shape* lamp : {form_->YellowShape, form_->RedShape, form_->OverSignalShape})
    EXPECT_EQ(lamp->Brush(), kGrey);

  form_->AlarmHistory.clear();
  form_->UpdateStatusDisplay(-1234567, 0, kRed, 2.5f, false, false);
  ASSERT_EQ(form_->AlarmHistory.size(), 1);
  static const QRegularExpression entry(
      "^\\tRed Alarm   \\t        -1,234,567\\tcounts\\t\\t   "
      "(January|February|March|April|May|June|July|August|September|October|November|December) "
      "[1-9][0-9]?, [0-9]{4}  at  [0-2][0-9]:[0-5][0-9]:[0-5][0-9]$");
  EXPECT_TRUE(entry.match(form_->AlarmHistory[0]).hasMatch())
      << form_->AlarmHistory[0].toStdString();
  EXPECT_EQ(form_->TimeText2->text(), "2.5");
}

TEST_F(StatusPanelTest, SignalLevelBandsChangeAtTheirBoundaries) {
  const struct {
    float level;
    const char* band;
  } levels[] = {{120, "greenleft,greenright"},
                {119, "yellowleft,yellowright"},
                {std::nextafter(84.0f, 100.0f), "yellowleft,yellowright"},
                {84, "redleft,redright"},
                {385, "greenleft,greenright"},
                {std::nextafter(385.0f, 400.0f), ""}};
  for (const auto& l : levels) {
    SCOPED_TRACE(l.level);
    Sample(0, LevelGiving(l.level));
    EXPECT_EQ(VisibleBand(), l.band);
    EXPECT_EQ(form_->OverSignalShape->Brush(), *l.band ? kGrey : kRedLamp);
  }
  Sample(0, -1);  // no fresh level: the bands stay
  EXPECT_EQ(VisibleBand(), "");
}

TEST_F(StatusPanelTest, IndexCentringBlinksThenReportsCentred) {
  // Idle, the last index state stays shown; a centring blinks with a period
  // of three samples; sixteen samples without index bits end it.
  const struct {
    int32_t status;
    int repeat;
    const char* text;
    QColor lamp;
  } samples[] = {{0, 1, " not at index", kGrey},       {kAtIndex, 1, " at index", kLime},
                 {0, 1, " at index", kLime},           {kCentring, 2, " centering index...", kLime},
                 {kCentring, 1, " centering index...", kGrey},
                 {kCentring, 2, " centering index...", kLime},
                 {kCentred, 1, " index centered", kLime}, {0, 16, " index centered", kLime},
                 {0, 1, " not at index", kGrey}};
  for (const auto& s : samples) {
    for (int i = 0; i < s.repeat; ++i) Sample(s.status);
    EXPECT_EQ(form_->IndexBox->text(), s.text) << s.status << " x" << s.repeat;
    EXPECT_EQ(form_->IndexShape->Brush(), s.lamp) << s.status << " x" << s.repeat;
  }
}

TEST_F(StatusPanelTest, PositionAndResolutionInEachUnit) {
  Sample(0, -1, false, -9876543);
  EXPECT_EQ(form_->EncoderPositionText->text(), "-9,876,543");
  const struct {
    int unit;
    const char* resolution;  // a 20 um pitch, interpolation code 9
    const char* position;    // at -1500 counts, through the 32-bit count length
  } units[] = {{0, " 2000.00 nm", "-3,000,000.00"},   {1, " 2.00000 nm", "-3,000.00000"},
               {2, " 0.00200000 nm", "-3.00000014"}, {3, " 78.7402 nm", "-118,110.2371"},
               {4, " 0.0787402 nm", "-118.1102358"}, {5, " 0.0000787402 nm", "-0.1181102380"}};
  form_->Persisted.EncoderUnitType = 0;
  form_->Persisted.DisplayUnits = "nm";
  form_->GratingPitch = 20;
  for (const auto& u : units) {
    SCOPED_TRACE(u.unit);
    form_->Persisted.DisplayUnitType = u.unit;
    form_->ShowResolution(9);
    EXPECT_EQ(form_->ResolutionBox->text(), u.resolution);
    Sample(0, -1, false, -1500);
    EXPECT_EQ(form_->EncoderPositionText->text(), u.position);
  }
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
  EXPECT_EQ(form_->windowTitle(), kLiveTitle);
  EXPECT_EQ(title(0, 0), "Norvale Systems II Veritrak Software - Data Display Stopped");
  EXPECT_EQ(title(0, 2), "Norvale Systems Veritrak II Software - Data Display Stopped");
  EXPECT_EQ(title(2, 2), "Norvale Systems Veritrak II Software- Data Display Stopped");
  EXPECT_EQ(title(3, 2), "Norvale Systems Veritrak II Software - Data Display Stopped");
  EXPECT_EQ(title(4, 1), "Norvale Systems Veritrak II Software - Data Display Stopped");
}

}  // namespace
}  // namespace quillon

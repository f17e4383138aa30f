// The plot settings dialog driven by typing and clicking: the range ends of
// each view, the limits in display units and back in counts, the check box,
// and Cancel in all its forms.
#include "plot_settings_form.h"

#include <QCheckBox>
#include <optional>

#include "recording_questions.h"

namespace quillon {
namespace {

constexpr PlotView kCircles = PlotView::EncoderSignal, kStrength = PlotView::SignalStrength,
                   kPosition = PlotView::Position;
const char* const kEdits[] = {"displaybox", "Edit1", "Edit2", "Edit3", "Edit4"};
// The odd strength minimum shows the floor of the scaled count.
const PlotSettings kCurrent{
    .MinimumCircle = 0.1874f, .strength = {true, 101, 300}, .position = {false, -40, 40, -8, 8}};

// What a view decides, as the rows write it: the amount, then the circles,
// or the position limits in counts and the velocity limits.
QString Decided(PlotView view, const PlotSettings& s) {
  const PlotLimits& l = view == kStrength ? s.strength : s.position;
  QList<float> values{float(s.SignalStrengthPoints), float(l.positionMin), float(l.positionMax)};
  if (view == kCircles) values = {float(s.LissajousPoints), s.MinimumCircle, s.MaximumCircle};
  if (view == kPosition)
    values = {s.PositionPlotSeconds, values[1], values[2], l.velocityMin, l.velocityMax};
  QStringList texts;
  for (float value : values) texts << QString::number(value);
  return texts.join(' ');
}

class PlotSettingsTest : public ::testing::Test {
 protected:
  PlotSettingsTest() {
    QObject::connect(&form, &TPlotSettingsForm::Applied,
                     [this](PlotView, const PlotSettings& s) { applied = s; });
  }

  // Half a unit a count at half scale: one shown unit is four counts.
  void Open(PlotView view, int model = 3) {
    applied.reset();
    questions.asked.clear();
    form.Open(view, kCurrent, {model, 0.5f, 0.5f, 2});
  }
  QLineEdit* Edit(int i) { return Child<QLineEdit>(form, kEdits[i]); }
  void SetTicked(bool ticked) {
    if (box->isChecked() != ticked) QTest::mouseClick(box, Qt::LeftButton);
    ASSERT_EQ(box->isChecked(), ticked);
  }

  RecordingQuestions questions;
  TPlotSettingsForm form{questions};
  QCheckBox* box = Child<QCheckBox>(form, "CheckBox1");
  std::optional<PlotSettings> applied;
};

// A row types the amount box and the limit fields in order, skipping "-";
// typing a limit clears the check box first. Enter in the amount box takes
// the entries, or Apply when the row types no amount. Then the view decides
// the values given, or the warning is shown and the dialog stays open, to be
// left by Cancel, Escape or the close box in turn, each of which puts the
// check box back as it was shown.
TEST_F(PlotSettingsTest, EntriesAreRangeCheckedAndTakenBackToCounts) {
  // clang-format off
  const std::tuple<PlotView, const char*, const char*> cases[] = {
      {kCircles, "4", nullptr},                {kCircles, "5 0.01 0.75", "5 0.01 0.75"},
      {kCircles, "999.9", "999 0.1874 0.575"}, {kCircles, "1000 0.3 0.3", "1000 0.3 0.3"},
      {kCircles, "1001", nullptr},             {kCircles, "- 0.009 0.5", nullptr},
      {kCircles, "- 0.01 0.76", nullptr},      {kCircles, "- 0.4 0.3", nullptr},
      {kCircles, "- nan 0.5", nullptr},        {kStrength, "99", nullptr},
      {kStrength, "100 -25.3 75", "100 -101 300"}, {kStrength, "10000", "10000 101 300"},
      {kStrength, "10001", nullptr},           {kStrength, "- 20 19.5", nullptr},
      {kPosition, "0.9", nullptr},             {kPosition, "1.0 -5 10 -3 3", "1 -20 40 -12 12"},
      {kPosition, "12.7", "12.7 -40 40 -8 8"}, {kPosition, "65", "65 -40 40 -8 8"},
      {kPosition, "65.1", nullptr},            {kPosition, "- -10 10 3 2.9", nullptr},
      {kPosition, "- -10 10 x 3", nullptr}};
  // clang-format on
  int refused = 0;
  for (const auto& [view, typed, decided] : cases) {
    SCOPED_TRACE(typed);
    const QStringList entries = QString(typed).split(' ');
    Open(view);
    const bool ticked = box->isChecked();
    if (entries.size() > 1) SetTicked(false);
    EXPECT_EQ(Edit(3)->isEnabled(), !box->isChecked() && view == kPosition);
    for (int i = 0; i < entries.size(); ++i)
      if (entries[i] != "-") Retype(Edit(i), entries[i]);
    if (entries[0] != "-") QTest::keyClick(Edit(0), Qt::Key_Return);
    if (entries[0] == "-") ClickButton(form, "applybutton");
    EXPECT_EQ(applied ? Decided(view, *applied) : QString(), decided);
    EXPECT_EQ(form.isVisible(), !decided);
    EXPECT_EQ(questions.FirstText().startsWith("Invalid number entered.  Please verify"), !decided);
    EXPECT_EQ(applied && applied->strength.automatic,
              decided && (view != kStrength || entries.size() == 1));
    if (decided) continue;
    Dismiss(form, kDismissals[refused++ % 3], "BitBtn1");
    EXPECT_FALSE(form.isVisible() || applied);
    EXPECT_EQ(std::pair(box->isChecked(), Edit(1)->isEnabled()), std::pair(ticked, !ticked));
  }
}

// Shown in display units with the entry focused; locked fields are not even
// read: neither after a tick nor for older electronics without indicator
// circles, whose rounded texts would pass as new values.
TEST_F(PlotSettingsTest, LockedFieldsAreShownButIgnored) {
  // clang-format off
  const std::tuple<PlotView, int, const char*> cases[] = {
      {kCircles, 3, "150 0.187 0.575"}, {kStrength, 3, "5000 25.00 75.00"},
      {kPosition, 3, "10.0 -10.00 10.00 -2.00 2.00"}, {kCircles, 2, "150 0.187 0.575"}};
  // clang-format on
  for (const auto& [view, model, shown] : cases) {
    Open(view, model);
    EXPECT_EQ(form.focusWidget(), Edit(0));
    QStringList texts;
    for (int i = 0; i < 5; ++i) texts << (Edit(i)->isVisible() ? Edit(i)->text() : "");
    EXPECT_EQ(texts.join(' ').trimmed(), shown);
    EXPECT_EQ(box->isEnabled(), model > 2);
    if (model > 2) {
      SetTicked(false);
      Retype(Edit(1), "0.3");
      SetTicked(true);
    }
    for (int i = 1; i < 5; ++i) EXPECT_FALSE(Edit(i)->isEnabled()) << kEdits[i];
    ClickButton(form, "applybutton");
    ASSERT_TRUE(applied);
    EXPECT_EQ(Decided(view, *applied), Decided(view, kCurrent));
    EXPECT_EQ(applied->position.automatic, view == kPosition);
  }
}

}  // namespace
}  // namespace quillon

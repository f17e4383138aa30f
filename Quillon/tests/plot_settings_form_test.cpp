// The plot settings dialog driven by typing and clicking: the range ends of
// each view, the check box states, and the values handed back on Apply.
#include "plot_settings_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <optional>

#include "recording_questions.h"

namespace quillon {
namespace {

const QString kInvalid =
    "Invalid number entered.  Please verify all numbers are correct and retry.";

PlotSettings Current() {
  PlotSettings settings;
  settings.LissajousPoints = 150;
  settings.SignalStrengthPoints = 5000;
  settings.PositionPlotSeconds = 10;
  settings.strength = {.automatic = true, .positionMin = 100, .positionMax = 300};
  settings.position = {.automatic = false,
                       .positionMin = -40,
                       .positionMax = 40,
                       .velocityMin = -8,
                       .velocityMax = 8};
  return settings;
}

class PlotSettingsTest : public ::testing::Test {
 protected:
  PlotSettingsTest() : form(questions) {
    QObject::connect(&form, &TPlotSettingsForm::Applied, [this](PlotView view, PlotSettings s) {
      applied = s;
      appliedView = view;
    });
  }

  void Open(PlotView view, PlotUnits units = {.ModelCode = 3}) {
    form.Open(view, Current(), units);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  }

  QLineEdit* Edit(const char* name) { return Child<QLineEdit>(form, name); }
  QCheckBox* Box() { return Child<QCheckBox>(form, "CheckBox1"); }

  void Type(const char* name, const QString& text) {
    QLineEdit* edit = Edit(name);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }

  // Types the entry and presses Apply; true when the dialog handed values back.
  bool Apply(const QString& entry) {
    applied.reset();
    Type("displaybox", entry);
    QTest::mouseClick(Child<QPushButton>(form, "applybutton"), Qt::LeftButton);
    return applied.has_value();
  }

  void Untick() {
    ASSERT_TRUE(Box()->isChecked());
    QTest::mouseClick(Box(), Qt::LeftButton);
    ASSERT_FALSE(Box()->isChecked());
  }

  RecordingQuestions questions;
  TPlotSettingsForm form;
  std::optional<PlotSettings> applied;
  std::optional<PlotView> appliedView;
};

TEST_F(PlotSettingsTest, EachViewShowsItsAmountAndOnlyItsFields) {
  Open(PlotView::EncoderSignal);
  EXPECT_EQ(Edit("displaybox")->text(), "150");
  EXPECT_EQ(Edit("Edit1")->text(), "0.187");
  EXPECT_TRUE(Edit("displaybox")->hasFocus());
  Open(PlotView::SignalStrength);
  EXPECT_EQ(Edit("displaybox")->text(), "5000");
  EXPECT_FALSE(Edit("Edit3")->isVisible());
  Open(PlotView::Position);
  EXPECT_EQ(Edit("displaybox")->text(), "10.0");
  EXPECT_TRUE(Edit("Edit4")->isVisible());
}

TEST_F(PlotSettingsTest, EncoderSignalPointsFrom5To1000) {
  Open(PlotView::EncoderSignal);
  EXPECT_FALSE(Apply("4"));
  EXPECT_FALSE(Apply("1001"));
  EXPECT_FALSE(Apply("abc"));
  EXPECT_FALSE(Apply(""));
  EXPECT_EQ(questions.Texts(), QStringList(4, kInvalid));
  EXPECT_TRUE(form.isVisible()) << "a refused entry keeps the dialog open";
  ASSERT_TRUE(Apply("1000"));
  EXPECT_EQ(applied->LissajousPoints, 1000);
  EXPECT_EQ(appliedView, PlotView::EncoderSignal);
  EXPECT_FALSE(form.isVisible());
  Open(PlotView::EncoderSignal);
  ASSERT_TRUE(Apply("5"));
  EXPECT_EQ(applied->LissajousPoints, 5);
  EXPECT_EQ(questions.asked.size(), 4);
}

TEST_F(PlotSettingsTest, IndicatorLimitsFrom001To075) {
  Open(PlotView::EncoderSignal);
  Untick();
  EXPECT_TRUE(Edit("Edit1")->isEnabled());
  const std::pair<const char*, const char*> refused[] = {
      {"0.01", "0.76"}, {"0.009", "0.5"}, {"0.4", "0.3"}, {"nan", "0.5"}};
  for (const auto& [min, max] : refused) {
    Type("Edit1", min);
    Type("Edit2", max);
    EXPECT_FALSE(Apply("150")) << min << " " << max;
  }
  Type("Edit1", "0.01");
  Type("Edit2", "0.75");
  ASSERT_TRUE(Apply("150"));
  EXPECT_FLOAT_EQ(applied->MinimumCircle, 0.01f);
  EXPECT_FLOAT_EQ(applied->MaximumCircle, 0.75f);
}

// A ticked box locks its fields, and what they hold is not even read.
TEST_F(PlotSettingsTest, ATickedBoxIgnoresItsFields) {
  Open(PlotView::EncoderSignal);
  ASSERT_TRUE(Box()->isChecked());
  EXPECT_FALSE(Edit("Edit1")->isEnabled());
  Edit("Edit1")->setText("0.3");
  ASSERT_TRUE(Apply("200"));
  EXPECT_FLOAT_EQ(applied->MinimumCircle, 0.187f);

  Open(PlotView::SignalStrength);
  ASSERT_TRUE(Box()->isChecked());
  Edit("Edit1")->setText("abc");
  ASSERT_TRUE(Apply("100"));
  EXPECT_EQ(applied->SignalStrengthPoints, 100);
  EXPECT_EQ(applied->strength, Current().strength);

  Open(PlotView::Position);
  QTest::mouseClick(Box(), Qt::LeftButton);
  ASSERT_TRUE(Box()->isChecked());
  for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4"})
    EXPECT_FALSE(Edit(name)->isEnabled());
  ASSERT_TRUE(Apply("5"));
  EXPECT_TRUE(applied->position.automatic);
}

TEST_F(PlotSettingsTest, OlderElectronicsLeaveTheCirclesUntouched) {
  Open(PlotView::EncoderSignal, {.ModelCode = 2});
  EXPECT_FALSE(Box()->isEnabled());
  EXPECT_FALSE(Box()->isChecked());
  // Not even what the fields hold is looked at.
  Edit("Edit1")->setText("0.9");
  Edit("Edit2")->setText("abc");
  ASSERT_TRUE(Apply("300"));
  EXPECT_EQ(applied->LissajousPoints, 300);
  EXPECT_FLOAT_EQ(applied->MinimumCircle, 0.187f);
  EXPECT_FLOAT_EQ(applied->MaximumCircle, 0.575f);
  EXPECT_TRUE(questions.asked.isEmpty());
}

TEST_F(PlotSettingsTest, StrengthLimitsAreShownAndTakenInDisplayUnits) {
  Open(PlotView::SignalStrength, {.ModelCode = 3, .CountLength = 0.5f, .PositionDigits = 1});
  EXPECT_EQ(Edit("Edit1")->text(), "50.0");
  EXPECT_EQ(Edit("Edit2")->text(), "150.0");
  Untick();
  EXPECT_FALSE(Edit("Edit3")->isEnabled()) << "no velocity in this view";
  EXPECT_FALSE(Apply("99"));
  EXPECT_FALSE(Apply("10001"));
  Type("Edit1", "20");
  Type("Edit2", "19.5");
  EXPECT_FALSE(Apply("10000"));
  Type("Edit1", "-25.3");
  Type("Edit2", "75");
  ASSERT_TRUE(Apply("10000"));
  EXPECT_EQ(applied->SignalStrengthPoints, 10000);
  EXPECT_FALSE(applied->strength.automatic);
  EXPECT_EQ(applied->strength.positionMin, -50);
  EXPECT_EQ(applied->strength.positionMax, 150);
  EXPECT_EQ(applied->position, Current().position) << "the other plot keeps its limits";
}

TEST_F(PlotSettingsTest, ZeroLengthCountsCannotTakeFixedLimits) {
  Open(PlotView::SignalStrength, {.ModelCode = 3, .CountLength = 0});
  Untick();
  EXPECT_FALSE(Apply("500"));
  EXPECT_EQ(questions.Texts(), QStringList{kInvalid});
}

TEST_F(PlotSettingsTest, PositionSecondsFrom1To65KeepTheirFraction) {
  Open(PlotView::Position);
  ASSERT_FALSE(Box()->isChecked()) << "the position plot had fixed limits";
  EXPECT_FALSE(Apply("0.5"));
  EXPECT_FALSE(Apply("65.1"));
  ASSERT_TRUE(Apply("65"));
  EXPECT_FLOAT_EQ(applied->PositionPlotSeconds, 65.0f);
  Open(PlotView::Position);
  ASSERT_TRUE(Apply("1.0"));
  Open(PlotView::Position);
  ASSERT_TRUE(Apply("12.7"));
  EXPECT_FLOAT_EQ(applied->PositionPlotSeconds, 12.7f);
}

TEST_F(PlotSettingsTest, PositionVelocityLimitsAreCheckedAndConverted) {
  Open(PlotView::Position, {.ModelCode = 3, .CountLength = 2, .PositionDigits = 2});
  EXPECT_EQ(Edit("Edit3")->text(), "-16.00");
  EXPECT_TRUE(Edit("Edit3")->isEnabled());
  Type("Edit3", "10");
  Type("Edit4", "9");
  EXPECT_FALSE(Apply("5"));
  Type("Edit4", "x");
  EXPECT_FALSE(Apply("5"));
  Type("Edit3", "-3");
  Type("Edit4", "3");
  ASSERT_TRUE(Apply("5"));
  EXPECT_FALSE(applied->position.automatic);
  EXPECT_FLOAT_EQ(applied->position.velocityMin, -1.5f);
  EXPECT_FLOAT_EQ(applied->position.velocityMax, 1.5f);
  EXPECT_EQ(applied->position.positionMin, -40);
}

TEST_F(PlotSettingsTest, CancelRestoresTheCheckBox) {
  Open(PlotView::SignalStrength);
  Untick();
  Type("Edit1", "7");
  QTest::mouseClick(Child<QPushButton>(form, "BitBtn1"), Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(Box()->isChecked());
  EXPECT_FALSE(Edit("Edit1")->isEnabled());
  EXPECT_FALSE(applied.has_value());
}

TEST_F(PlotSettingsTest, EnterInTheEntryBoxApplies) {
  Open(PlotView::EncoderSignal);
  Type("displaybox", "42");
  QTest::keyClick(Edit("displaybox"), Qt::Key_Return);
  ASSERT_TRUE(applied.has_value());
  EXPECT_EQ(applied->LissajousPoints, 42);
}

}  // namespace
}  // namespace quillon

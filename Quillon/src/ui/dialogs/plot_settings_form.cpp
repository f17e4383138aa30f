#include "plot_settings_form.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>
#include <tuple>

#include "dialog_frame.h"
#include "number_format.h"
#include "questions.h"
#include "settings_files.h"
#include "text_scan.h"

namespace quillon {

namespace {

struct ViewTexts {
  const char* caption;
  const char* prompt;
  const char* checkBox;
  float lowest;
  float highest;
};

const ViewTexts& TextsOf(PlotView view) {
  static const ViewTexts kEncoderSignal{
      "Encoder Signal Plot Options",
      "Enter the number of points to display in Encoder Signal Plot \n\n Input range: 5 -1000",
      "Disable Indicator Circle Settings", float(kLissajousPointsRange.lowest),
      float(kLissajousPointsRange.highest)};
  static const ViewTexts kSignalStrength{
      "Signal Strength Plot Options",
      "Enter the number of points to display in Signal Strength Plot \n\n Input range: 100 -10000",
      "Auto Scale Position", float(kStrengthPointsRange.lowest),
      float(kStrengthPointsRange.highest)};
  static const ViewTexts kPosition{"Position and Velocity Plot Options",
                                   "Enter the Time in seconds to display in Position and Velocity "
                                   "Plot \n\n Input range: 1.0 - 65.0",
                                   "AutoScale Position and Velocity", kPlotSecondsRange.lowest,
                                   kPlotSecondsRange.highest};
  switch (view) {
    case PlotView::EncoderSignal:
      return kEncoderSignal;
    case PlotView::SignalStrength:
      return kSignalStrength;
    case PlotView::Position:
      break;
  }
  return kPosition;
}

// Only the newer electronics draw indicator circles.
constexpr int kLastModelWithoutCircles = 2;

const QString kInvalidNumber =
    "Invalid number entered.  Please verify all numbers are correct and retry.";

// Locale-free, and only finite numbers: a limit of "nan" would pass every
// comparison that is written as "not below".
std::optional<float> NumberIn(const QLineEdit* edit) {
  float value = 0;
  if (!ParseFloat(edit->text().toUtf8(), value) || !std::isfinite(value)) return std::nullopt;
  return value;
}

// A position limit in display units back in whole counts; nothing when the
// count does not fit.
std::optional<double> Counts(float displayValue, float perCount) {
  const double counts = std::trunc(displayValue / perCount);
  if (!std::isfinite(counts) || counts < std::numeric_limits<int32_t>::min() ||
      counts > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return counts;
}

void SetEnabled(std::initializer_list<QWidget*> widgets, bool enabled) {
  for (QWidget* widget : widgets) widget->setEnabled(enabled);
}

}  // namespace

TPlotSettingsForm::TPlotSettingsForm(Questions& questions, QWidget* parent)
    : QDialog(parent),
      questions_(questions),
      CheckBox1(new QCheckBox("Auto Scale Position", this)),
      Label1(new QLabel("Minimum Position", this)),
      Label2(new QLabel("Maximum Position", this)),
      Label3(new QLabel("Minimum Velocity", this)),
      Label4(new QLabel("Maximum Velocity", this)),
      Edit1(new QLineEdit(this)),
      Edit2(new QLineEdit(this)),
      Edit3(new QLineEdit(this)),
      Edit4(new QLineEdit(this)),
      displaymemo(new QLabel(this)),
      displaybox(new QLineEdit(this)),
      applybutton(new QPushButton("Apply", this)),
      BitBtn1(new QPushButton("Cancel", this)) {
  setObjectName("TPlotSettingsForm");
  setWindowTitle("Encoder Signal Display Settings");
  ApplyDialogFrame(*this, {.clientSize = QSize(540, 210), .stayOnTop = true});

  CheckBox1->setObjectName("CheckBox1");
  CheckBox1->setGeometry(280, 10, 250, 22);
  CheckBox1->setChecked(true);
  int top = 44;
  for (auto [label, edit, name] :
       {std::tuple{Label1, Edit1, "1"}, std::tuple{Label2, Edit2, "2"},
        std::tuple{Label3, Edit3, "3"}, std::tuple{Label4, Edit4, "4"}}) {
    label->setObjectName(QString("Label") + name);
    label->setGeometry(280, top, 165, 24);
    edit->setObjectName(QString("Edit") + name);
    edit->setGeometry(445, top, 85, 24);
    top += 30;
  }
  displaymemo->setObjectName("displaymemo");
  displaymemo->setGeometry(10, 10, 260, 80);
  displaymemo->setWordWrap(true);
  displaybox->setObjectName("displaybox");
  displaybox->setGeometry(10, 100, 120, 24);
  applybutton->setObjectName("applybutton");
  applybutton->setGeometry(160, 170, 90, 28);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setGeometry(290, 170, 90, 28);
  // Enter applies only from the entry box, so no button is a default one.
  for (QPushButton* button : {applybutton, BitBtn1}) button->setAutoDefault(false);

  connect(CheckBox1, &QCheckBox::toggled, this, &TPlotSettingsForm::CheckBox1Click);
  connect(applybutton, &QPushButton::clicked, this, &TPlotSettingsForm::applybuttonClick);
  connect(displaybox, &QLineEdit::returnPressed, this, &TPlotSettingsForm::applybuttonClick);
  connect(BitBtn1, &QPushButton::clicked, this, &TPlotSettingsForm::reject);
}

void TPlotSettingsForm::Open(PlotView view, const PlotSettings& settings, const PlotUnits& units) {
  view_ = view;
  settings_ = settings;
  units_ = units;
  const ViewTexts& texts = TextsOf(view);
  setWindowTitle(texts.caption);
  displaymemo->setText(texts.prompt);
  CheckBox1->setText(texts.checkBox);
  SetEnabled({Edit1, Edit2, Edit3, Edit4, Label1, Label2, Label3, Label4}, false);
  switch (view) {
    case PlotView::EncoderSignal:
      FillEncoderSignal();
      break;
    case PlotView::SignalStrength:
      FillScaled(settings.strength, false);
      break;
    case PlotView::Position:
      FillScaled(settings.position, true);
      break;
  }
  for (QWidget* velocity : std::initializer_list<QWidget*>{Label3, Edit3, Label4, Edit4})
    velocity->setVisible(velocityInUse_);
  checkedAtShow_ = CheckBox1->isChecked();
  CheckBox1Click();
  show();
  raise();
  activateWindow();
  displaybox->setFocus(Qt::OtherFocusReason);
}

void TPlotSettingsForm::FillEncoderSignal() {
  velocityInUse_ = false;
  displaybox->setText(QString::number(settings_.LissajousPoints));
  Label1->setText("Min Indicator (0.01 to Max)");
  Label2->setText("Max Indicator (Min to 0.75)");
  Edit1->setText(FormatFixed(settings_.MinimumCircle, 10, 3));
  Edit2->setText(FormatFixed(settings_.MaximumCircle, 10, 3));
  const bool circles = units_.ModelCode > kLastModelWithoutCircles;
  CheckBox1->setEnabled(circles);
  CheckBox1->setChecked(circles);
}

void TPlotSettingsForm::FillScaled(const PlotLimits& limits, bool velocity) {
  velocityInUse_ = velocity;
  displaybox->setText(velocity ? FormatFixed(settings_.PositionPlotSeconds, 3, 1)
                               : QString::number(settings_.SignalStrengthPoints));
  Label1->setText("Minimum Position");
  Label2->setText("Maximum Position");
  const float scale = units_.PositionScale;
  ShowLimit(Edit1, std::floor(static_cast<float>(limits.positionMin) * scale) * units_.CountLength);
  ShowLimit(Edit2, std::floor(static_cast<float>(limits.positionMax) * scale) * units_.CountLength);
  ShowLimit(Edit3, limits.velocityMin * scale * units_.CountLength);
  ShowLimit(Edit4, limits.velocityMax * scale * units_.CountLength);
  CheckBox1->setEnabled(true);
  CheckBox1->setChecked(limits.automatic);
}

void TPlotSettingsForm::ShowLimit(QLineEdit* edit, double displayValue) {
  edit->setText(FormatFixed(displayValue, 10, units_.PositionDigits));
}

void TPlotSettingsForm::CheckBox1Click() {
  if (!CheckBox1->isEnabled()) return;
  const bool open = !CheckBox1->isChecked();
  SetEnabled({Edit1, Edit2, Label1, Label2}, open);
  SetEnabled({Edit3, Edit4, Label3, Label4}, open && velocityInUse_);
}

bool TPlotSettingsForm::LimitsInUse() const {
  return CheckBox1->isEnabled() && !CheckBox1->isChecked();
}

void TPlotSettingsForm::applybuttonClick() {
  PlotSettings result = settings_;
  if (!Validated(result)) {
    AskUntilAnswered(questions_, {QuestionKind::Warning, kInvalidNumber, {Answer::Ok}});
    return;
  }
  hide();
  emit Applied(view_, result);
}

bool TPlotSettingsForm::Validated(PlotSettings& result) const {
  const ViewTexts& texts = TextsOf(view_);
  const std::optional<float> amount = NumberIn(displaybox);
  if (!amount || *amount < texts.lowest || *amount > texts.highest) return false;
  if (LimitsInUse() && !ValidatedLimits(result)) return false;
  switch (view_) {
    case PlotView::EncoderSignal:
      result.LissajousPoints = static_cast<int32_t>(*amount);
      break;
    case PlotView::SignalStrength:
      result.SignalStrengthPoints = static_cast<int32_t>(*amount);
      result.strength.automatic = CheckBox1->isChecked();
      break;
    case PlotView::Position:
      result.PositionPlotSeconds = *amount;
      result.position.automatic = CheckBox1->isChecked();
      break;
  }
  return true;
}

bool TPlotSettingsForm::ValidatedLimits(PlotSettings& result) const {
  const std::optional<float> low = NumberIn(Edit1);
  const std::optional<float> high = NumberIn(Edit2);
  if (!low || !high || *high < *low) return false;
  if (view_ == PlotView::EncoderSignal) {
    if (!kCircleRange.Holds(*low) || !kCircleRange.Holds(*high)) return false;
    result.MinimumCircle = *low;
    result.MaximumCircle = *high;
    return true;
  }
  // Units that make every count zero long cannot take a limit back to counts.
  const float perCount = units_.CountLength * units_.PositionScale;
  if (perCount == 0) return false;
  const std::optional<double> lowCounts = Counts(*low, perCount);
  const std::optional<double> highCounts = Counts(*high, perCount);
  if (!lowCounts || !highCounts) return false;
  PlotLimits& limits = view_ == PlotView::Position ? result.position : result.strength;
  limits.positionMin = static_cast<int32_t>(*lowCounts);
  limits.positionMax = static_cast<int32_t>(*highCounts);
  if (!velocityInUse_) return true;
  const std::optional<float> slow = NumberIn(Edit3);
  const std::optional<float> fast = NumberIn(Edit4);
  if (!slow || !fast || *fast < *slow) return false;
  limits.velocityMin = *slow / perCount;
  limits.velocityMax = *fast / perCount;
  return std::isfinite(limits.velocityMin) && std::isfinite(limits.velocityMax);
}

void TPlotSettingsForm::reject() {
  CheckBox1->setChecked(checkedAtShow_);
  CheckBox1Click();
  QDialog::reject();
}

}  // namespace quillon

// The settings of one plot view: how much data it holds and either automatic
// scaling or fixed limits. The dialog works on a copy of the values; only a
// validated Apply hands new values back, and the owner stores them.
#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

class Questions;

enum class PlotView { EncoderSignal = 1, SignalStrength = 2, Position = 3 };

// Axis limits of one scaled plot, in counts (velocity in counts per second).
struct PlotLimits {
  bool automatic = true;
  int32_t positionMin = 0;
  int32_t positionMax = 0;
  float velocityMin = 0;
  float velocityMax = 0;

  bool operator==(const PlotLimits&) const = default;
};

struct PlotSettings {
  int32_t LissajousPoints = 150;
  int32_t SignalStrengthPoints = 5000;
  float PositionPlotSeconds = 10;
  float MinimumCircle = 0.187f;
  float MaximumCircle = 0.575f;
  PlotLimits strength;
  PlotLimits position;

  bool operator==(const PlotSettings&) const = default;
};

// How counts are shown: floor(counts x PositionScale) x CountLength with
// PositionDigits decimals. The model code decides whether the encoder signal
// plot has indicator circles to set.
struct PlotUnits {
  int ModelCode = 0;
  float CountLength = 1;
  float PositionScale = 1;
  int PositionDigits = 0;
};

class TPlotSettingsForm : public QDialog {
  Q_OBJECT

 public:
  explicit TPlotSettingsForm(Questions& questions, QWidget* parent = nullptr);

  // Fills the dialog for `view` and shows it, not modal.
  void Open(PlotView view, const PlotSettings& settings, const PlotUnits& units);

 signals:
  // The values after a validated Apply; only those of the dialog's view
  // differ from what Open was given.
  void Applied(PlotView view, const PlotSettings& settings);

 public slots:
  // Cancel: the check box as it was shown, then close.
  void reject() override;

 private:
  void FillEncoderSignal();
  void FillScaled(const PlotLimits& limits, bool velocity);
  void ShowLimit(QLineEdit* edit, double displayValue);
  void CheckBox1Click();
  bool LimitsInUse() const;
  void applybuttonClick();
  bool Validated(PlotSettings& result) const;
  bool ValidatedLimits(PlotSettings& result) const;

  Questions& questions_;
  PlotView view_ = PlotView::EncoderSignal;
  PlotSettings settings_;
  PlotUnits units_;
  bool velocityInUse_ = false;
  bool checkedAtShow_ = true;

  QCheckBox* CheckBox1;
  QLabel *Label1, *Label2, *Label3, *Label4;
  QLineEdit *Edit1, *Edit2, *Edit3, *Edit4;
  QLabel* displaymemo;
  QLineEdit* displaybox;
  QPushButton* applybutton;
  QPushButton* BitBtn1;
};

}  // namespace quillon

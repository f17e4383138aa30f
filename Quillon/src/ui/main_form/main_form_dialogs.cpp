// The window's side of the plot settings, units and alarm history dialogs:
// what each is opened with and what the window does with its answers.
#include <QAction>
#include <QLabel>

#include "alarm_history_form.h"
#include "canvas_widgets.h"
#include "encoder_setup_form.h"
#include "main_form.h"

namespace quillon {
namespace {

PlotLimits LimitsOf(const ComData& connection, ScaledPlot plot) {
  PlotLimits limits{.automatic = !connection.ManualScale[plot],
                    .positionMin = connection.PositionAxisMin[plot],
                    .positionMax = connection.PositionAxisMax[plot]};
  if (plot == PositionPlot) {
    limits.velocityMin = connection.VelocityAxisMin;
    limits.velocityMax = connection.VelocityAxisMax;
  }
  return limits;
}

// A plot that goes back to scaling itself starts from its data rather than
// from the fixed limits it had.
void SetScale(ComData& connection, ScaledPlot plot, const PlotLimits& limits) {
  connection.ManualScale[plot] = !limits.automatic;
  if (limits.automatic) {
    connection.RescaleRequest[plot] = true;
    return;
  }
  connection.PositionAxisMin[plot] = limits.positionMin;
  connection.PositionAxisMax[plot] = limits.positionMax;
  if (plot != PositionPlot) return;
  connection.VelocityAxisMin = limits.velocityMin;
  connection.VelocityAxisMax = limits.velocityMax;
}

}  // namespace

void TMainForm::CreateSettingsDialogs() {
  EncoderSetupForm = new TEncoderSetupForm(questions_, this);
  connect(EncoderSetupForm, &TEncoderSetupForm::Applied, this, &TMainForm::EncoderSetupApplied);
  connect(EncoderSetupForm, &TEncoderSetupForm::GratingsReset, this, &TMainForm::GratingsReset);
  AlarmHistoryForm = new TAlarmHistoryForm(
      questions_,
      {.history = [this] { return AlarmHistory; }, .clearHistory = [this] { ClearAlarmHistory(); }},
      this);
  PlotSettingsForm = new TPlotSettingsForm(questions_, this);
  connect(PlotSettingsForm, &TPlotSettingsForm::Applied, this, &TMainForm::ApplyPlotSettings);

  connect(Encoder1, &QAction::triggered, this, &TMainForm::Encoder1Click);
  connect(Resetalarms1, &QAction::triggered, this, &TMainForm::AlarmHistoryButtonClick);
  connect(AlarmHistoryButton, &QAbstractButton::clicked, this, &TMainForm::AlarmHistoryButtonClick);
}

// ---- plot settings ----

void TMainForm::ShowPlotSettings() {
  if (CurrentView < SignalView || CurrentView > PositionView) return;
  PlotSettingsForm->Open(static_cast<PlotView>(CurrentView), CurrentPlotSettings(),
                         {.ModelCode = modelCode_,
                          .CountLength = CountLength,
                          .PositionScale = PositionScale,
                          .PositionDigits = Persisted.PositionDigits});
}

PlotSettings TMainForm::CurrentPlotSettings() const {
  return {.LissajousPoints = Persisted.LissajousPoints,
          .SignalStrengthPoints = Persisted.SignalStrengthPoints,
          .PositionPlotSeconds = PositionPlotSeconds,
          .MinimumCircle = Persisted.MinimumCircle,
          .MaximumCircle = Persisted.MaximumCircle,
          .strength = LimitsOf(*Connection, StrengthPlot),
          .position = LimitsOf(*Connection, PositionPlot)};
}

// Only the values of the dialog's own view: the others may have changed
// since it was opened.
void TMainForm::TakePlotSettings(PlotView view, const PlotSettings& settings) {
  switch (view) {
    case PlotView::EncoderSignal:
      Persisted.LissajousPoints = settings.LissajousPoints;
      Persisted.MinimumCircle = settings.MinimumCircle;
      Persisted.MaximumCircle = settings.MaximumCircle;
      break;
    case PlotView::SignalStrength:
      Persisted.SignalStrengthPoints = settings.SignalStrengthPoints;
      SetScale(*Connection, StrengthPlot, settings.strength);
      break;
    case PlotView::Position:
      PositionPlotSeconds = settings.PositionPlotSeconds;
      SetScale(*Connection, PositionPlot, settings.position);
      break;
  }
}

// ---- units and gratings ----

void TMainForm::Encoder1Click() { EncoderSetupForm->Open(Persisted, GratingPitch); }

void TMainForm::EncoderSetupApplied(const Settings& settings, float gratingPitch) {
  TakeEncoderFields(Persisted, settings);
  ownUnits_.reset();
  GratingPitch = gratingPitch;
  UnitsBox->setText(Persisted.DisplayUnits);
  ShowResolution(Connection->InterpCode());
  Connection->RequestRescale();
  WriteSettings();
}

void TMainForm::GratingsReset(const Settings& settings) {
  TakeEncoderFields(Persisted, settings);
  WriteSettings();
}

// ---- alarm history ----

void TMainForm::AlarmHistoryButtonClick() {
  AlarmHistoryForm->show();
  AlarmHistoryForm->raise();
  AlarmHistoryForm->activateWindow();
}

// The counters restart too, so that a lasting alarm is logged again.
void TMainForm::ClearAlarmHistory() {
  AlarmHistory.clear();
  ResetAlarmsButtonClick();
  YellowAlarmCount = 0;
  RedAlarmCount = 0;
  GreenCount = 0;
  OverSignalCount = 0;
  loggedSituation_.reset();
}

}  // namespace quillon

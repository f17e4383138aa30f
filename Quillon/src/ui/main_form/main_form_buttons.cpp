// The page buttons, the display-state buttons, the View menu and the Help
// menu: moving between the views and through the recorded data.
#include <QAction>
#include <QApplication>
#include <QTimer>

#include "about_box.h"
#include "canvas_widgets.h"
#include "main_form.h"
#include "radio_dialog.h"

namespace quillon {
namespace {
constexpr int kViewChangeMs = 500;
const QColor kGreyText(128, 128, 128);
}  // namespace

// The steps the three page buttons share around their view change.
// `recordLeft`: PreviousView keeps the view being left rather than the new one.
void TMainForm::PageButton(int code, int view, bool recordLeft) {
  if (!DemoMode) LockControls();
  if (ViewState[CurrentView] == ActionView) ViewState[CurrentView] = ActionStop;
  if (recordLeft) PreviousView = CurrentView;
  if (code != 0) {
    PendingCommand = code;
    CurrentView = view;
  }
  commandBusy_ = true;
  if (Connection) Connection->ReviewExtended = true;
  PostRequest(PendingCommand, kViewChangeMs);
  if (!recordLeft) PreviousView = CurrentView;
  if (ViewState[CurrentView] == ActionView) ViewState[CurrentView] = ActionStop;
}

// On a plot page the button offers the plot settings and the page's own
// request runs once more and rebuilds it: whatever request came last (a
// save, a load) is not repeated.
void TMainForm::EncoderSignalButtonClick() {
  if (CurrentView == StatusView) {
    PageButton(8, SignalView, false);
    return;
  }
  ShowPlotSettings();
  constexpr int kShowPlotRequest[] = {0, 8, 9, 10};
  if (CurrentView <= PositionView) PageButton(kShowPlotRequest[CurrentView], CurrentView, false);
}

// PreviousView keeps the view being left, so that a return the status
// page's thread refuses goes back to the plot it came from.
void TMainForm::SignalStrengthButtonClick() {
  if (CurrentView == StatusView)
    PageButton(9, StrengthView, true);
  else
    PageButton(11, StatusView, true);
}

void TMainForm::PositionButtonClick() { PageButton(10, PositionView, true); }

// The View menu changes pages without locking the controls.
void TMainForm::ViewMenuItem(int code, int view) {
  if (CurrentView == view) return;
  commandBusy_ = true;
  if (Connection) Connection->ReviewExtended = true;
  PostRequest(code, kViewChangeMs);
  PreviousView = CurrentView;
  CurrentView = view;
  if (ViewState[view] == ActionView) ViewState[view] = ActionStop;
}

// From every plot, the position plot included, as a user expects of F2.
void TMainForm::Mainwindow1Click() {
  if (CurrentView >= SignalView && CurrentView <= PositionView) SignalStrengthButtonClick();
}

void TMainForm::Lissajous1Click() { ViewMenuItem(8, SignalView); }

void TMainForm::SignalMonitor1Click() { ViewMenuItem(9, StrengthView); }

void TMainForm::EncoderPositionPlot1Click() {
  if (CurrentView != PositionView) PositionButtonClick();
}

void TMainForm::Engineering1Click() {
  if (CurrentView == EngineeringView) return;
  commandBusy_ = true;
  PostRequest(13, kViewChangeMs);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  PreviousView = CurrentView;
  CurrentView = EngineeringView;
}

void TMainForm::AcquireButtonClick() {
  commandBusy_ = false;
  if (ViewState[CurrentView] == ActionView) return;
  if (CurrentView == StatusView && ViewState[CurrentView] != ActionLive) ResetAlarmsButtonClick();
  ViewState[CurrentView] = ActionLive;
  UpdateTitle();
  ApplyViewState();
}

void TMainForm::StopButtonClick() {
  commandBusy_ = false;
  ViewState[CurrentView] = ActionStop;
  PostRequest(20, 200);
}

void TMainForm::ReviewButtonClick() {
  if (Connection) Connection->ReviewExtended = false;
  PostRequest(17, 200);
  commandBusy_ = true;
}

void TMainForm::FastButtonClick() {
  const int state = ViewState[CurrentView];
  if (state == ActionLive || state == ActionView) return;
  if (CurrentView == StatusView) ResetAlarmsButtonClick();
  if (Connection) Connection->ReviewExtended = false;
  PostRequest(18, 300);
  ViewState[CurrentView] = ActionView;
  commandBusy_ = false;
}

// The lamps only; the alarm counters run on.
void TMainForm::ResetAlarmsButtonClick() {
  for (Shape* lamp : {YellowShape, RedShape, OverSignalShape}) lamp->SetBrush(kGreyText);
}

void TMainForm::DataProcessingForSetupandStatus1Click() {
  const std::optional<int> item = RadioDialog->Ask(
      {.caption = "Enable or Disable Data Processing Features for Setup and Status",
       .items = {"Enable", "Disable"},
       .selected = StatusDataProcessing ? 0 : 1});
  if (item) StatusDataProcessing = *item == 0;
}

void TMainForm::ShowHelpTopic(const char* fileName, const char* chapter) {
  ShowHelp(InstallDir, {QString::fromLatin1(fileName), QString::fromLatin1(chapter)}, questions_,
           OpenUrl, [this]() -> TManualViewer& {
             if (!ManualViewer) ManualViewer = std::make_unique<TManualViewer>();
             return *ManualViewer;
           });
}

// The manual opens at the chapter of the view on the screen.
void TMainForm::Veritraksoftwarehelp1Click() {
  static const char* const kViewChapters[] = {chapter::kStatusPage, chapter::kEncoderSignal,
                                              chapter::kSignalStrength, chapter::kEncoderPosition,
                                              chapter::kEngineering};
  const bool known = CurrentView >= StatusView && CurrentView <= EngineeringView;
  ShowHelpTopic("Veritrak II Software for Alignment Tool Help.hlp",
                kViewChapters[known ? CurrentView : StatusView]);
}

void TMainForm::Encoderinstallationwizard1Click() {
  ShowHelpTopic("Encoder Installation Wizard.hlp", chapter::kInstallation);
}

void TMainForm::AboutVeritrakSoftware1Click() { AboutBoxForm->show(); }

}  // namespace quillon

// The read/write cycle: menus and buttons post a request, the running
// acquisition is asked to stop, and the first tick of ReadWriteTimer that
// finds the line free carries the request out once.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <algorithm>

#include "canvas_widgets.h"
#include "engineering_display.h"
#include "info_form.h"
#include "main_form.h"

namespace quillon {
namespace {
constexpr int kRefusedReturnWaitMs = 200;
}  // namespace

// A request posted while another waits for the line queues behind it with
// its own interval; posted again before it ran, it runs once, with the
// newest arguments.
void TMainForm::PostRequest(int code, int intervalMs) {
  if (Connection) Connection->RequestStop();
  if (!ReadWriteTimer->isActive()) {
    StartRequest({code, intervalMs});
    return;
  }
  const bool waiting =
      code == PendingCommand ||
      std::ranges::any_of(queuedRequests_, [code](const Request& r) { return r.code == code; });
  if (!waiting) queuedRequests_.push_back({code, intervalMs});
}

void TMainForm::StartRequest(const Request& request) {
  PendingCommand = request.code;
  ReadWriteTimer->setInterval(request.intervalMs);
  ReadWriteTimer->start();
}

// The next queued request waits for the thread the last one started.
void TMainForm::StartQueuedRequest() {
  if (ReadWriteTimer->isActive() || queuedRequests_.empty()) return;
  if (Connection) Connection->RequestStop();
  StartRequest(queuedRequests_.front());
  queuedRequests_.pop_front();
}

void TMainForm::NormalCursor() {
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

void TMainForm::LockControls() {
  NormalCursor();
  for (QWidget* control : std::initializer_list<QWidget*>{
           EncoderSignalButton, SignalStrengthButton, PositionButton, AcquireButton, StopButton,
           ReviewButton, FastButton, SetInterpolationButton, ResetAlarmsButton,
           AlarmHistoryButton})
    control->setEnabled(false);
  for (QAction* item : {Lissajous1, SignalMonitor1, EncoderPositionPlot1, Engineering1})
    item->setEnabled(false);
}

void TMainForm::UnlockControls() {
  NormalCursor();
  for (QWidget* control : std::initializer_list<QWidget*>{
           EncoderSignalButton, SignalStrengthButton, PositionButton, AcquireButton, StopButton,
           ReviewButton, FastButton, SetInterpolationButton, ResetAlarmsButton,
           AlarmHistoryButton, SetFrequencyButton, CenterIndexButton})
    control->setEnabled(true);
  for (QAction* item : {Lissajous1, SignalMonitor1, EncoderPositionPlot1, Engineering1})
    item->setEnabled(true);
}

void TMainForm::ReadWriteTimerTimer() {
  // An acquisition thread still holds the line, or a search is replacing
  // the connection (its splash lets timers run): the request waits a tick.
  if (searching_ || !Connection || Connection->ThreadRunning) return;
  ReadWriteTimer->stop();
  const int code = PendingCommand;
  switch (code) {
    case 1: SetFrequencyRequest(); break;
    case 2: SetInterpolationRequest(); break;
    case 3: CenterIndexRequest(); break;
    case 4: ElectronicsInfoRequest(); break;
    case 5: SearchForElectronics(); break;
    case 6: SoftwareResetRequest(); break;
    case 7: ZeroPositionRequest(); break;
    case 8: ShowPlotViewRequest(&TMainForm::ShowEncoderSignalView); break;
    case 9: ShowPlotViewRequest(&TMainForm::ShowSignalStrengthView); break;
    case 10: ShowPlotViewRequest(&TMainForm::ShowPositionView); break;
    case 11: ReturnToStatusRequest(); break;
    case 12: PlotSettingsRequest(); break;
    case 13: ShowEngineeringRequest(); break;
    case 14: LeaveEngineeringRequest(); break;
    case 15: WriteRegisterRequest(); break;
    case 16: SaveBufferRequest(); break;
    case 17: StepBackRequest(); break;
    case 18: ViewBufferRequest(); break;
    case 19: LoadDataRequest(); break;
    case 20: StopDisplayRequest(); break;
    case 21: ClearBuffersRequest(); break;
    default: break;
  }
  emit RequestDone(code);
  StartQueuedRequest();
}

void TMainForm::FinishRequest() {
  if (ViewState[CurrentView] == ActionView) commandBusy_ = false;
  ApplyViewState();
}

// A failed device call hands over to the failure dialog and ends the request.
bool TMainForm::Succeeded(bool ok) {
  if (!ok) CommunicationFailure();
  return ok;
}

void TMainForm::SetFrequencyRequest() {
  if (!Succeeded(Connection->SetFrequency(FrequencyItem + 1))) return;
  if (!Succeeded(Connection->ReadSetup())) return;
  FinishRequest();
}

void TMainForm::SetInterpolationRequest() {
  if (!Succeeded(Connection->SetInterpolation(NewInterpolation))) return;
  if (!Succeeded(Connection->ReadSetup())) return;
  ShowResolution(Connection->InterpCode());
  FinishRequest();
}

void TMainForm::CenterIndexRequest() {
  if (!Succeeded(Connection->CenterIndex())) return;
  IndexCentering = true;
  IndexIdle = false;
  IndexMissCount = 0;
  FinishRequest();
}

void TMainForm::ElectronicsInfoRequest() {
  DeviceInfo info;
  if (!Succeeded(Connection->ReadInfo(info))) return;
  InfoForm->Fill(info, Connection->Port(), Connection->Baud(), ElectronicsType == 0);
  InfoForm->show();
  FinishRequest();
}

void TMainForm::SoftwareResetRequest() {
  Connection->SoftwareReset();
  NormalCursor();
  Connection->RequestRescale();
  Connection->RequestZero();
  if (!DemoMode) Connection->CaptureZeroOffset();
  FinishRequest();
}

void TMainForm::ZeroPositionRequest() {
  if (!Succeeded(Connection->ZeroPosition())) return;
  Connection->RequestRescale();
  Connection->RequestZero();
  FinishRequest();
}

void TMainForm::ShowPlotViewRequest(void (TMainForm::*show)()) {
  (this->*show)();
  surface->repaint();
  ClearGraph();
  DrawPlotGrid();
  ApplyViewState();
  if (!DemoMode) ButtonTimer->start();
}

void TMainForm::ReturnToStatusRequest() {
  if (!DemoMode) {
    CurrentView = StatusView;
    ApplyViewState();
    // The plot's thread was still running: stay on the plot.
    if (Connection->StartRefused && ViewState[StatusView] != ActionStop) {
      CurrentView = PreviousView;
      ApplyViewState();
      ComData::WaitMs(kRefusedReturnWaitMs);
      UnlockControls();
      return;
    }
  }
  ShowStatusView();
  surface->repaint();
  ApplyViewState();
  if (DemoMode) return;
  if (ViewState[StatusView] == ActionLive) AcquireButtonClick();
  UnlockControls();
}

void TMainForm::PlotSettingsRequest() {
  TakePlotSettings(PlotScaleView, PlotScaleSettings);
  Connection->SetPlotSizes(Persisted.LissajousPoints, Persisted.SignalStrengthPoints,
                           PositionPlotSeconds);
  WriteSettings();
  ApplyViewState();
}

void TMainForm::ShowEngineeringRequest() {
  EngineeringDisplay->show();
  NormalCursor();
  ApplyViewState();
}

void TMainForm::LeaveEngineeringRequest() {
  CurrentView = PreviousView;
  if (DemoMode) return;
  Connection->ReadSetup();
  ShowInterpolationAndFrequency(Connection->InterpCode(), Connection->StatusSetup());
  ApplyViewState();
}

void TMainForm::WriteRegisterRequest() {
  if (!Succeeded(Connection->WriteRawRegister(WriteWord))) return;
  ApplyViewState();
}

void TMainForm::SaveBufferRequest() {
  SaveCurrentBuffer();
  if (!DemoMode) UnlockControls();
  NormalCursor();
  CurrentView = PreviousView;
  FormActivate();
  ApplyViewState();
}

void TMainForm::StepBackRequest() {
  ViewState[CurrentView] = ActionReview;
  UpdateTitle();
  ApplyViewState();
  ViewState[CurrentView] = ActionStop;
}

void TMainForm::ViewBufferRequest() {
  FastButton->setEnabled(true);
  UpdateTitle();
  ApplyViewState();
}

void TMainForm::LoadDataRequest() {
  LoadDataFile();
  NormalCursor();
  if (DemoMode) return;
  UpdateTitle();
  ApplyViewState();
}

void TMainForm::StopDisplayRequest() {
  UpdateTitle();
  ApplyViewState();
}

void TMainForm::ClearBuffersRequest() {
  constexpr int kAll = 4;
  if (ClearTarget == kAll) {
    for (int view : {StatusView, SignalView, PositionView, StrengthView})
      Connection->ResetRing(view);
  } else {
    Connection->ResetRing(ClearTarget);
  }
  if (ClearTarget == kAll || ClearTarget == CurrentView) TimeText2->setText(QStringLiteral("0.0"));
  UpdateTitle();
  ApplyViewState();
}

void TMainForm::ButtonTimerTimer() {
  ButtonTimer->stop();
  UnlockControls();
}

void TMainForm::ApplyPlotSettings(PlotView view, const PlotSettings& settings) {
  PlotScaleView = view;
  PlotScaleSettings = settings;
  commandBusy_ = true;
  PostRequest(12, 400);
}

}  // namespace quillon

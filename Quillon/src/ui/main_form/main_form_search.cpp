// The search for the electronics, the dialogs that follow a failed search
// or a failed exchange, and the switch between connected and demo mode.
#include <QAction>
#include <QLabel>
#include <QScopedValueRollback>
#include <QTimer>

#include "canvas_widgets.h"
#include "main_form.h"
#include "questions.h"
#include "radio_group.h"
#include "startup.h"

namespace quillon {
namespace {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 16;
constexpr int kSettleMs = 1000;
constexpr int kInfoAttempts = 4;

const char* const kCannotDetect =
    "Cannot Detect Veritrak II Electronics. Please Verify that Veritrak II Electronics are "
    "connected to COM Port of the computer and that the power LED for the electronics is on.  "
    "Click 'retry' to atempt to connect to electronics or 'ignore' to start the software in Demo "
    "Mode.";

const char* const kCommunicationError =
    "Error communicating with Veritrak II Electronics. Please check connections and click 'Yes' "
    "to try reconnecting on current COM port, click 'All' to restart data collection and search "
    "all COM ports, or 'NO' to resume using the program in Demo Mode";

}  // namespace

void TMainForm::ShowSplash(const QString& caption, const QString& text) {
  if (Startup && !caption.isEmpty()) Startup->setWindowTitle(caption);
  if (!text.isEmpty()) SplashText(text);
  if (Startup) Startup->ShowCentred();
}

void TMainForm::SplashText(const QString& text) {
  if (Startup) Startup->ShowText(text);
  emit SplashTextShown(text);
}

void TMainForm::HideSplash() {
  if (Startup) Startup->hide();
}

void TMainForm::SearchForElectronics() {
  const QScopedValueRollback searching(searching_, true);
  Connection.reset();
  AlarmHistory.clear();
  ShowSplash(QStringLiteral("Searching for Veritrak II Electronics..."), QString());
  for (int port = kFirstPort; port <= kLastPort; ++port)
    if (TryPort(port)) return;
  AlarmHistory.clear();
  Connection->Disconnect();
  HideSplash();
  CannotDetect();
}

// Keeps the connection when the port answers; the last port's connection
// stays, disconnected, when none did.
bool TMainForm::TryPort(int port) {
  SplashText(QStringLiteral("Polling Com%1...").arg(port));
  Connection = std::make_unique<ComData>(port, *this);
  QString found;
  if (Connection->Identify(found, ElectronicsType)) {
    AlarmHistory.clear();
    SplashText(found);
    ComData::WaitMs(kSettleMs);
    HideSplash();
    FinishConnection();
    return true;
  }
  portProblems_.Note(port, Connection->OpenError());
  if (port < kLastPort) {
    Connection->Disconnect();
    Connection.reset();
  }
  return false;
}

// The information is read before the status acquisition starts: while a
// thread owns the line the window must not talk to the electronics.
void TMainForm::FinishConnection() {
  EnterConnectedMode();
  Connection->SetPlotSizes(Persisted.LissajousPoints, Persisted.SignalStrengthPoints,
                           PositionPlotSeconds);
  UpdateTitle();
  ComData::WaitMs(kSettleMs);
  DeviceInfo info;
  bool read = Connection->ReadInfo(info);
  for (int attempt = 1; !read && attempt < kInfoAttempts; ++attempt) {
    ComData::WaitMs(kSettleMs);
    read = Connection->ReadInfo(info);
  }
  deviceInfo_ = read ? info : DeviceInfo{};
  ShowModel(read ? info.modelRegister : 0);
  ShowResolution(Connection->InterpCode());
  ApplyViewState();
}

void TMainForm::CannotDetect() {
  const Question question{QuestionKind::Warning, QString::fromLatin1(kCannotDetect),
                          {Answer::Retry, Answer::Ignore, Answer::Help}};
  Answer answer;
  while ((answer = AskUntilAnswered(questions_, question)) == Answer::Help)
    ShowHelpTopic("Veritrak II Software For Alignment Tool Help.hlp", chapter::kNothingFound);
  const QString problems = portProblems_.TakeUntold();
  if (!problems.isEmpty())
    AskUntilAnswered(questions_, {QuestionKind::Information, problems, {Answer::Ok}});
  if (answer == Answer::Retry)
    RestartTimer->start();
  else
    EnterDemoMode();
}

void TMainForm::RestartTimerTimer() {
  RestartTimer->stop();
  SearchForElectronics();
}

// A second failure reported while the box is open (a request failing in
// its nested event loop) is the same failure: one box, one answer.
void TMainForm::CommunicationFailure() {
  if (failureOpen_) return;
  const QScopedValueRollback open(failureOpen_, true);
  QList<Answer> answers{Answer::Yes, Answer::No, Answer::All};
  if (CurrentView != EngineeringView) answers.append(Answer::Help);
  const Question question{QuestionKind::Warning, QString::fromLatin1(kCommunicationError),
                          answers};
  for (;;) {
    Connection->StopStreaming();
    Answer answer;
    while ((answer = AskUntilAnswered(questions_, question)) == Answer::Help)
      ShowHelpTopic("Veritrak Software II For Alignment Tool Help.hlp",
                    chapter::kCommunicationFailure);
    if (answer == Answer::No) {
      DemoMode = true;
      EnterDemoMode();
      Connection->Disconnect();
      return;
    }
    if (answer == Answer::All) {
      Connection->Disconnect();
      RestartTimer->start();
      return;
    }
    ShowSplash(QString(), QStringLiteral("Trying to Communicate with Electronics..."));
    QString found;
    if (Connection->Identify(found, ElectronicsType)) {
      EnterConnectedMode();
      ShowSplash(QString(), found);
      ComData::WaitMs(kSettleMs);
      HideSplash();
      UpdateTitle();
      ApplyViewState();
      return;
    }
    HideSplash();
  }
}

void TMainForm::SetDeviceControls(bool enabled) {
  for (QWidget* button : std::initializer_list<QWidget*>{
           CenterIndexButton, SetInterpolationButton, SetFrequencyButton, EncoderSignalButton,
           SignalStrengthButton, PositionButton, AcquireButton, StopButton, ReviewButton,
           FastButton, ResetAlarmsButton, AlarmHistoryButton, ResetPositionButton, PlotTypeGroup})
    button->setEnabled(enabled);
  for (QAction* item :
       {Veritrakversion1, Savedata1, Mainwindow1, Lissajous1, SignalMonitor1,
        EncoderPositionPlot1, Engineering1, Resetalarms1, Interpolation1, Bandwidth1,
        EngineeringDisplay1, LocateIndex1, ResetPosition1, Zeroposition1, SoftwareSystemReset1,
        Encoder1})
    item->setEnabled(enabled);
}

void TMainForm::EnterDemoMode() {
  // Requests queued for the electronics have none left to go to.
  queuedRequests_.clear();
  Connection->StartRefused = false;
  HardwareReset1->setEnabled(true);
  SearchForElectronics1->setEnabled(true);
  SoftwareSystemReset1->setEnabled(false);
  DemoMode = true;
  setWindowTitle(QStringLiteral("Norvale Systems Veritrak Software - Demo Mode"));
  SetDeviceControls(false);
  ResetDataBuffers1->setEnabled(false);
  Connection->SetPlotSizes(Persisted.LissajousPoints, Persisted.SignalStrengthPoints,
                           PositionPlotSeconds);
}

void TMainForm::EnterConnectedMode() {
  ResetDataBuffers1->setEnabled(true);
  HardwareReset1->setEnabled(false);
  SearchForElectronics1->setEnabled(false);
  SoftwareSystemReset1->setEnabled(true);
  DemoMode = false;
  setWindowTitle(QStringLiteral("Norvale Systems Veritrak II Software"));
  SetDeviceControls(true);
  ShowCurrentView();
  ReadSettings();
}

}  // namespace quillon

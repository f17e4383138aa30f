// The device commands of the Settings and Tools menus and the page buttons
// that carry them: each asks first where the electronics change, then posts
// its request to the read/write cycle. On a plot page the same buttons serve
// the plot instead.
#include <QAction>
#include <QApplication>

#include "edit_dialog.h"
#include "main_form.h"
#include "probelink.h"
#include "questions.h"
#include "radio_dialog.h"

namespace quillon {
namespace {

constexpr int kLowestLevel = 4;
constexpr int kHighestLevel = 4096;
constexpr int kDeviceCommandMs = 300;
constexpr int kHardwareResetMs = 800;

const char* const kCentreWarning =
    "This will center the encoder's index output pulse within the scale's index mark. The index "
    "pulse will also be aligned with the A-quad-B outputs for maximum repeatability. To proceed, "
    "click OK and move the sensor past the scale's index mark in each direction until the "
    "message 'index centered' appears. To exit without centering the index pulse, click Cancel.";

const char* const kHardwareResetWarning =
    "This will perform a hardware reset on both COM1 and COM2.  This is used to reset any "
    "Veritrak II electronics that may be connected to either Com port.  This command can be "
    "helpful if the software cannot find the Veritrak II electronics at startup and/or the power "
    "LED for the Veritrak II electronics is not on.  This function should not be used if the "
    "electronics are currently being used by any device, controller, or other program besides "
    "this software.  To proceed, click OK, to exit without performing a hardware reset, click "
    "Cancel.";

const char* const kZeroWarning =
    "This will zero the position count in the Veritrak II Electronics and should not be "
    "performed if operating in closed loop control.  To continue, click OK and To exit without "
    "zeroing the position, click Cancel. ";

const char* const kResetWarning =
    "This will perform a system reset of the Veritrak II electronics.  This command can be "
    "helpful if you desire to clear the contents of the data registers in the Veritrak II "
    "electronics.  This function should not be used if the electronics are currently being used "
    "by any device, controller, or other program besides this software.  To proceed, click OK, "
    "to exit without performing a system reset, click Cancel.";

const TextQuestion kInterpolationQuestion{
    .caption = "Input New Interpolation Level",
    .information = "Enter an integer between 4 and 4096",
    .warning1 = "Warning:  Changing the interpolation level while operating",
    .warning2 = "in closed loop control is not recommended."};

const RadioQuestion kFrequencyQuestion{
    .caption = "Choose New Maximum Output Frequency",
    .items = {" 7.2 MHz -  28.8 Million quad states/sec (setting 1)",
              " 3.6 MHz -  14.4 Million quad states/sec (setting 2)",
              " 1.8 MHz -   7.2 Million quad states/sec  (setting 3)",
              " 900 kHz -   3.6 Million quad states/sec  (setting 4)",
              " 450 kHz -   1.8 Million quad states/sec  (setting 5)",
              " 225 kHz -       900,000 quad states/sec (setting 6)"},
    .warning =
        "Warning:  Changing the output frequency while operating in closed loop control is "
        "not recommended."};

}  // namespace

bool TMainForm::Confirmed(const char* warning) {
  return AskUntilAnswered(questions_, {QuestionKind::Warning, QString::fromLatin1(warning),
                                       {Answer::Ok, Answer::Cancel}}) == Answer::Ok;
}

// The dialog comes back until it holds a level in range, an empty text or
// is cancelled. The display pauses only once a request is posted.
void TMainForm::SetInterpolationButtonClick() {
  if (CurrentView != StatusView) {
    ShowPlotSettings();
    return;
  }
  TextQuestion question = kInterpolationQuestion;
  question.value = QString::number(Connection->InterpCode() + 1);
  for (;;) {
    const std::optional<QString> text = EditDialogForm->Ask(question);
    if (!text || text->isEmpty()) return;
    bool integer = false;
    const int level = text->toInt(&integer);
    if (!integer) continue;
    // Identification always leaves 0 here; other electronics take any level.
    if (ElectronicsType == 0 && (level < kLowestLevel || level > kHighestLevel)) {
      AskUntilAnswered(questions_, {QuestionKind::Information,
                                    QStringLiteral("Please input an integer between 4 and 4096"),
                                    {Answer::Ok}});
      continue;
    }
    NewInterpolation = level - 1;
    commandBusy_ = true;
    PostRequest(2, kDeviceCommandMs);
    return;
  }
}

// OK with no item chosen (the register held a setting the dialog does not
// offer) changes nothing.
void TMainForm::SetFrequencyButtonClick() {
  if (CurrentView != StatusView) {
    SignalStrengthButtonClick();
    return;
  }
  RadioQuestion question = kFrequencyQuestion;
  question.selected = static_cast<int>(Connection->StatusSetup() & 7) - 1;
  const std::optional<int> item = RadioDialog->Ask(question);
  if (!item || *item < 0) return;
  FrequencyItem = *item;
  commandBusy_ = true;
  PostRequest(1, kDeviceCommandMs);
}

void TMainForm::CenterIndexButtonClick() {
  if (CurrentView != StatusView) {
    SaveDataClick(CurrentView);
    return;
  }
  if (!Confirmed(kCentreWarning)) return;
  commandBusy_ = true;
  PostRequest(3, kDeviceCommandMs);
}

// No device exchange: the acquisition takes its next raw position as zero.
void TMainForm::ResetPositionButtonClick() {
  Connection->RequestZero();
  Connection->RequestRescale();
}

void TMainForm::Zeroposition1Click() {
  if (!Confirmed(kZeroWarning)) return;
  commandBusy_ = true;
  PostRequest(7, kDeviceCommandMs);
}

void TMainForm::SoftwareSystemReset1Click() {
  if (!Confirmed(kResetWarning)) return;
  commandBusy_ = true;
  PostRequest(6, 600);
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

// Outside the read/write cycle: it is offered only while no connection
// holds a port. A port without DTR (a pseudo-terminal) refuses the pulse;
// the port is closed all the same and the next one is tried.
void TMainForm::HardwareReset1Click() {
  if (!Confirmed(kHardwareResetWarning)) return;
  const QString performing = QStringLiteral("Performing Hardware Reset...");
  ShowSplash(performing, performing);
  for (int32_t port : {1, 2}) {
    OpenPort(port);
    SystemReset(port);
    ComData::WaitMs(kHardwareResetMs);
    ClosePort(port);
  }
  HideSplash();
}

void TMainForm::SearchForElectronics1Click() {
  for (int view = StatusView; view <= PositionView; ++view) ViewState[view] = ActionLive;
  commandBusy_ = true;
  PostRequest(5, 500);
}

void TMainForm::Veritrakversion1Click() {
  commandBusy_ = true;
  PostRequest(4, kDeviceCommandMs);
}

void TMainForm::ClearBuffersClick(int target) {
  ClearTarget = target;
  PostRequest(21, 400);
}

}  // namespace quillon

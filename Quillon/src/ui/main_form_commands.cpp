// The device commands of the Settings and Tools menus that this window
// offers: each asks first where the electronics change, then posts its
// request to the read/write cycle.
#include <QAction>
#include <QApplication>

#include "main_form.h"
#include "questions.h"

namespace quillon {
namespace {

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

}  // namespace

bool TMainForm::Confirmed(const char* warning) {
  return AskUntilAnswered(questions_, {QuestionKind::Warning, QString::fromLatin1(warning),
                                       {Answer::Ok, Answer::Cancel}}) == Answer::Ok;
}

// No device exchange: the acquisition takes its next raw position as zero.
void TMainForm::ResetPositionButtonClick() {
  Connection->RequestZero();
  Connection->RequestRescale();
}

void TMainForm::Zeroposition1Click() {
  if (!Confirmed(kZeroWarning)) return;
  commandBusy_ = true;
  PostRequest(7, 300);
}

void TMainForm::SoftwareSystemReset1Click() {
  if (!Confirmed(kResetWarning)) return;
  commandBusy_ = true;
  PostRequest(6, 600);
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TMainForm::SearchForElectronics1Click() {
  for (int view = StatusView; view <= PositionView; ++view) ViewState[view] = ActionLive;
  commandBusy_ = true;
  PostRequest(5, 500);
}

void TMainForm::Veritrakversion1Click() {
  commandBusy_ = true;
  PostRequest(4, 300);
}

void TMainForm::ClearBuffersClick(int target) {
  ClearTarget = target;
  PostRequest(21, 400);
}

}  // namespace quillon

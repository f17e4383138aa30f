// The engineering display as view 4: created once, shown by request 13,
// refreshed by the register survey, writing one raw word through request 15
// and returning to the previous view through request 14 when it closes.
#include <QAction>

#include "engineering_display.h"
#include "main_form.h"
#include "radio_dialog.h"

namespace quillon {
namespace {

constexpr int kWriteMs = 800;
constexpr int kLeaveMs = 1000;

const RadioQuestion kWriteEnableQuestion{
    .caption = "Engineering Display Settings",
    .items = {"Enable Engineering Write Buttons", "Disable Engineering Write Buttons"},
    .selected = 1,
    .warning =
        "Warning:  Please review all Norvale Systems Veritrak II documentation before "
        "enabling writing in engineering mode.  Also verify that only valid data is being "
        "sent.  Remember all data sent is in hexidecimal"};

}  // namespace

// Not a blocking dialog, yet the window behind it takes no input while it is
// up: a page change under it would leave it showing a survey that no longer
// runs.
void TMainForm::CreateEngineeringDisplay() {
  EngineeringDisplay = new TEngineeringDisplay(questions_, this);
  EngineeringDisplay->setWindowModality(Qt::ApplicationModal);
  connect(EngineeringDisplay, &TEngineeringDisplay::Opened, this,
          [this] { SetMainMenusEnabled(false); });
  connect(EngineeringDisplay, &TEngineeringDisplay::Closed, this, [this] {
    LeaveEngineeringDisplay();
    SetMainMenusEnabled(true);
  });
  connect(EngineeringDisplay, &TEngineeringDisplay::WriteRequested, this,
          &TMainForm::QueueRegisterWrite);
}

void TMainForm::SetMainMenusEnabled(bool enabled) {
  for (QAction* menu : {File1, View1, Settings1, Tools1}) menu->setEnabled(enabled);
}

void TMainForm::LeaveEngineeringDisplay() {
  CurrentView = PreviousView;
  PostRequest(14, kLeaveMs);
}

void TMainForm::QueueRegisterWrite(uint32_t word) {
  WriteWord = word;
  PostRequest(15, kWriteMs);
}

void TMainForm::EngineeringDisplay1Click() {
  const std::optional<int> item = RadioDialog->Ask(kWriteEnableQuestion);
  if (item) EngineeringDisplay->SetWritesEnabled(*item == 0);
  FormActivate();
}

}  // namespace quillon

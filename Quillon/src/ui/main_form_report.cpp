// The set-up report from the window: what the status page shows, the
// electronics as they identified themselves at connection, the alignment
// read-out's latest figures and the plot on show.
#include <probelink.h>

#include <QDateTime>
#include <QDir>
#include <QLabel>

#include "alignment_readout.h"
#include "canvas_widgets.h"
#include "main_form.h"
#include "questions.h"
#include "setup_report_pdf.h"

namespace quillon {
namespace {

const char* const kViewNames[] = {"Setup and Status", "Encoder Signal", "Signal Strength",
                                  "Position and Velocity"};

QString LampText(const Shape* lamp) {
  return lamp->Brush() == QColor(128, 128, 128) ? QStringLiteral("off") : QStringLiteral("on");
}

QString DeviceOf(int port) {
  char path[4096];
  return PortDevice(port, path, sizeof path) > 0 ? QString::fromLocal8Bit(path) : QString();
}

}  // namespace

void TMainForm::SaveSetupReportClick() {
  const QString fileName = questions_.AskFileName(
      {FileDialogKind::Save, QStringLiteral("Save Set-up Report"),
       QStringLiteral("Set-up Reports (*.pdf)|*.pdf|All Files (*.*)|*.*"), QStringLiteral("pdf")});
  if (fileName.isEmpty()) return;
  ReportPictures pictures;
  if (CurrentView == SignalView) pictures.lissajous = GraphBox->Image();
  if (CurrentView == StrengthView) pictures.strength = GraphBox->Image();
  if (WriteSetupReport(CollectSetupReport(), pictures, fileName)) return;
  AskUntilAnswered(questions_, {QuestionKind::Error,
                                QStringLiteral("Cannot write the set-up report \"%1\".")
                                    .arg(QDir::toNativeSeparators(fileName)),
                                {Answer::Ok}});
}

SetupReport TMainForm::CollectSetupReport() const {
  SetupReport r;
  r.taken = QDateTime::currentDateTime();
  r.connected = Connection && !DemoMode;
  if (r.connected) {
    r.port = QStringLiteral("COM%1").arg(Connection->Port());
    r.device = DeviceOf(Connection->Port());
    r.identification = IdentificationFields(deviceInfo_);
    r.setup = SetupFields(Connection->InterpCode(), Connection->StatusSetup());
  }
  r.setup.push_back({"resolution", "Resolution", ResolutionBox->text().trimmed(), {}});
  r.status = {{"position", "Position", EncoderPositionText->text(), UnitsBox->text()},
              {"index", "Index", IndexBox->text().trimmed(), {}},
              {"yellow_alarm", "Yellow alarm", LampText(YellowShape), {}},
              {"red_alarm", "Red alarm", LampText(RedShape), {}},
              {"over_signal", "Over signal", LampText(OverSignalShape), {}}};
  r.alignment = alignmentReadout_->Latest();
  r.tolerances = alignmentReadout_->Tolerances();
  r.alarmHistory = AlarmHistory;
  for (int view = StatusView; Connection && !r.connected && view <= PositionView; ++view)
    if (Connection->WriteIndex[view] > 0)
      r.loaded += QStringLiteral("%1%2: %3 samples")
                      .arg(r.loaded.isEmpty() ? "" : "; ", kViewNames[view])
                      .arg(Connection->WriteIndex[view].load());
  return r;
}

}  // namespace quillon

// The set-up report from the window: what the status page shows, the
// electronics as they identified themselves at connection, the alignment
// read-out's latest figures and the plot on show.
#include <probelink.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLabel>

#include "alignment_readout.h"
#include "canvas_widgets.h"
#include "main_form.h"
#include "measure/signal_level.h"
#include "questions.h"
#include "report_fields_form.h"
#include "report_pictures.h"
#include "setup_report_pdf.h"
#include "signal_words.h"

namespace quillon {
namespace {

const char* const kViewNames[] = {"Setup and Status", "Encoder Signal", "Signal Strength",
                                  "Position and Velocity"};

bool Lit(const Shape* lamp) { return lamp->Brush() != QColor(128, 128, 128); }

QString LampText(const Shape* lamp) {
  return Lit(lamp) ? QStringLiteral("true") : QStringLiteral("false");
}

QString DeviceOf(int port) {
  char path[4096];
  return PortDevice(port, path, sizeof path) > 0 ? QString::fromLocal8Bit(path) : QString();
}

}  // namespace

void TMainForm::SaveSetupReportClick() {
  const std::optional<ReportFields> fields = reportFieldsForm_->Ask(settingsDir_);
  if (!fields) return;
  const QString fileName = questions_.AskFileName(
      {FileDialogKind::Save, QStringLiteral("Save Set-up Report"),
       QStringLiteral("Set-up Reports (*.pdf)|*.pdf|All Files (*.*)|*.*"), QStringLiteral("pdf")});
  if (fileName.isEmpty()) return;
  SetupReport report = CollectSetupReport();
  report.fields = *fields;
  if (WriteSetupReport(report, ReportPicturesOf(report), fileName)) return;
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
  for (const auto& [lamp, name] : {std::pair{RedShape, "Red Alarm"}, {YellowShape, "Yellow Alarm"},
                                    {OverSignalShape, "Over Signal"}})
    if (Lit(lamp)) r.alarmsSeen << QString::fromLatin1(name);
  r.software = QStringLiteral("Quillon ") + QCoreApplication::applicationVersion();
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

// The Lissajous figure of the samples the read-out fitted, and the strength
// sweep the connection recorded.
ReportPictures TMainForm::ReportPicturesOf(const SetupReport& report) const {
  std::vector<std::pair<int32_t, double>> sweep;
  if (Connection) {
    const StrengthRing& ring = Connection->Strength();
    const int32_t n = std::min<int32_t>(Connection->WriteIndex[StrengthView], kPlotRingSize);
    for (int32_t i = 0; i < n; ++i)
      sweep.emplace_back(ring.position[i],
                         measure::LevelPercent(SignedSignal(static_cast<uint16_t>(ring.x[i])),
                                               SignedSignal(static_cast<uint16_t>(ring.y[i]))));
  }
  return {LissajousPicture(alignmentReadout_->Samples(), report.alignment), StrengthPicture(sweep)};
}

}  // namespace quillon

#include "report_command.h"

#include <probelink.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <cstdio>
#include <memory>

#include "extra_options.h"
#include "idle_window.h"
#include "install_dir.h"
#include "setup_report_pdf.h"
#include "signal_words.h"
#include "status_bits.h"

namespace quillon {
namespace {

constexpr int kFirstPort = 1, kLastPort = 16;

// What the status and encoder-signal threads hand over.
class Collector : public IdleWindow {
 public:
  std::vector<measure::SignalPoint> points;
  int32_t position = 0, status = 0;
  float level = 0;
  bool failed = false;

  void UpdateStatusDisplay(int32_t p, float l, int32_t s, float, bool, bool ready) override {
    position = p, status = s;
    if (ready) level = l;
  }
  void DrawLissajousBatch(bool, const SignalBatch& fresh, const SignalBatch&, float) override {
    for (const SignalSample& s : fresh) points.push_back({SignalVolts(s.x), SignalVolts(s.y)});
  }
  void CommunicationFailure() override { failed = true; }
};

std::unique_ptr<ComData> Connect(int wanted, Collector& window) {
  for (int port = wanted ? wanted : kFirstPort; port <= (wanted ? wanted : kLastPort); ++port) {
    auto connection = std::make_unique<ComData>(port, window);
    QString message;
    int32_t type = 0;
    if (connection->Identify(message, type)) return connection;
  }
  return nullptr;
}

// Runs a started thread for `seconds`, serving its calls, then stops it.
bool RunFor(ComData& connection, const Collector& window, double seconds) {
  const QDeadlineTimer deadline(static_cast<qint64>(seconds * 1000));
  while (!deadline.hasExpired() && !window.failed)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  connection.RequestStop();
  const QDeadlineTimer stopped(10000);
  while ((connection.ThreadRunning || connection.ThreadAlive()) && !stopped.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return !window.failed;
}

QString DeviceOf(int port) {
  char path[4096];
  return PortDevice(port, path, sizeof path) > 0 ? QString::fromLocal8Bit(path) : QString();
}

std::vector<ReportField> StatusFields(const Collector& w) {
  const auto yesNo = [](bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); };
  return {{"position", "Position", QString::number(w.position), "counts"},
          {"index", "Index", (w.status & bit::kAtIndex) ? "at index" : "not at index", {}},
          {"red_alarm", "Red alarm", yesNo(w.status & bit::kRedAlarm), {}},
          {"yellow_alarm", "Yellow alarm", yesNo(w.status & bit::kYellowAlarm), {}},
          {"status_level", "Signal level (status)", QString::number(w.level, 'f', 1), {}}};
}

int Fail(const char* reason) {
  std::fprintf(stderr, "Quillon --report: %s\n", reason);
  return 1;
}

}  // namespace

int RunReportCommand(const ReportRequest& request) {
  Collector window;
  const std::unique_ptr<ComData> connection = Connect(request.port, window);
  if (!connection) return Fail("no Veritrak II electronics answer");
  SetupReport report;
  report.tolerances = ReadExtraOptions(SettingsDir(ReadInstallDir())).tolerances;
  report.taken = QDateTime::currentDateTime();
  report.connected = true;
  report.port = QStringLiteral("COM%1").arg(connection->Port());
  report.device = DeviceOf(connection->Port());
  DeviceInfo info;
  if (!connection->ReadInfo(info) || !connection->ReadSetup())
    return Fail("the electronics stopped answering");
  report.identification = IdentificationFields(info);
  report.setup = SetupFields(connection->InterpCode(), connection->StatusSetup());
  connection->SetPlotSizes(150, 5000, 10);
  connection->StartStatus(ActionLive);
  const bool status = RunFor(*connection, window, 1.0);
  connection->StartSignal(ActionLive);
  if (!status || !RunFor(*connection, window, request.seconds))
    return Fail("communication with the electronics failed");
  report.status = StatusFields(window);
  report.alignment = measure::FitAlignment(window.points);
  if (!WriteSetupReport(report, {}, request.pdf)) {
    std::fprintf(stderr, "Quillon --report: cannot write %s\n", qPrintable(request.pdf));
    return 2;
  }
  return 0;
}

}  // namespace quillon

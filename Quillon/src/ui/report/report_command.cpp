#include "report_command.h"

#include <probelink.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

#include "extra_options.h"
#include "idle_window.h"
#include "install_dir.h"
#include "measure/figure_rows.h"
#include "measure/signal_level.h"
#include "report_pictures.h"
#include "setup_report_pdf.h"
#include "signal_words.h"
#include "status_bits.h"

namespace quillon {
namespace {

constexpr int kFirstPort = 1, kLastPort = 16;
constexpr double kStatusSeconds = 1, kStrengthSeconds = 2;

std::atomic<bool> interrupted{false};

void Interrupt(int) { interrupted = true; }

// What the status, encoder-signal and strength threads hand over while the
// report measures.
class Collector : public IdleWindow {
 public:
  std::vector<measure::SignalPoint> points;
  std::vector<std::pair<int32_t, double>> sweep;
  int32_t position = 0, status = 0;
  float level = 0;
  bool failed = false;
  QStringList alarmsSeen;

  void UpdateStatusDisplay(int32_t p, float l, int32_t s, float, bool, bool ready) override {
    position = p, status = s;
    if (s & bit::kRedAlarm) See(QStringLiteral("Red Alarm"));
    if (s & bit::kYellowAlarm) See(QStringLiteral("Yellow Alarm"));
    if (!ready) return;
    level = l;
    if (measure::BandOfBarLevel(measure::BarLevel(l)) == measure::LevelBand::OverSignal)
      See(QStringLiteral("Over Signal"));
  }
  void DrawLissajousBatch(bool, const SignalBatch& fresh, const SignalBatch&, float) override {
    for (const SignalSample& s : fresh) points.push_back({SignalVolts(s.x), SignalVolts(s.y)});
  }
  int32_t DrawStrengthPoint(int32_t p, int32_t x, int32_t y, float, int32_t, int32_t) override {
    sweep.emplace_back(p, measure::LevelPercent(SignedSignal(static_cast<uint16_t>(x)),
                                                SignedSignal(static_cast<uint16_t>(y))));
    return 0;
  }
  void CommunicationFailure() override { failed = true; }

 private:
  void See(const QString& alarm) {
    if (!alarmsSeen.contains(alarm)) alarmsSeen << alarm;
  }
};

QString DeviceOf(int port) {
  char path[4096];
  return PortDevice(port, path, sizeof path) > 0 ? QString::fromLocal8Bit(path) : QString();
}

QString PortName(int port) {
  return QStringLiteral("COM%1 (%2)").arg(port).arg(DeviceOf(port));
}

int Fail(int status, const QString& reason) {
  std::fprintf(stderr, "Quillon --report: %s\n", qPrintable(reason));
  return status;
}

// Why the port given does not open, in words; empty when it does.
QString OpenProblem(int port) {
  if (OpenPort(port) == 0) return {};
  switch (const int error = LastOpenError()) {
    case ENOENT: return QStringLiteral("cannot open: no such device");
    case EACCES:
    case EPERM:
      return QStringLiteral("cannot open: no permission (serial ports belong to the group dialout)");
    case EBUSY: return QStringLiteral("cannot open: in use by another program");
    case ENOTTY: return QStringLiteral("cannot open: not a serial device");
    default: return QStringLiteral("cannot open: %1").arg(QString::fromLocal8Bit(std::strerror(error)));
  }
}

struct Connected {
  std::unique_ptr<ComData> connection;
  QString problem;  // why there is none
};

Connected Connect(int wanted, Collector& window) {
  if (wanted) {
    if (const QString problem = OpenProblem(wanted); !problem.isEmpty())
      return {nullptr, PortName(wanted) + ": " + problem};
  }
  for (int port = wanted ? wanted : kFirstPort; port <= (wanted ? wanted : kLastPort); ++port) {
    auto connection = std::make_unique<ComData>(port, window);
    QString message;
    int32_t type = 0;
    if (connection->Identify(message, type)) return {std::move(connection), {}};
  }
  return {nullptr, wanted ? PortName(wanted) + ": no Veritrak II electronics answer there"
                          : QStringLiteral("no Veritrak II electronics answer on COM1 to COM16")};
}

// Runs a started thread for `seconds`, serving its calls, then stops it.
bool RunFor(ComData& connection, const Collector& window, double seconds) {
  const QDeadlineTimer deadline(static_cast<qint64>(seconds * 1000));
  while (!deadline.hasExpired() && !window.failed && !interrupted)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  connection.RequestStop();
  const QDeadlineTimer stopped(10000);
  while ((connection.ThreadRunning || connection.ThreadAlive()) && !stopped.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return !window.failed;
}

std::vector<ReportField> StatusFields(const Collector& w, const measure::AlignmentFit& fit) {
  const auto flag = [](bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); };
  const char* index = (w.status & bit::kCentring)  ? "centring"
                      : (w.status & bit::kAtIndex) ? "at-index"
                      : (w.status & bit::kCentred) ? "centred"
                                                   : "not-at-index";
  std::vector<ReportField> fields = {
      {"position", "Position", QString::number(w.position), "counts"},
      {"index", "Index", QString::fromLatin1(index), {}},
      {"red_alarm", "Red alarm", flag(w.status & bit::kRedAlarm), {}},
      {"yellow_alarm", "Yellow alarm", flag(w.status & bit::kYellowAlarm), {}},
      {"over_signal", "Over signal",
       flag(measure::BandOfBarLevel(measure::BarLevel(w.level)) == measure::LevelBand::OverSignal),
       {}}};
  // Without figures the level is still worth knowing: the status reading's.
  if (std::holds_alternative<measure::FitRefusal>(fit)) {
    const double percent = w.level * 4 * measure::kPercentPerCount;
    fields.push_back({"signal_level", "Signal level", QString::number(percent, 'f', 1), "%"});
    fields.push_back({"signal_level_band", "Signal level band",
                      QString::fromLatin1(measure::BandName(measure::BandOfPercent(percent))), {}});
  }
  return fields;
}

int ExitOf(const SetupReport& report) {
  const QString verdict = OverallVerdict(report);
  if (verdict == QLatin1String("FAIL")) return kReportOutOfTolerance;
  return verdict == QLatin1String("NO FIGURES") ? kReportNoFigures : kReportWithinTolerance;
}

}  // namespace

int RunReportCommand(const ReportRequest& request) {
  std::signal(SIGINT, Interrupt);
  std::signal(SIGTERM, Interrupt);
  SetupReport report;
  report.baseline = request.baseline;
  Collector window;
  const Connected found = Connect(request.port, window);
  if (!found.connection) return Fail(kReportNoFigures, found.problem);
  ComData& connection = *found.connection;
  const QString port = PortName(connection.Port());
  report.software = QStringLiteral("Quillon ") + QCoreApplication::applicationVersion();
  report.tolerances = ReadExtraOptions(SettingsDir(ReadInstallDir())).tolerances;
  report.taken = QDateTime::currentDateTime();
  report.connected = true;
  report.port = QStringLiteral("COM%1").arg(connection.Port());
  report.device = DeviceOf(connection.Port());
  report.fields = request.fields;
  DeviceInfo info;
  if (!connection.ReadInfo(info) || !connection.ReadSetup())
    return Fail(kReportNoFigures, port + ": the electronics stopped answering");
  report.identification = IdentificationFields(info);
  report.setup = SetupFields(connection.InterpCode(), connection.StatusSetup());
  std::fprintf(stderr, "Quillon --report: measuring %s for %g s\n", qPrintable(port),
               request.seconds);
  connection.SetPlotSizes(150, 5000, 10);
  connection.StartStatus(ActionLive);
  bool answered = RunFor(connection, window, kStatusSeconds);
  QElapsedTimer measuring;
  measuring.start();
  connection.StartSignal(ActionLive);
  answered = answered && RunFor(connection, window, request.seconds);
  report.measuredSeconds = measuring.elapsed() / 1000.0;
  if (answered) {
    connection.StartStrength(ActionLive);
    answered = RunFor(connection, window, kStrengthSeconds);
  }
  if (interrupted) return Fail(kReportInterrupted, QStringLiteral("interrupted: no report written"));
  if (!answered) return Fail(kReportNoFigures, port + ": communication with the electronics failed");
  report.alignment = measure::FitAlignment(window.points);
  report.status = StatusFields(window, report.alignment);
  report.alarmsSeen = window.alarmsSeen;
  const ReportPictures pictures{LissajousPicture(window.points, report.alignment),
                                StrengthPicture(window.sweep)};
  if (!WriteSetupReport(report, pictures, request.pdf))
    return Fail(kReportNotWritten, QStringLiteral("cannot write %1").arg(request.pdf));
  if (const auto* refusal = std::get_if<measure::FitRefusal>(&report.alignment))
    return Fail(kReportNoFigures,
                port + ": " + QString::fromUtf8(measure::RefusalText(*refusal)) +
                    " (the report says so)");
  return ExitOf(report);
}

}  // namespace quillon

// The set-up report from the command line, as a production script runs it
// over SSH or from cron: no display and no platform named. Its exit status
// and one stderr line for each way it ends; against electronics with a
// misaligned head, its text twin reads the errors back.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <fstream>
#include <memory>

#include "temp_config_home.h"
#include "veritrak/emulator.h"

namespace {

constexpr int kCom = 9;

struct Outcome {
  int status;
  QString error;
  QByteArray twin;  // empty when none was written
};

class ReportCommand : public ::testing::Test {
 protected:
  ReportCommand() {
    for (int com = 1; com <= 16; ++com) home_.LinkPort(com, home_.Root() / "absent");
  }

  void StartEmulator(void (*adjust)(veritrak::HeadSettings&) = nullptr) {
    veritrak::Options options;  // the head moves, its level sweeping along the travel
    if (adjust) adjust(options.head);
    emulator_ = std::make_unique<veritrak::Emulator>(options);
    home_.LinkPort(kCom, emulator_->DevicePath());
  }

  // Runs the program in the files folder (its installation directory);
  // `during` may act on it while it runs.
  Outcome Report(const QStringList& arguments,
                 const std::function<void(QProcess&)>& during = {}) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
      environment.remove(QString::fromLatin1(display));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(files_.path());
    QFile::remove(files_.filePath("r.txt"));
    program.start(QStringLiteral(QUILLON_PROGRAM), arguments);
    if (during) during(program);
    EXPECT_TRUE(program.waitForFinished(60000));
    QFile twin(files_.filePath("r.txt"));
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromLocal8Bit(program.readAllStandardError()),
            twin.open(QIODevice::ReadOnly) ? twin.readAll() : QByteArray()};
  }

  QStringList Measure(const QStringList& more = {}) const {
    return QStringList{"--report", files_.filePath("r.pdf"), "--port", "COM9", "--seconds", "2"} +
           more;
  }

  testsupport::TempConfigHome home_;
  QTemporaryDir files_;
  std::unique_ptr<veritrak::Emulator> emulator_;
};

double Figure(const QByteArray& text, const QByteArray& name) {
  for (const QByteArray& line : text.split('\n'))
    if (line.startsWith(name + " = ")) return line.split(' ').value(2).toDouble();
  ADD_FAILURE() << "no " << name.toStdString();
  return 0;
}

TEST_F(ReportCommand, UsageErrorsAndMissingElectronicsEachEndWithTheirOwnStatusAndReason) {
  home_.LinkPort(3, "/dev/null");  // a device that is no serial line
  const std::tuple<QStringList, int, const char*> cases[] = {
      {{"--report", "r.pdf"}, 1, "no Veritrak II electronics answer on COM1 to COM16"},
      {{"--report", "r.pdf", "--port", "COM3"}, 1, "/COM3): cannot open: not a serial device"},
      {{"--report", "r.pdf", "--port", "COM17"}, 2, "--port takes COM1 to COM16, not \"COM17\""},
      {{"--report", "r.pdf", "--seconds", "0"}, 2, "--seconds must be more than 0 and at most 3600"},
      {{"--report", "r.pdf", "--field", "serial"}, 2, "--field takes NAME=VALUE"},
      {{"--report", "r.pdf", "--field", "a=b\nverdict = PASS"}, 2, "must be one line"},
      {{"--report", "r.pdf", "--baseline", "missing.txt"}, 2, "cannot read figures from the baseline"},
      {{"--port", "COM5"}, 2, "--port needs --report"},
      {{"--frobnicate"}, 2, "Unknown option 'frobnicate'"},
      {{"--version"}, 0, ""},
  };
  for (const auto& [arguments, status, reason] : cases) {
    const Outcome run = Report(arguments);
    EXPECT_EQ(run.status, status) << arguments.join(' ').toStdString();
    EXPECT_TRUE(run.error.contains(QString::fromUtf8(reason))) << run.error.toStdString();
    EXPECT_EQ(run.error.contains("Usage: Quillon"), status == 2) << run.error.toStdString();
    EXPECT_TRUE(run.twin.isEmpty());
  }
}

// The verdict follows the tolerances of the options file in the
// installation directory; a baseline adds each figure's change.
TEST_F(ReportCommand, ReadsAMisalignedHeadBackWithItsVerdictAndStatus) {
  // The level still sweeps, but stays below over-signal, which would fail it.
  StartEmulator([](veritrak::HeadSettings& head) {
    head.amplitudeHigh = 1000;
    head.sineOffset = -0.01, head.gainRatio = 0.97, head.phaseError = -3;
  });
  const Outcome marginal = Report(Measure({"--field", "serial=A 12", "--field", "axis=X"}));
  ASSERT_EQ(marginal.status, 0) << marginal.error.toStdString();
  EXPECT_TRUE(marginal.twin.startsWith("verdict = MARGINAL\nsoftware = Quillon "));
  EXPECT_NEAR(Figure(marginal.twin, "sine_offset"), -10, 1);  // mV
  EXPECT_NEAR(Figure(marginal.twin, "amplitude_ratio"), 97, 0.2);
  EXPECT_NEAR(Figure(marginal.twin, "phase_error"), -3, 0.1);
  for (const char* line : {"port = COM9\n", "field_serial = A 12\n", "field_axis = X\n",
                           "firmware = 0x0512\n", "measured_seconds = "})
    EXPECT_TRUE(marginal.twin.contains(line)) << line;
  QFile pdf(files_.filePath("r.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5) == "%PDF-");
  QFile::copy(files_.filePath("r.txt"), files_.filePath("first.txt"));

  std::ofstream(files_.filePath("Quillon-options.ini").toStdString())
      << "[tolerances]\nphase_marginal=2.5\n";
  const Outcome poor = Report(Measure({"--baseline", files_.filePath("first.txt")}));
  EXPECT_EQ(poor.status, 4) << poor.error.toStdString();
  EXPECT_TRUE(poor.twin.startsWith("verdict = FAIL\n"));
  EXPECT_TRUE(poor.twin.contains("phase_error_verdict = poor\n"));
  EXPECT_NEAR(Figure(poor.twin, "phase_error_change"), 0, 0.1);
}

// A head at rest gives a report that says why it has no figures, and status
// 1; Ctrl-C while measuring writes nothing.
TEST_F(ReportCommand, AHeadAtRestOrCtrlCGiveNoFigures) {
  StartEmulator([](veritrak::HeadSettings& head) { head.speed = 0; });
  const Outcome rest = Report(Measure());
  EXPECT_EQ(rest.status, 1);
  EXPECT_TRUE(rest.error.contains("COM9 (") &&
              rest.error.contains("move the read-head along the scale"))
      << rest.error.toStdString();
  EXPECT_TRUE(rest.twin.startsWith("verdict = NO FIGURES\n"));
  EXPECT_TRUE(rest.twin.contains("alignment = The read-head has not travelled far enough"));
  EXPECT_TRUE(rest.twin.contains("signal_level_band = "));

  const Outcome stopped = Report(Measure(), [](QProcess& program) {
    ASSERT_TRUE(program.waitForStarted());
    program.setReadChannel(QProcess::StandardError);
    QByteArray said;
    while (!said.contains("measuring") && program.state() == QProcess::Running)
      if (program.waitForReadyRead(20000)) said += program.readAllStandardError();
    ASSERT_TRUE(said.contains("measuring")) << said.toStdString();
    ASSERT_GT(program.processId(), 0);
    ::kill(static_cast<pid_t>(program.processId()), SIGINT);
  });
  EXPECT_EQ(stopped.status, 130);
  EXPECT_TRUE(stopped.error.contains("interrupted: no report written"));
  EXPECT_TRUE(stopped.twin.isEmpty());
}

// The report's text twin and probelink-cli's JSON name the same quantity
// alike and give it in the same form, on the same electronics.
TEST_F(ReportCommand, TheTwinAndTheCommandLineToolShareOneVocabulary) {
  StartEmulator([](veritrak::HeadSettings& head) { head.speed = 0; });
  QJsonObject cli;
  for (const char* command : {"identify", "status"}) {
    QProcess tool;
    tool.start(QStringLiteral(PROBELINK_CLI_PATH), {"--json", command, "COM9"});
    ASSERT_TRUE(tool.waitForFinished(30000));
    const QJsonObject answer = QJsonDocument::fromJson(tool.readAllStandardOutput()).object();
    for (auto it = answer.begin(); it != answer.end(); ++it) cli.insert(it.key(), it.value());
  }
  QMap<QString, QString> twin;  // name, value without its unit
  for (const QString& line : QString::fromUtf8(Report(Measure()).twin).split('\n'))
    if (line.contains(" = ")) twin.insert(line.section(" = ", 0, 0), line.section(" = ", 1));
  for (const char* name : {"port", "model", "model_code", "firmware", "power_on_hours",
                           "power_on_cycles", "interpolation", "output_frequency", "index",
                           "red_alarm", "yellow_alarm", "signal_level", "signal_level_band"}) {
    const QString key = QString::fromLatin1(name);
    ASSERT_TRUE(cli.contains(key) && twin.contains(key)) << name;
    const QJsonValue value = cli.value(key);
    if (value.isDouble())
      EXPECT_NEAR(twin.value(key).section(' ', 0, 0).toDouble(), value.toDouble(), key == "signal_level" ? 1 : 0) << name;
    else if (value.isBool())
      EXPECT_EQ(twin.value(key), value.toBool() ? "true" : "false") << name;
    else
      EXPECT_EQ(twin.value(key), value.toString()) << name;
  }
}

}  // namespace

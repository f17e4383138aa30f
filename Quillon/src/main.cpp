// The program entry: the main window, the splash that runs the search for
// the electronics, then the dialogs and the event loop.
//
// QUILLON_SCREENSHOT=file.png saves a picture of the main window a few
// seconds after start-up and ends the program; the demo script uses it on
// machines without a display.
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>

#include "application_setup.h"
#include "main_form.h"
#include "questions.h"
#include "report_command.h"
#include "startup.h"

namespace {

constexpr int kScreenshotDelayMs = 5000;

// An exception that reaches the event loop is shown and the loop goes on.
class Application : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
      QMessageBox::critical(nullptr, QString::fromLatin1(quillon::kApplicationTitle),
                            QString::fromLocal8Bit(error.what()));
    }
    return false;
  }
};

void ScheduleScreenshot(quillon::TMainForm& form, const QString& path) {
  QTimer::singleShot(kScreenshotDelayMs, &form, [&form, path] {
    const bool saved = form.grab().save(path);
    std::printf("%s %s\n", saved ? "Screenshot saved:" : "Could not save the screenshot",
                qPrintable(path));
    std::fflush(stdout);
    // Past the close confirmation: the settings are written as at a real exit.
    form.ShutDown();
  });
}

}  // namespace

struct CommandLine {
  bool allControls = false;
  std::optional<quillon::ReportRequest> report;
};

// The report's options; a wrong value ends the program as a usage error.
std::optional<quillon::ReportRequest> ReportRequestOf(const QCommandLineParser& parser,
                                                      const QCommandLineOption& report,
                                                      const QCommandLineOption& port,
                                                      const QCommandLineOption& seconds) {
  if (!parser.isSet(report)) return std::nullopt;
  quillon::ReportRequest request{parser.value(report)};
  bool ok = true;
  if (parser.isSet(port)) {
    const QString com = parser.value(port);
    request.port = com.startsWith(QStringLiteral("COM")) ? com.mid(3).toInt(&ok) : 0;
    ok = ok && request.port >= 1 && request.port <= 16;
  }
  if (ok && parser.isSet(seconds)) {
    request.seconds = parser.value(seconds).toDouble(&ok);
    ok = ok && request.seconds > 0 && request.seconds <= 3600;
  }
  if (!ok) {
    std::fprintf(stderr, "Quillon: --port takes COM1 to COM16, --seconds 0 to 3600\n");
    std::exit(2);
  }
  return request;
}

// --help and --version answer and end the program; Qt's own options (such as
// -platform) stay with Qt.
CommandLine ParseCommandLine(const QApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Set-up and alignment of Veritrak II encoder electronics on a serial port (COM1 to "
      "COM16; see the README for how COM ports map to devices)."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption allControls(
      QStringLiteral("all-controls"),
      QStringLiteral("Show the controls this window hides: data processing, File > Load and "
                     "Save, the units, the alarm history, clearing the buffers, a new search "
                     "and the device commands."));
  const QCommandLineOption report(
      QStringLiteral("report"),
      QStringLiteral("Write the set-up report without the window, then end: find the "
                     "electronics, read their status and alignment, write FILE and its text "
                     "twin (FILE with .txt)."),
      QStringLiteral("FILE"));
  const QCommandLineOption port(QStringLiteral("port"),
                                QStringLiteral("With --report: the port, COM1 to COM16, "
                                               "instead of searching them all."),
                                QStringLiteral("COMn"));
  const QCommandLineOption seconds(
      QStringLiteral("seconds"),
      QStringLiteral("With --report: how long to read the signals (default 5)."),
      QStringLiteral("S"));
  parser.addOptions({allControls, report, port, seconds});
  parser.process(app);
  return {parser.isSet(allControls), ReportRequestOf(parser, report, port, seconds)};
}

int main(int argc, char** argv) {
  Application app(argc, argv);
  quillon::SetUpApplication();
  QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
  const CommandLine command = ParseCommandLine(app);
  if (command.report) return quillon::RunReportCommand(*command.report);
  quillon::MessageBoxQuestions questions;
  quillon::TMainForm form(questions);
  if (command.allControls) form.ShowAllControls();
  questions.SetParent(&form);
  quillon::TStartup startup(form);
  form.CreateDialogs();
  const QString screenshot = qEnvironmentVariable("QUILLON_SCREENSHOT");
  if (!screenshot.isEmpty()) ScheduleScreenshot(form, screenshot);
  return QApplication::exec();
}
